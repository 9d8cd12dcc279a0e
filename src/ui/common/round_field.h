#pragma once
// The width of the fields that show a round number.

class QLineEdit;

namespace tambor::ui {

// The width a one-line field needs to show every round up to lastRound
// whole (at least four digits), with its frame and margins: a history of
// 100,000 draws shows "100000", not the "00000" a narrower field scrolls to.
int roundFieldWidth(const QLineEdit* field, int lastRound);

}  // namespace tambor::ui
