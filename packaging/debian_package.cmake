# The Debian package (scripts/package.sh): CPack's DEB generator over the
# install rules, with what Debian asks of a package besides the program —
# the copyright and changelog under /usr/share/doc/tambor, a compressed
# man page, the AppStream metadata, computed library dependencies.

set(TAMBOR_RELEASE_DATE "2026-12-08")
set(TAMBOR_RELEASE_DATE_RFC "Tue, 08 Dec 2026 00:00:00 +0000")
set(TAMBOR_HISTORY_UNTIL "September 2026")
set(TAMBOR_APPSTREAM_ID "jp.example.tambor")

configure_file(${CMAKE_CURRENT_LIST_DIR}/tambor.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/${TAMBOR_APPSTREAM_ID}.metainfo.xml @ONLY)
if(TAMBOR_BUILD_UI)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/${TAMBOR_APPSTREAM_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
# The package's name, lower case (CMAKE_INSTALL_DOCDIR would take the
# project's "Tambor").
set(TAMBOR_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tambor)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright DESTINATION ${TAMBOR_DOC_DIR})

if(TAMBOR_DEBIAN_PACKAGE)
  find_program(GZIP gzip REQUIRED)
  # A version without a Debian revision makes a native package, whose
  # changelog is changelog.gz.
  configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
    COMMAND ${GZIP} -9nf -k ${CMAKE_BINARY_DIR}/packaging/changelog
    DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog)
  add_custom_target(tambor-debian-changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${TAMBOR_DOC_DIR})
  # The programs are desktop tools in /usr/bin though the package is filed
  # under games (where players look for it); lintian is told so.
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/lintian-overrides RENAME tambor
          DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides)

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME tambor)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n")
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tambor.example.jp/")
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tambor developers <support@tambor.example.jp>")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  # The first line is the synopsis; the rest, in English then Japanese, is
  # what package managers show as the long description.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[number picker for the Japanese lotteries Mini Loto and Loto 6
Tambor draws combinations weighted by the statistics of past draws,
builds every combination of marked numbers (or fewer, with the reducing
R system), keeps one list without duplicates, checks it against any past
draw, shows pair rates, computes cost and odds, and prints the list onto
the paper mark cards. The history of every draw comes with the program.
.
タンボルは、ミニロト・ロト６の数字選びを手伝うプログラムです。過去の当選番号の
統計から重みをつけた抽選、選んだ数字の全組み合わせ（Rシステム）、重複のない
一覧、過去の任意の回との照合、連対率、購入金額と確率の計算、申込カードへの
印刷ができます。]=])
  include(CPack)
endif()
