# Writes the man page of tambor-cli from its own --help texts, so the page
# always lists the commands the program has.
#   cmake -DCLI=path/to/tambor-cli -DVERSION=x.y.z -DOUT=tambor-cli.1 -P man_page.cmake

function(run_help out)
  execute_process(COMMAND ${CLI} ${ARGN} --help OUTPUT_VARIABLE text RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${CLI} ${ARGN} --help failed (${rc})")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Text shown as it is (no filling): backslashes doubled, a leading "." or
# "'" protected so roff does not read it as a request.
function(roff_verbatim out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} ".nf\n${text}.fi\n" PARENT_SCOPE)
endfunction()

run_help(main)
# The command names: the lines "  NAME<TAB>summary" of the main help.
string(REGEX MATCHALL "\n  [a-z][a-z0-9-]*\t" lines "${main}")
set(commands "")
foreach(line ${lines})
  string(STRIP "${line}" name)
  list(APPEND commands "${name}")
endforeach()
if(NOT commands)
  message(FATAL_ERROR "no commands found in the help of ${CLI}")
endif()

roff_verbatim(description "${main}")
set(page ".\\\" Made from the --help texts of tambor-cli; do not edit.
.TH TAMBOR-CLI 1 \"\" \"Tambor ${VERSION}\" \"User Commands\"
.SH NAME
tambor-cli \\- ミニロト・ロト６の数字選び・当選確認をコマンドラインで行う
.SH SYNOPSIS
.B tambor-cli
.I COMMAND
.RI [ OPTIONS ]
.SH DESCRIPTION
.nf
画面のプログラム tambor と同じ処理（抽選・組み合わせ・当選確認・
金額計算・ファイル変換など）を、スクリプトから使えます。
出力は UTF-8、ファイルは Shift-JIS (cp932)、改行は CR LF です。
.fi
.PP
${description}.SH COMMANDS
")
foreach(command ${commands})
  run_help(text ${command})
  roff_verbatim(body "${text}")
  string(APPEND page ".SS ${command}\n${body}")
endforeach()
string(APPEND page ".SH FILES
.TP
.I lotodata.txt
.nf
当選番号の履歴。--data で指定したフォルダー、既定ではプログラムの
フォルダー（書き込めないときは ~/.local/share/tambor）にあります。
.fi
.SH EXIT STATUS
.nf
0 成功、1 ファイルを作成・読み込みできないなどの失敗、2 引数の誤り。
.fi
")
file(WRITE "${OUT}" "${page}")
