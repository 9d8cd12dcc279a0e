#pragma once
// Who the program is: its version text and where its users find its page
// and its author. The one place these live; the about box, the link tab and
// the version check read them from here.

#include "core/program_version.h"

namespace tambor {

inline constexpr const char* kVersionText = "Ver " TAMBOR_VERSION;

// The support homepage shown on the link tab and in the "リンク(&L)" menu.
inline constexpr const char* kHomePageUrl = "https://tambor.example.jp/";
inline constexpr const char* kHomePageTitle = "タンボル サポートページ";

// The author's contact address shown in the about box.
inline constexpr const char* kContactMail = "support@tambor.example.jp";

// There is no built-in update server: the project publishes none. The user
// sets one (UpdateUrl in Tambor.ini, the options tab, --url on the command
// line), for example a copy of data/update/ on any web server.

}  // namespace tambor
