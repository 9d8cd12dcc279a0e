#include "generate/filter_text.h"

#include "core/whole_number.h"

namespace tambor {
namespace {

std::string_view trimmed(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

std::string knownNames() {
    std::string names;
    for (int i = 0; i < kFilterConditionCount; ++i)
        names += std::string(i == 0 ? "" : ", ") + filterConditionName(filterConditionAt(i));
    return names;
}

std::optional<int> number(std::string_view text) {
    return parseWholeNumber(trimmed(text), WholeNumberSyntax{.leadingBlanks = false, .sign = false});
}

FilterRange parseRange(GameMode mode, FilterCondition condition, std::string_view item, std::string_view value) {
    const FilterBounds bounds = filterBounds(mode, condition);
    const std::string example = std::string(filterConditionName(condition)) + "=" + std::to_string(bounds.min) + "-" +
                                std::to_string(bounds.max);
    const std::size_t dash = value.find('-');
    const auto min = number(dash == std::string_view::npos ? value : value.substr(0, dash));
    const auto max = dash == std::string_view::npos ? min : number(value.substr(dash + 1));
    if (!min || !max)
        throw FilterTextError("絞り込み条件「" + std::string(item) + "」の範囲が読み取れません（例: " + example + "）");
    if (*min > *max)
        throw FilterTextError("絞り込み条件「" + std::string(item) + "」の下限が上限より大きくなっています");
    // A range wider than the statistic's span is fine ("decade=0-3"); one
    // that no combination can meet is a mistake.
    if (*max < bounds.min || *min > bounds.max)
        throw FilterTextError("絞り込み条件「" + std::string(item) + "」を満たす組み合わせはありません（" +
                              gameName(mode) + " では " + std::to_string(bounds.min) + "〜" +
                              std::to_string(bounds.max) + "）");
    return {true, *min, *max};
}

}  // namespace

FilterSettings parseFilterText(GameMode mode, std::string_view text) {
    FilterSettings settings = defaultFilterSettings(mode);
    if (trimmed(text).empty()) throw FilterTextError("絞り込み条件が空です（例: sum=100-160,odd=2-4）");
    std::string_view rest = text;
    while (true) {
        const std::size_t comma = rest.find(',');
        const std::string_view item = trimmed(rest.substr(0, comma));
        const std::size_t eq = item.find('=');
        const std::string_view name = trimmed(item.substr(0, eq));
        int found = -1;
        for (int i = 0; i < kFilterConditionCount; ++i)
            if (name == filterConditionName(filterConditionAt(i))) found = i;
        if (item.empty()) throw FilterTextError("絞り込み条件に空の項目があります（項目はコンマで区切ります）");
        if (found < 0)
            throw FilterTextError("絞り込み条件「" + std::string(name) + "」はありません（使える名前: " + knownNames() + "）");
        const FilterCondition condition = filterConditionAt(found);
        if (settings[condition].enabled)
            throw FilterTextError("絞り込み条件「" + std::string(name) + "」が二度指定されています");
        if (eq == std::string_view::npos)
            throw FilterTextError("絞り込み条件「" + std::string(item) + "」に範囲がありません（例: " + std::string(name) +
                                  "=1-2）");
        settings[condition] = parseRange(mode, condition, item, item.substr(eq + 1));
        if (comma == std::string_view::npos) break;
        rest = rest.substr(comma + 1);
    }
    return settings;
}

std::string formatFilterText(const FilterSettings& settings) {
    std::string text;
    for (int i = 0; i < kFilterConditionCount; ++i) {
        const FilterRange& r = settings.ranges[static_cast<std::size_t>(i)];
        if (!r.enabled) continue;
        if (!text.empty()) text += ",";
        text += std::string(filterConditionName(filterConditionAt(i))) + "=" + std::to_string(r.min) + "-" +
                std::to_string(r.max);
    }
    return text;
}

}  // namespace tambor
