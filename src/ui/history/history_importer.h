#pragma once
// 当選番号の取り込み: the bank's result files chosen in a dialog (the history
// window's button, the File menu) or dropped onto the main window, taken into
// lotodata.txt; one message says what was added and what was not.

#include <QObject>
#include <QStringList>

class QWidget;

namespace tambor::ui {

class SessionModel;

class HistoryImporter : public QObject {
    Q_OBJECT
public:
    HistoryImporter(SessionModel& model, QWidget* window);

    // Asks for the files, then importFiles.
    void ImportClick(QWidget* dialogParent = nullptr);
    // Takes the files; refused while a command runs.
    void importFiles(const QStringList& paths, QWidget* dialogParent = nullptr);

signals:
    // Draws were added and the history read again.
    void historyImported();

private:
    SessionModel& model_;
    QWidget* window_;
};

}  // namespace tambor::ui
