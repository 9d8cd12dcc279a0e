#pragma once
// The online update as the windows run it: 統計情報の更新 (Renew) starts one
// worker thread; the wait window shows the connection and the download; at
// the end the history is re-read, the prize check re-run on the newest draw
// and the user told the result. notify.txt's version shows
// バージョンアップ通知 (VerUp) when it differs from the program's.

#include <QObject>
#include <QString>
#include <QTimer>

class QAction;
class QWidget;

namespace tambor::ui {

class SessionModel;
class THttpThread;

class OnlineUpdate : public QObject {
    Q_OBJECT
public:
    // renew and verUp are the menu actions (their tool buttons share them);
    // window owns the message boxes.
    OnlineUpdate(SessionModel& model, QWidget* window, QAction* renew, QAction* verUp);
    // Stops a running update and waits for its thread.
    ~OnlineUpdate() override;

    void RenewClick();
    void VerUpClick();

    bool running() const { return thread_ != nullptr; }

signals:
    // The history was re-read after a download: the prize check runs again
    // (the main window connects this to the check button).
    void recheckWanted();
    // An update has ended and everything it had to say was said.
    void updateFinished();

private:
    // The steps the worker's progress and end reach on this thread.
    void showConnecting();
    void progressStep(int percent);
    void finish();
    void reload();
    void versionNotice();
    void threadFinished();
    void pollCancel();

    SessionModel& model_;
    QWidget* window_;
    QAction* verUp_;
    THttpThread* thread_ = nullptr;
    QTimer cancelPoll_;
    QString latestVersionText_;
};

}  // namespace tambor::ui
