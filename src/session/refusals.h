#pragma once
// The reasons the status bar shows for a few seconds when a command does
// nothing. Refusals stay free of dialogs, but never silent: whatever the
// program declines to do, it says why in one short line. The board's own
// limits are worded by NumberBoard::refusalReason.

#include <cstddef>
#include <cstdint>
#include <string>

namespace tambor::refusal {

// A command while another one runs (the wait window shows).
inline constexpr const char* kBusy = "処理中です";
// A command that would change the list while the grid editor is open.
inline constexpr const char* kListEditing = "編集画面を閉じるまで一覧は変更できません";
// Cut, copy or delete with no line selected.
inline constexpr const char* kNothingSelected = "行が選択されていません";
// Paste with no text on the clipboard.
inline constexpr const char* kNoClipboardText = "クリップボードに文字がありません";
// A list command the list box does not offer (paste into the duplicate list).
inline constexpr const char* kNotInThisList = "この一覧では使えない操作です";
inline constexpr const char* kNothingPasted = "貼り付けた文字から組み合わせが見つかりませんでした";
inline constexpr const char* kNothingToUndo = "元に戻せる操作がありません";
inline constexpr const char* kNothingToSort = "並べ替える組み合わせがありません";
// 一覧を絞り込む with every condition off, with an empty list, and when
// every listed combination passes.
inline constexpr const char* kNoFilterConditions = "絞り込み条件が選ばれていません";
inline constexpr const char* kNothingToNarrow = "絞り込む組み合わせがありません";
inline constexpr const char* kAllPassFilter = "すべての組み合わせが条件を満たしています";

// Everything a command found was listed already: "同じ組み合わせはすでに一覧
// にあります（3 口）".
std::string alreadyListed(std::size_t count);
// A file without a single combination: "読み込める組み合わせがありませんでした
// （mylist.csv）" (the file's name without its folder).
std::string nothingToLoad(const std::string& path);
// The random draw with filter conditions that found fewer combinations than
// asked for within its tries: "条件を満たす組み合わせは 12 口しか見つかりません
// でした（5000 口を抽選）".
std::string filterShort(std::int64_t found, std::int64_t tried);
// The builder with fewer marked numbers than a combination holds.
std::string tooFewToBuild(int pickCount);
// The prize check without a whole set of winning numbers on the board.
std::string winningNumbersIncomplete(int pickCount);

}  // namespace tambor::refusal
