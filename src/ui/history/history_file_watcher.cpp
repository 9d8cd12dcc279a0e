#include "ui/history/history_file_watcher.h"

#include <QApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include "ui/common/session_model.h"

namespace tambor::ui {
namespace {

// Long enough to take a save's events as one, short enough to feel at once.
constexpr int kSettleMs = 250;

QString historyFile(const Session& session) {
    return QString::fromStdString((session.dataFolder() / HistoryStore::kFileName).string());
}

}  // namespace

HistoryFileWatcher::HistoryFileWatcher(SessionModel& model, QObject* parent)
    : QObject(parent), model_(model), watcher_(new QFileSystemWatcher(this)), settle_(new QTimer(this)) {
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMs);
    // The folder tells of a file renamed over lotodata.txt (how every save
    // of this program and tambor-cli ends); the file of a write in place.
    connect(watcher_, &QFileSystemWatcher::directoryChanged, settle_, qOverload<>(&QTimer::start));
    connect(watcher_, &QFileSystemWatcher::fileChanged, settle_, qOverload<>(&QTimer::start));
    connect(settle_, &QTimer::timeout, this, &HistoryFileWatcher::look);
    watch();
}

void HistoryFileWatcher::watch() {
    const QString file = historyFile(model_.session());
    const QString folder = QString::fromStdString(model_.session().dataFolder().string());
    // Only what exists can be watched (the file is made at the first start;
    // the folder's watch sees it come).
    if (!watcher_->directories().contains(folder) && QFileInfo::exists(folder)) watcher_->addPath(folder);
    // A file renamed over the old one is another file: watched anew.
    if (!watcher_->files().contains(file) && QFileInfo::exists(file)) watcher_->addPath(file);
}

void HistoryFileWatcher::look() {
    watch();
    // Not in the middle of a command or a dialog: the history changes
    // under nothing that is using it. The look comes again later.
    if (model_.busy() || QApplication::activeModalWidget()) {
        settle_->start();
        return;
    }
    if (!model_.session().historyFileChanged()) return;
    model_.run([](Session& s) { return s.loadHistory(); });
    emit reloaded(QString::fromUtf8(kReloadedText));
}

}  // namespace tambor::ui
