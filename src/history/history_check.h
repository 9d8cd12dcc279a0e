#pragma once
// The check a downloaded history file must pass before it may replace
// lotodata.txt: cp932 text with both games' sections, every draw line in the
// file's layout, in draw order, with valid numbers. A pure function of the
// bytes, so it can be tested and fuzzed on its own.

#include <string>
#include <string_view>

namespace tambor {

struct HistoryFileVerdict {
    bool ok = false;
    // Why the bytes are not a history file (Japanese, one phrase); empty when ok.
    std::string message;
    int miniLotoDraws = 0;  // draw lines of each section, when ok
    int loto6Draws = 0;
};

// Checks raw bytes (cp932, any line ends). Never throws.
HistoryFileVerdict checkHistoryFile(std::string_view bytes) noexcept;

// The same bytes with every line end (LF, CR LF or a lone CR) written as
// CR LF; a last line without a line end stays without one.
std::string withCrLfLineEnds(std::string_view bytes);

}  // namespace tambor
