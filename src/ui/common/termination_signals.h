#pragma once
// SIGTERM and SIGHUP (a logout, `kill`, a service manager) close the main
// window as its close button would — the settings are written and an unsaved
// list is asked about — instead of ending the process on the spot. The
// signal handler only writes a byte to a pipe; the event loop reads it.

#include <QObject>

class QSocketNotifier;

namespace tambor::ui {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Takes over SIGTERM and SIGHUP for the process; one instance at most.
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    // Emitted in the event loop for every signal received.
    void received();

private:
    void readSignal();
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace tambor::ui
