#include "io/print_margin.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "core/whole_number.h"

namespace tambor {

namespace {

// Whether the whole-number part as typed is negative, "-0" included: "-0.5"
// is half a millimetre below zero, not above it.
bool negativeWholePart(std::string_view whole) {
    const std::size_t first = whole.find_first_not_of(' ');
    return first != std::string_view::npos && whole[first] == '-' && parseWholeNumber(whole).has_value();
}

}  // namespace

double ParseMargin(std::string_view text, double maximum, double current) {
    double value;
    const std::size_t dot = text.find('.');
    if (dot != std::string_view::npos) {
        const std::string padded = std::string(text) + "00";
        if (negativeWholePart(std::string_view(padded).substr(0, dot))) return 0.0;
        const std::optional<int> whole = parseWholeNumber(std::string_view(padded).substr(0, dot));
        const std::optional<int> fraction = parseWholeNumber(std::string_view(padded).substr(dot + 1, 2));
        const double wholePart = whole ? *whole : std::trunc(current);
        const double fractionPart = fraction ? *fraction : std::trunc((current - std::floor(current)) * 100.0);
        value = wholePart + fractionPart * 0.01;
    } else {
        const std::optional<int> whole = parseWholeNumber(text);
        value = whole ? *whole : std::trunc(current);
    }
    // A margin lies on the paper: never below 0, never beyond the page.
    if (value > maximum) value = maximum;
    return value < 0.0 ? 0.0 : value;
}

std::string formatMargin(double millimetres) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%3.4g", millimetres);
    return buf;
}

std::string printerKey(std::string_view printerName) {
    std::string_view key = printerName.substr(0, printerName.find('.'));
    const std::size_t slash = key.rfind('\\');
    if (slash != std::string_view::npos) key.remove_prefix(slash + 1);
    return std::string(key);
}

}  // namespace tambor
