// The commands that fill or reorder the list: the random draw, the
// combination builder, the sort, and the options they read.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>

#include "core/japanese_count.h"
#include "generate/list_sort.h"
#include "ui/combination_list_model.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/up_down.h"
#include "ui/wait_form.h"

namespace tambor::ui {

void TMainForm::finishListCommand(QWidget* commandButton) {
    showListChanges();
    pageControl_->setCurrentIndex(0);
    pickListBox_->setFocus();
    commandButton->setFocus();
}

void TMainForm::LotBitBtnClick() {
    if (waitWindowBusy()) return;
    const int role = session_.board().currentRole();
    if (role != Fix && role != Disable) SelectRole(Disable);
    ResetPrizeDisplay();
    const int count = parseDrawCount(lotMemo_->text().toStdString());
    lotMemo_->setText(QString::number(count));
    DrawResult result;
    try {
        LongOperation op(*waitForm_, true);
        result = session_.randomDraw(count, lotModeComboBox_->currentIndex(), op.keepGoing());
    } catch (const std::invalid_argument& e) {
        // The board never allows such a request; say so rather than crash.
        MessageBox::warning(this, QString::fromStdString(e.what()));
        return;
    }
    finishListCommand(lotBitBtn_);
    showWeightingReport(result.report);
}

void TMainForm::showWeightingReport(const std::vector<std::string>& report) {
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(report.size()));
    for (const std::string& line : report) lines << QString::fromStdString(line);
    resultModel_->setLines(std::move(lines));
    resultListBox_->scrollToTop();
}

void TMainForm::CombiBitBtnClick() {
    const NumberBoard& board = session_.board();
    if (board.count(Axis) + board.count(Together) < session_.rules().pickCount) return;
    if (waitWindowBusy()) return;
    if (board.currentRole() != Axis && board.currentRole() != Together) SelectRole(Together);
    ResetPrizeDisplay();
    {
        LongOperation op(*waitForm_, true);
        session_.buildCombinations(arrangeModeFromIndex(arrangeModeComboBox_->currentIndex()), op.keepGoing());
    }
    finishListCommand(combiBitBtn_);
}

void TMainForm::SortBitBtnClick() {
    if (waitWindowBusy() || session_.list().empty()) return;
    {
        LongOperation op(*waitForm_, true);
        SortCombinationList(session_.list(), op.keepGoing());
    }
    finishListCommand(sortBitBtn_);
}

void TMainForm::PastRemoveCheckBoxClick() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    session_.setPastRemove(pastRemoveCheckBox_->isChecked());
    QApplication::restoreOverrideCursor();
}

}  // namespace tambor::ui
