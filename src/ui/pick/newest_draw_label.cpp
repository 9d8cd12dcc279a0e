#include "ui/pick/newest_draw_label.h"

#include "history/history_edit.h"
#include "ui/common/session_model.h"
#include "ui/common/widget_helpers.h"

namespace tambor::ui {

NewestDrawLabel::NewestDrawLabel(SessionModel& model, QWidget* parent) : QLabel(parent), model_(model) {
    setObjectName(QStringLiteral("NewestDrawLabel"));
    setHint(this, "当選番号ファイルにある最新の回とその抽せん日です。");
    connect(&model_, &SessionModel::changed, this, &NewestDrawLabel::refresh);
    refresh(Changes::everything());
}

void NewestDrawLabel::refresh(const Changes& changes) {
    if (!changes.has(Change::History) && !changes.has(Change::Game)) return;
    const std::optional<HistoryDraw> newest = model_.session().newestDraw();
    setText(newest ? u8("最新: ") + QString::fromStdString(roundAndDateText(*newest)) : u8("当選番号がありません"));
}

}  // namespace tambor::ui
