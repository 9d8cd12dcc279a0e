#pragma once
// Saving and loading the combination list through the file dialogs, the
// File menu's recent files, and the question that guards unsaved work
// before it would be discarded.

#include <QObject>

class QLineEdit;
class QMenu;
class QWidget;

namespace tambor::ui {

class SessionModel;
class UpDown;

class FileCommands : public QObject {
    Q_OBJECT
public:
    // dialogParent owns the dialogs and message boxes.
    FileCommands(SessionModel& model, QWidget* dialogParent);

    // The page-count field of the options tab the save reads.
    void setPageCountField(QLineEdit* splitMemo, UpDown* splitUpDown);

    // The menu that lists the recent files; filled each time it opens.
    void setRecentMenu(QMenu* menu);

    // Saves the list through the save dialog; false when nothing was saved.
    bool SaveClick();
    void LoadClick();
    // Loads fileName as the load command does after its dialog.
    void loadFile(const QString& fileName);
    // Where the file dialogs start: the folder last used, else that of the
    // newest recent file, else the documents folder (else home); never the
    // program's data folder.
    QString dialogFolder() const;
    // Asks whether to save a changed list before it is discarded; false
    // when the user cancels or the save did not happen.
    bool confirmDiscard();

signals:
    // A save or load is about to show the list: its page comes to the front.
    void listPageWanted();
    // A file was loaded into the list.
    void listLoaded();

private:
    void fillRecentMenu();
    void remember(const QString& fileName);

    SessionModel& model_;
    QMenu* recentMenu_ = nullptr;
    QString lastFolder_;
    QWidget* dialogParent_;
    QLineEdit* splitMemo_ = nullptr;
    UpDown* splitUpDown_ = nullptr;
};

}  // namespace tambor::ui
