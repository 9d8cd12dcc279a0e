#pragma once
// The worker thread of one online update: runs the whole update over the
// libcurl client and reaches the windows only through its signals, which
// Qt queues to the user-interface thread. It never touches a widget or the
// session.

#include <QThread>
#include <atomic>

#include "history/online_update.h"

namespace tambor::ui {

class THttpThread : public QThread {
    Q_OBJECT
public:
    THttpThread(UpdateRequest request, QObject* parent);

    // Asks the running update to stop at its next chance (within a second
    // or so, even while it waits on the network).
    void requestStop() { stop_ = true; }
    // Valid once the thread has finished.
    const UpdateResult& result() const { return result_; }

signals:
    // The download's gauge: 0..100, or -1 while the length is unknown.
    void progressed(int percent);

protected:
    void run() override;

private:
    const UpdateRequest request_;
    UpdateResult result_;
    std::atomic<bool> stop_{false};
};

}  // namespace tambor::ui
