#include "ui/pick/file_commands.h"

#include <QLineEdit>

#include "io/combination_file.h"
#include "io/text_file.h"
#include "ui/common/message_box.h"
#include "ui/common/session_model.h"
#include "ui/common/up_down.h"
#include "ui/common/wait_form.h"
#include "ui/common/widget_helpers.h"

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

FileCommands::FileCommands(SessionModel& model, QWidget* dialogParent)
    : QObject(dialogParent), model_(model), dialogParent_(dialogParent) {}

void FileCommands::setPageCountField(QLineEdit* splitMemo, UpDown* splitUpDown) {
    splitMemo_ = splitMemo;
    splitUpDown_ = splitUpDown;
}

bool FileCommands::SaveClick() {
    if (model_.refuseWhenBusy()) return false;
    emit listPageWanted();
    if (model_.session().list().empty()) {
        MessageBox::warning(dialogParent_, QString::fromUtf8(kNothingToSaveMessage));
        return false;
    }
    const FileDialogFilter filter = fileDialogFilter(model_.session().options().saveFormat);
    const QString fileName = FileDialog::getSaveFileName(dialogParent_, u8("保存"), qtFilter(filter.filter),
                                                         QString::fromLatin1(filter.defaultExtension));
    if (fileName.isEmpty()) return false;
    const int pages = pageCountFromText(splitMemo_ ? splitMemo_->text().toStdString() : std::string("1"));
    if (splitUpDown_) splitUpDown_->setPosition(pages);
    if (splitMemo_) splitMemo_->setText(QString::number(pages));
    try {
        LongOperation op(model_.waitForm(), true);
        model_.session().saveList(fileName.toStdString(), pages, op.progress());
    } catch (const std::exception& e) {
        MessageBox::error(dialogParent_, QString::fromStdString(e.what()));
        return false;
    }
    return true;
}

bool FileCommands::confirmDiscard() {
    const CombinationList& list = model_.session().list();
    if (!list.changed() || list.empty()) return true;
    switch (MessageBox::questionYesNoCancel(dialogParent_, u8(kChangedQuestion))) {
    case QMessageBox::Yes: return SaveClick();  // a cancelled or failed save keeps the list
    case QMessageBox::No: return true;
    default: return false;
    }
}

void FileCommands::LoadClick() {
    if (model_.refuseListChange()) return;
    emit listPageWanted();
    const FileDialogFilter filter = fileDialogFilter(model_.session().options().saveFormat);
    const QString fileName = FileDialog::getOpenFileName(dialogParent_, u8("読み込み"), qtFilter(filter.filter));
    if (fileName.isEmpty()) return;
    CombinationFile file;
    try {
        file = readCombinationFile(fileName.toStdString());
    } catch (const std::exception& e) {
        MessageBox::error(dialogParent_, QString::fromStdString(e.what()));
        return;
    }
    if (const std::optional<GameMode> game = file.gameToSwitchTo(model_.session().mode())) {
        // The other game's file replaces the list: unsaved work is asked about first.
        if (!confirmDiscard()) return;
        model_.run([&](Session& s) { return s.switchGame(*game); });
    }
    {
        LongOperation op(model_.waitForm(), true);
        model_.run([&](Session& s) { return s.appendFile(file, op.progress()); });
    }
    emit listLoaded();
}

}  // namespace tambor::ui
