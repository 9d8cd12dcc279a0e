#pragma once
// Who the program is: its version text and where its users find its page
// and its author. The one place these live; the about box, the link tab
// and the version check read them from here.

namespace tambor {

inline constexpr const char* kVersionText = "Ver 1.2.0";

// The support homepage shown on the link tab and in the "リンク(&L)" menu.
inline constexpr const char* kHomePageUrl = "https://tambor.example.jp/";
inline constexpr const char* kHomePageTitle = "タンボル サポートページ";

// The author's contact address shown in the about box.
inline constexpr const char* kContactMail = "support@tambor.example.jp";

}  // namespace tambor
