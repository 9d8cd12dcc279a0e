#pragma once
// The program's fonts. The designed faces are mapped to the installed
// Japanese gothic fonts, so every window shows the same metrics on any
// desktop that has IPAGothic.

#include <QFont>

namespace tambor::ui {

// "ＭＳ ゴシック" → IPAGothic, "ＭＳ Ｐゴシック" → IPAPGothic.
void registerFontSubstitutes();

// "ＭＳ Ｐゴシック" at 12 pixels: every window's own font.
QFont windowFont();

// "ＭＳ ゴシック" at a pixel size: the lists and grids whose columns must
// line up.
QFont fixedPitchFont(int pixelSize);

}  // namespace tambor::ui
