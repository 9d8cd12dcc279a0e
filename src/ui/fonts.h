#pragma once

namespace tambor::ui {

// Maps the fonts the program names ("ＭＳ ゴシック", "ＭＳ Ｐゴシック") to
// the IPA fonts installed on this system.
void registerFontSubstitutes();

}  // namespace tambor::ui
