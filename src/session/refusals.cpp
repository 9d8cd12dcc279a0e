#include "session/refusals.h"

#include <filesystem>

#include "core/japanese_count.h"

namespace tambor::refusal {

std::string alreadyListed(std::size_t count) {
    return "同じ組み合わせはすでに一覧にあります（" + FormatJapaneseCount(static_cast<std::int64_t>(count)) + " 口）";
}

std::string nothingToLoad(const std::string& path) {
    return "読み込める組み合わせがありませんでした（" + std::filesystem::path(path).filename().string() + "）";
}

std::string filterShort(std::int64_t found, std::int64_t tried) {
    return "条件を満たす組み合わせは " + FormatJapaneseCount(found) + " 口しか見つかりませんでした（" +
           FormatJapaneseCount(tried) + " 口を抽選）";
}

std::string tooFewToBuild(int pickCount) {
    return "軸数字と連動数字を合わせて" + std::to_string(pickCount) + "個以上選んでください";
}

std::string winningNumbersIncomplete(int pickCount) {
    return "当選番号（本数字" + std::to_string(pickCount) + "個とボーナス数字1個）がそろっていません";
}

}  // namespace tambor::refusal
