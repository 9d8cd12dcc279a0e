#include "history/draw_date.h"

#include <cstdio>
#include <ctime>

#include "core/whole_number.h"

namespace tambor {
namespace {

using namespace std::chrono;

constexpr DrawDate kHeiseiStart{year{1989}, month{1}, day{8}};
constexpr DrawDate kReiwaStart{year{2019}, month{5}, day{1}};

std::optional<DrawDate> makeDate(int y, int m, int d) {
    if (m < 1 || m > 12 || d < 1 || d > 31) return std::nullopt;
    const DrawDate date{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
    if (!date.ok()) return std::nullopt;
    return date;
}

// A number of ASCII digits, blanks before it allowed.
std::optional<int> digitsField(std::string_view text, int maxValue) {
    WholeNumberSyntax syntax;
    syntax.sign = false;
    const auto value = parseWholeNumberIn(text, 0, maxValue, syntax);
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool isNewYearBreak(DrawDate date) {
    const unsigned m = static_cast<unsigned>(date.month());
    const unsigned d = static_cast<unsigned>(date.day());
    return (m == 12 && d == 31) || (m == 1 && d <= 3);
}

}  // namespace

std::optional<DrawDate> parseIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
    const auto y = digitsField(text.substr(0, 4), 9999);
    const auto m = digitsField(text.substr(5, 2), 99);
    const auto d = digitsField(text.substr(8, 2), 99);
    return makeDate(*y, *m, *d);
}

std::string isoDateText(DrawDate date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

std::optional<DrawDate> parseHistoryEraDate(std::string_view text) {
    text = trimBlanks(text);
    if (text.empty() || (text.front() != 'H' && text.front() != 'R')) return std::nullopt;
    const int base = text.front() == 'H' ? 1988 : 2018;
    text.remove_prefix(1);
    const std::size_t dot1 = text.find('.');
    if (dot1 == std::string_view::npos) return std::nullopt;
    const std::size_t dot2 = text.find('.', dot1 + 1);
    if (dot2 == std::string_view::npos) return std::nullopt;
    const auto y = digitsField(text.substr(0, dot1), 99);
    const auto m = digitsField(text.substr(dot1 + 1, dot2 - dot1 - 1), 99);
    const auto d = digitsField(text.substr(dot2 + 1), 99);
    if (!y || !m || !d || *y < 1) return std::nullopt;
    return makeDate(base + *y, *m, *d);
}

std::optional<std::string> historyEraDateText(DrawDate date) {
    if (date < kHeiseiStart) return std::nullopt;
    const bool reiwa = date >= kReiwaStart;
    const int eraYear = static_cast<int>(date.year()) - (reiwa ? 2018 : 1988);
    if (eraYear > 99) return std::nullopt;
    char text[16];
    std::snprintf(text, sizeof text, "%c%02d.%2u.%2u", reiwa ? 'R' : 'H', eraYear,
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

std::optional<DrawDate> parseJapaneseEraDate(std::string_view text) {
    text = trimBlanks(text);
    int base = 0;
    if (text.starts_with("令和")) {
        base = 2018;
    } else if (text.starts_with("平成")) {
        base = 1988;
    } else {
        return std::nullopt;
    }
    text.remove_prefix(std::string_view("令和").size());
    const auto cut = [&](std::string_view mark) -> std::optional<std::string_view> {
        const std::size_t at = text.find(mark);
        if (at == std::string_view::npos) return std::nullopt;
        const std::string_view piece = trimBlanks(text.substr(0, at));
        text.remove_prefix(at + mark.size());
        return piece;
    };
    const auto yearText = cut("年");
    const auto monthText = cut("月");
    const auto dayText = cut("日");
    if (!yearText || !monthText || !dayText || !trimBlanks(text).empty()) return std::nullopt;
    const std::optional<int> eraYear = *yearText == "元" ? std::optional<int>(1) : digitsField(*yearText, 99);
    const auto m = digitsField(*monthText, 99);
    const auto d = digitsField(*dayText, 99);
    if (!eraYear || !m || !d || *eraYear < 1) return std::nullopt;
    return makeDate(base + *eraYear, *m, *d);
}

std::string japaneseDateText(DrawDate date) {
    static const char* const kWeekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
    const weekday wd{sys_days{date}};
    return std::to_string(static_cast<int>(date.year())) + "年" + std::to_string(static_cast<unsigned>(date.month())) +
           "月" + std::to_string(static_cast<unsigned>(date.day())) + "日(" + kWeekdays[wd.c_encoding()] + ")";
}

DrawDate nextDrawDate(GameMode mode, DrawDate after) {
    const unsigned weekdays = drawWeekdays(mode);
    sys_days day = sys_days{after};
    // A game without draw weekdays in the table: the next day.
    if ((weekdays & 0x7Fu) == 0) return DrawDate{day + days{1}};
    for (;;) {
        day += days{1};
        const DrawDate date{day};
        if ((weekdays >> weekday{day}.c_encoding() & 1u) != 0 && !isNewYearBreak(date)) return date;
    }
}

DrawDate todayLocal() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return DrawDate{year{local.tm_year + 1900}, month{static_cast<unsigned>(local.tm_mon + 1)},
                    day{static_cast<unsigned>(local.tm_mday)}};
}

}  // namespace tambor
