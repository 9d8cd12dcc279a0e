#include "ui/common/session_model.h"

#include <QStringList>

#include "session/refusals.h"
#include "ui/common/wait_form.h"

namespace tambor::ui {

SessionModel::SessionModel(Session& session, QObject* parent) : QObject(parent), session_(session) {}

SessionModel::~SessionModel() = default;

void SessionModel::apply(const Changes& changes) {
    if (!changes.any()) return;
    emit changed(changes);
    if (!changes.refusal().empty()) refuse(QString::fromStdString(changes.refusal()));
    if (changes.problems().empty()) return;
    QStringList messages;
    for (const std::string& problem : changes.problems()) messages << QString::fromStdString(problem);
    emit problemsReported(messages);
}

TWaitForm& SessionModel::waitForm() {
    if (waitForm_) return *waitForm_;
    if (!ownWaitForm_) ownWaitForm_ = std::make_unique<TWaitForm>(nullptr);
    return *ownWaitForm_;
}

void SessionModel::setListEditing(bool editing) {
    if (editing == listEditing_) return;
    listEditing_ = editing;
    emit listEditingChanged(editing);
}

bool SessionModel::busy() const { return waitForm_ ? waitForm_->busy() : ownWaitForm_ && ownWaitForm_->busy(); }

}  // namespace tambor::ui

namespace tambor::ui {

void SessionModel::refuse(const QString& reason) { emit refused(reason); }

bool SessionModel::refuseWhenBusy() {
    if (!busy()) return false;
    refuse(refusal::kBusy);
    return true;
}

bool SessionModel::refuseListChange() {
    if (refuseWhenBusy()) return true;
    if (!listEditing_) return false;
    refuse(refusal::kListEditing);
    return true;
}

}  // namespace tambor::ui
