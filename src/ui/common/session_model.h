#pragma once
// The session as the windows see it: they call its operations through
// apply() and refresh from the changed() signal, so no window repeats the
// refresh steps of another. The wait window's visibility is the busy flag.

#include <QObject>
#include <functional>
#include <memory>

#include "session/session.h"

namespace tambor::ui {

class TWaitForm;

class SessionModel : public QObject {
    Q_OBJECT
public:
    explicit SessionModel(Session& session, QObject* parent = nullptr);
    ~SessionModel() override;

    Session& session() { return session_; }
    const Session& session() const { return session_; }

    // Tells every listener what changed; the problems go to problemsReported.
    void apply(const Changes& changes);
    // Runs an operation of the session and applies what it changed.
    void run(const std::function<Changes(Session&)>& operation) { apply(operation(session_)); }

    // The wait window long commands run in. Without one set, the model
    // makes its own (a page built on its own in a test).
    void setWaitForm(TWaitForm* waitForm) { waitForm_ = waitForm; }
    TWaitForm& waitForm();
    bool busy() const;

    // A command declined: its reason goes to the status bar (refused()).
    // Commands refuse without dialogs, but never silently.
    void refuse(const QString& reason);
    void refuse(const char* reason) { refuse(QString::fromUtf8(reason)); }
    // The busy test of a command: true, with "処理中です" said, while a long
    // command runs.
    bool refuseWhenBusy();
    // The test of a command that would change the list: busy, or the grid
    // editor open; true with the reason said.
    bool refuseListChange();

    // While the grid editor is open the list changes only through it: the
    // commands that could change it are disabled and refuse.
    bool listEditing() const { return listEditing_; }
    void setListEditing(bool editing);

signals:
    void changed(const tambor::Changes& changes);
    // Messages for the user about failures after which the program went on.
    void problemsReported(const QStringList& messages);
    // Why a command did nothing, for the status bar.
    void refused(const QString& reason);
    void listEditingChanged(bool editing);

private:
    Session& session_;
    TWaitForm* waitForm_ = nullptr;
    std::unique_ptr<TWaitForm> ownWaitForm_;
    bool listEditing_ = false;
};

}  // namespace tambor::ui
