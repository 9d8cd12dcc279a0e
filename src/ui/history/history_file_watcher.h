#pragma once
// Notices when another program (tambor-cli update or history add, a second
// window, an editor) replaces lotodata.txt while the window is open, and
// reads the history again, as after an update, saying so in the status bar.

#include <QObject>

class QFileSystemWatcher;
class QTimer;

namespace tambor::ui {

class SessionModel;

class HistoryFileWatcher : public QObject {
    Q_OBJECT
public:
    // The status text after a reload.
    static constexpr const char* kReloadedText = "当選番号ファイルが更新されました";

    explicit HistoryFileWatcher(SessionModel& model, QObject* parent = nullptr);

signals:
    // The history was read again; text is for the status bar.
    void reloaded(const QString& text);

private:
    void watch();
    void look();

    SessionModel& model_;
    QFileSystemWatcher* watcher_;
    // A save is a burst of events (a temporary made, renamed, its folder
    // changed): they are taken together, once the burst is over.
    QTimer* settle_;
};

}  // namespace tambor::ui
