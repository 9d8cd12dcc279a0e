#pragma once
// Where the pick page's parts stand, left to right: the list, two columns
// of commands, the prize-check group and the number board. The widths are
// those the program's fonts need for every caption and every count the
// fields can show (the largest list, the largest prize money), within the
// main window's fixed size.

namespace tambor::ui::pick_layout {

inline constexpr int kListLeft = 4;
inline constexpr int kListWidth = 176;

inline constexpr int kCommandLeft = 184;  // first command column
inline constexpr int kCommandWidth = 86;  // each of the two command columns
inline constexpr int kCommandSecond = kCommandLeft + kCommandWidth + 4;

inline constexpr int kPrizeLeft = 366;
inline constexpr int kPrizeWidth = 136;

inline constexpr int kBoardLeft = 504;

}  // namespace tambor::ui::pick_layout
