#include "ui/update/online_update.h"

#include <QAction>

#include "history/online_update.h"
#include "session/refusals.h"
#include "ui/common/message_box.h"
#include "ui/common/session_model.h"
#include "ui/common/wait_form.h"
#include "ui/update/http_thread.h"

namespace tambor::ui {

OnlineUpdate::OnlineUpdate(SessionModel& model, QWidget* window, QAction* renew, QAction* verUp)
    : QObject(window), model_(model), window_(window), verUp_(verUp) {
    setObjectName(QStringLiteral("OnlineUpdate"));
    connect(renew, &QAction::triggered, this, &OnlineUpdate::RenewClick);
    connect(verUp, &QAction::triggered, this, &OnlineUpdate::VerUpClick);
    cancelPoll_.setInterval(100);
    connect(&cancelPoll_, &QTimer::timeout, this, &OnlineUpdate::pollCancel);
}

OnlineUpdate::~OnlineUpdate() {
    if (!thread_) return;
    thread_->requestStop();
    thread_->wait();
}

void OnlineUpdate::RenewClick() {
    // One update at a time, and none while another long command runs.
    if (thread_) {
        model_.refuse(refusal::kBusy);
        return;
    }
    if (model_.refuseWhenBusy()) return;
    UpdateRequest request = model_.session().updateRequest();
    if (request.baseUrl.empty()) {
        // Nothing to ask: say where the address goes.
        MessageBox::error(window_, QString::fromUtf8(update_text::kNoServerWindow));
        return;
    }
    // The wait window goes up before the worker starts, so the busy flag
    // holds from the click on.
    showConnecting();
    thread_ = new THttpThread(std::move(request), this);
    connect(thread_, &THttpThread::progressed, this, &OnlineUpdate::progressStep);
    connect(thread_, &QThread::finished, this, &OnlineUpdate::threadFinished);
    thread_->start();
    cancelPoll_.start();
}

void OnlineUpdate::VerUpClick() {
    MessageBox::information(window_, QString::fromStdString(versionNoticeMessage(latestVersionText_.toStdString())));
}

void OnlineUpdate::showConnecting() {
    TWaitForm& wait = model_.waitForm();
    wait.begin(false);
    wait.setLabelText(QString::fromUtf8(update_text::kConnecting));
    wait.repaint();
}

void OnlineUpdate::progressStep(int percent) {
    if (!thread_) return;
    TWaitForm& wait = model_.waitForm();
    if (percent < 0)
        wait.setGaugeUnknown();
    else
        wait.setGauge(percent);
    wait.setGaugeVisible(true);
}

void OnlineUpdate::finish() { model_.waitForm().end(); }

void OnlineUpdate::reload() {
    model_.run([](Session& s) { return s.loadHistory(); });
}

void OnlineUpdate::versionNotice() {
    if (latestVersionText_ != QString::fromUtf8(kVersionText)) verUp_->setVisible(true);
}

// Esc on the wait window (or the main window) asks the worker to stop.
void OnlineUpdate::pollCancel() {
    if (thread_ && model_.waitForm().cancelRequested()) thread_->requestStop();
}

void OnlineUpdate::threadFinished() {
    cancelPoll_.stop();
    thread_->wait();
    const UpdateResult result = thread_->result();
    thread_->deleteLater();
    thread_ = nullptr;

    finish();
    for (const std::string& error : result.errors) MessageBox::error(window_, QString::fromStdString(error));
    if (result.latestVersion) {
        latestVersionText_ = QString::fromStdString(*result.latestVersion);
        versionNotice();
    }
    if (result.state == UpdateState::Updated) {
        reload();
        emit recheckWanted();
    }
    const std::string message = result.resultMessage();
    if (!message.empty()) MessageBox::information(window_, QString::fromStdString(message));
    emit updateFinished();
}

}  // namespace tambor::ui
