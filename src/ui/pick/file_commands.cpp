#include "ui/pick/file_commands.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QStandardPaths>

#include "io/combination_file.h"
#include "io/text_file.h"
#include "session/recent_files.h"
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
    // The save format's type comes first in the list and is preselected;
    // the type chosen gives a name without extension its extension, and
    // the extension decides the layout.
    const FileDialogFilter filter = fileDialogFilter(model_.session().options().saveFormat);
    const QString types = qtFilter(filter.filter);
    QString type = types.section(QStringLiteral(";;"), 0, 0);
    const QString fileName = FileDialog::getSaveFileName(dialogParent_, u8("保存"), types,
                                                         QString::fromLatin1(filter.defaultExtension), dialogFolder(),
                                                         &type);
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
    remember(fileName);
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
    const QString fileName =
        FileDialog::getOpenFileName(dialogParent_, u8("読み込み"), qtFilter(filter.filter), dialogFolder());
    if (fileName.isEmpty()) return;
    loadFile(fileName);
}

void FileCommands::loadFile(const QString& fileName) {
    if (model_.refuseListChange()) return;
    emit listPageWanted();
    CombinationFile file;
    try {
        file = readCombinationFile(fileName.toStdString());
    } catch (const std::exception& e) {
        MessageBox::error(dialogParent_, QString::fromStdString(e.what()));
        return;
    }
    remember(fileName);
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

QString FileCommands::dialogFolder() const {
    const QString data = QFileInfo(QString::fromStdString(model_.session().dataFolder().string())).canonicalFilePath();
    auto usable = [&data](const QString& folder) {
        const QFileInfo info(folder);
        return !folder.isEmpty() && info.isDir() && info.canonicalFilePath() != data;
    };
    if (usable(lastFolder_)) return lastFolder_;
    for (const std::string& recent : model_.session().options().recentFiles) {
        const QString folder = QFileInfo(QString::fromStdString(recent)).absolutePath();
        if (usable(folder)) return folder;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (usable(documents)) return documents;
    return QDir::homePath();
}

void FileCommands::remember(const QString& fileName) {
    const QString path = QFileInfo(fileName).absoluteFilePath();
    lastFolder_ = QFileInfo(path).absolutePath();
    model_.run([&](Session& s) {
        return s.changeOptions([&](Options& o) { addRecentFile(o.recentFiles, path.toStdString()); });
    });
}

void FileCommands::setRecentMenu(QMenu* menu) {
    recentMenu_ = menu;
    connect(menu, &QMenu::aboutToShow, this, &FileCommands::fillRecentMenu);
    fillRecentMenu();
}

void FileCommands::fillRecentMenu() {
    recentMenu_->clear();
    const std::vector<std::string>& files = model_.session().options().recentFiles;
    if (files.empty()) {
        QAction* none = recentMenu_->addAction(u8("（なし）"));
        none->setObjectName(QStringLiteral("RecentNone"));
        none->setEnabled(false);
        setHint(none, "まだファイルを開いたり保存したりしていません。");
        return;
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const QString path = QString::fromStdString(files[i]);
        QString caption = QFileInfo(path).fileName();
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(caption));
        item->setObjectName(QStringLiteral("Recent%1").arg(i + 1));
        const QString hint = u8("「%1」を読み込みます。").arg(QDir::toNativeSeparators(path));
        item->setToolTip(hint);
        item->setStatusTip(hint);
        connect(item, &QAction::triggered, this, [this, path] {
            if (!QFileInfo::exists(path)) {
                MessageBox::error(dialogParent_, u8("「%1」が見つかりません。最近使ったファイルの一覧から外します。").arg(path));
                model_.run([&](Session& s) {
                    return s.changeOptions([&](Options& o) { std::erase(o.recentFiles, path.toStdString()); });
                });
                return;
            }
            loadFile(path);
        });
    }
}

}  // namespace tambor::ui
