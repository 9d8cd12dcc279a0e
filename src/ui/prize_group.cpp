// The prize check on the pick tab: choosing a past draw (or hand-marked
// numbers) and checking the list against it; the history button.

#include <QCheckBox>
#include <QDesktopServices>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QUrl>

#include "history/prize_check.h"
#include "ui/combination_list_model.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/up_down.h"
#include "ui/wait_form.h"
#include "ui/widget_helpers.h"

namespace tambor::ui {

void TMainForm::loadHistoryForGame() {
    const std::string failure = session_.loadHistory();
    if (!failure.empty()) MessageBox::error(this, QString::fromStdString(failure));
    const int drawCount = session_.history().drawCount();
    updatingPrizeMemo_ = true;
    prizeUpDown_->setRange(1, std::max(drawCount, 1));
    prizeUpDown_->setPosition(drawCount);
    updatingPrizeMemo_ = false;
    // Writes the round, clears the result fields and marks the draw.
    PrizeMemoChange();
}

void TMainForm::selectMainRoleForPrize() {
    const int role = session_.board().currentRole();
    if (role != Main && role != Bonus) SelectRole(Main);
}

void TMainForm::PrizeCheckBoxClick() {
    selectMainRoleForPrize();
    if (!prizeCheckBox_->isChecked()) return;
    ResetPrizeDisplay();
    const int round = RoundFromText(prizeMemo_->text().toStdString(), session_.history().drawCount());
    updatingPrizeMemo_ = true;
    prizeUpDown_->setPosition(round);
    updatingPrizeMemo_ = false;
    PrizeMemoChange();
}

void TMainForm::PrizeMemoChange() {
    if (updatingPrizeMemo_) return;
    ResetPrizeDisplay();
    selectMainRoleForPrize();
    const std::optional<int> round = SelectedRound(prizeMemo_->text().toStdString(), session_.history().drawCount());
    if (!round) {
        prizeCheckBox_->setChecked(false);
        return;
    }
    prizeCheckBox_->setChecked(true);
    updatingPrizeMemo_ = true;
    prizeUpDown_->setPosition(*round);  // also writes the clamped round back
    updatingPrizeMemo_ = false;
    session_.showDrawOnBoard(*round);
    repaintBoard();
    RefreshRoleCounts();
}

void TMainForm::PrizeBitBtnClick() {
    const std::optional<WinningNumbers> winning = winningNumbersFromBoard(session_.board());
    if (!winning) return;
    searchModel_->setLines({});
    if (waitWindowBusy()) return;
    selectMainRoleForPrize();
    PrizeCheckResult result;
    {
        LongOperation op(*waitForm_, true);
        result = RunPrizeCheck(session_.mode(), *winning, session_.list().listedSet(), op.progress());
    }
    const int grades = prizeGradeCount(session_.mode());
    for (int g = 0; g < grades; ++g)
        gradeMemo_[static_cast<std::size_t>(g)]->setText(QString::number(result.hits[static_cast<std::size_t>(g)]));
    moneyMemo_->setText(QString::fromStdString(result.moneyText));
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(result.lines.size()));
    for (const std::string& line : result.lines) lines << QString::fromStdString(line);
    searchModel_->setLines(std::move(lines));
    if (searchModel_->rowCount() > 0)
        searchListBox_->scrollTo(searchModel_->index(searchModel_->rowCount() - 1), QAbstractItemView::PositionAtTop);
}

void TMainForm::RecordBitBtnClick() {
    ShellOpen(QString::fromStdString(session_.history().historyPath().string()));
}

void TMainForm::ShellOpen(const QString& target) {
    const QUrl url = target.contains(QLatin1String("://")) || target.startsWith(QLatin1String("mailto:"))
                         ? QUrl(target)
                         : QUrl::fromLocalFile(target);
    if (shellOpenHook_) {
        shellOpenHook_(url);
        return;
    }
    QDesktopServices::openUrl(url);
}

}  // namespace tambor::ui
