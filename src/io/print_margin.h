#pragma once
// Print margins as text: the margin edits and the settings file share these.

#include <string>
#include <string_view>

namespace tambor {

// The installed printer the margins belong to (no printer: pass nullptr).
struct PrinterInfo {
    std::string name;           // as the printing system lists it
    double pageWidthMm = 0.0;   // limits of the horizontal margin
    double pageHeightMm = 0.0;  // limits of the vertical margin
};

// A margin typed as text, in millimetres. With a ".", the integer part is
// the text before the first "." and the fraction the two characters after it
// (so 2.567 gives 2.56 and "2." gives 2); each part that is not a whole
// number keeps the corresponding part of current. Without a ".", the whole
// text is read as a whole number (current truncated when it is not one).
// A value above maximum becomes maximum, and a negative one (a negative
// integer part, "-0.5" included) becomes 0, so margins never drift below
// the paper's edge over save and load cycles.
double ParseMargin(std::string_view text, double maximum, double current);

// "%3.4g": at most four significant digits, trailing zeros dropped, at least
// three characters wide ("  0", "4.5", "12.25").
std::string formatMargin(double millimetres);

// The settings key of a printer: its name cut before the first ".", then
// without everything up to and including the last "\".
std::string printerKey(std::string_view printerName);

}  // namespace tambor
