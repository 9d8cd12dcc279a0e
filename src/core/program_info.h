#pragma once
// Who the program is: its version text and where its users find its page,
// its author and its update server. The one place these live; the about
// box, the link tab, the version check and the update read them from here.

#include "core/program_version.h"

namespace tambor {

inline constexpr const char* kVersionText = "Ver " TAMBOR_VERSION;

// The support homepage shown on the link tab and in the "リンク(&L)" menu.
inline constexpr const char* kHomePageUrl = "https://tambor.example.jp/";
inline constexpr const char* kHomePageTitle = "タンボル サポートページ";

// The author's contact address shown in the about box.
inline constexpr const char* kContactMail = "support@tambor.example.jp";

// The update server's folder unless the user names another (UpdateUrl in
// Tambor.ini, --url on the command line). The project publishes no server
// of its own: point UpdateUrl at a copy of data/update/ on any web server.
inline constexpr const char* kDefaultUpdateUrl = "https://tambor.example.jp/update/";

}  // namespace tambor
