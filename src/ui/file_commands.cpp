// Saving and loading the combination list, and the question that guards
// unsaved work before it would be discarded.

#include <QAction>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "io/combination_file.h"
#include "io/text_file.h"
#include "ui/combination_list_model.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/up_down.h"
#include "ui/wait_form.h"
#include "ui/widget_helpers.h"

namespace tambor::ui {
namespace {

const char* const kChangedQuestion = "データが変更されています。保存しますか？";

// "caption|pattern|caption|pattern" → "caption;;caption" for the Qt dialogs.
QString qtFilter(const char* pairs) {
    const QStringList parts = QString::fromUtf8(pairs).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) filters << parts.at(i);
    return filters.join(QStringLiteral(";;"));
}

}  // namespace

bool TMainForm::SaveClick() {
    if (waitWindowBusy()) return false;
    pageControl_->setCurrentIndex(0);
    if (session_.list().empty()) {
        MessageBox::warning(this, QString::fromUtf8(kNothingToSaveMessage));
        return false;
    }
    const FileDialogFilter filter = fileDialogFilter(saveFormat_);
    const QString fileName = FileDialog::getSaveFileName(this, u8("保存"), qtFilter(filter.filter),
                                                         QString::fromLatin1(filter.defaultExtension));
    if (fileName.isEmpty()) return false;
    const int pages = pageCountFromText(splitMemo_->text().toStdString());
    splitUpDown_->setPosition(pages);
    splitMemo_->setText(QString::number(pages));
    try {
        LongOperation op(*waitForm_, true);
        saveCombinationFile(fileName.toStdString(), session_.list(), pages, op.progress());
    } catch (const std::exception& e) {
        MessageBox::error(this, QString::fromStdString(e.what()));
        return false;
    }
    return true;
}

bool TMainForm::confirmDiscard() {
    if (!session_.list().changed() || session_.list().empty()) return true;
    switch (MessageBox::questionYesNoCancel(this, u8(kChangedQuestion))) {
    case QMessageBox::Yes: return SaveClick();  // a cancelled or failed save keeps the list
    case QMessageBox::No: return true;
    default: return false;
    }
}

void TMainForm::LoadClick() {
    if (waitWindowBusy()) return;
    pageControl_->setCurrentIndex(0);
    const FileDialogFilter filter = fileDialogFilter(saveFormat_);
    const QString fileName = FileDialog::getOpenFileName(this, u8("読み込み"), qtFilter(filter.filter));
    if (fileName.isEmpty()) return;
    CombinationFile file;
    try {
        file = readCombinationFile(fileName.toStdString());
    } catch (const std::exception& e) {
        MessageBox::error(this, QString::fromStdString(e.what()));
        return;
    }
    if (const std::optional<GameMode> game = file.gameToSwitchTo(session_.mode())) {
        // The other game's file replaces the list: unsaved work is asked about first.
        if (!confirmDiscard()) return;
        LotoRadioButtonClick(static_cast<int>(*game));
    }
    ResetPrizeDisplay();
    {
        LongOperation op(*waitForm_, true);
        appendCombinationFile(session_.list(), file, op.progress());
    }
    showListChanges();
    pickListBox_->setFocus();
}

}  // namespace tambor::ui
