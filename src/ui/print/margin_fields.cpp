#include "ui/print/margin_fields.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <limits>

#include "io/card_print.h"
#include "io/print_margin.h"
#include "ui/common/session_model.h"
#include "ui/common/up_down.h"

namespace tambor::ui {

MarginFields::MarginFields(SessionModel& model, QLineEdit* horzMemo, UpDown* horzUpDown, QLineEdit* vertMemo,
                           UpDown* vertUpDown, QObject* parent)
    : QObject(parent), model_(model), horz_{horzMemo, horzUpDown, true}, vert_{vertMemo, vertUpDown, false} {
    setObjectName(QStringLiteral("MarginFields"));
    for (Field* f : {&horz_, &vert_}) {
        f->memo->installEventFilter(this);
        connect(f->memo, &QLineEdit::editingFinished, this, [this, f] { commit(*f); });
        connect(f->upDown, &UpDown::stepped, this, [this, f](int steps) { step(*f, steps); });
    }
    connect(&model_, &SessionModel::changed, this, &MarginFields::refresh);
    refresh(Change::Options);
}

void MarginFields::setPageSize(double widthMm, double heightMm) {
    pageWidthMm_ = widthMm;
    pageHeightMm_ = heightMm;
    horz_.upDown->setRange(0, marginSpinMaximum(widthMm));
    vert_.upDown->setRange(0, marginSpinMaximum(heightMm));
}

void MarginFields::setMargins(double horz, double vert) {
    horz_.memo->setText(QString::fromStdString(formatMargin(horz)));
    commit(horz_);
    vert_.memo->setText(QString::fromStdString(formatMargin(vert)));
    commit(vert_);
}

void MarginFields::HorzMemoExit() { commit(horz_); }
void MarginFields::VertMemoExit() { commit(vert_); }
void MarginFields::HorzUpDownClick(int direction) { step(horz_, direction); }
void MarginFields::VertUpDownClick(int direction) { step(vert_, direction); }

void MarginFields::commit(Field& field) {
    const Options& o = model_.session().options();
    const double current = field.horizontal ? o.horzMargin : o.vertMargin;
    const double pageSize = field.horizontal ? pageWidthMm_ : pageHeightMm_;
    const double maximum = pageSize > 0.0 ? pageSize : std::numeric_limits<double>::max();
    const double margin = ParseMargin(field.memo->text().toStdString(), maximum, current);
    field.shown = margin;
    field.memo->setText(QString::fromStdString(formatMargin(margin)));
    field.upDown->setPosition(marginSpinPosition(margin));
    if (margin == current) return;
    const bool horizontal = field.horizontal;
    model_.run([&](Session& s) {
        return s.changeOptions([&](Options& edit) { (horizontal ? edit.horzMargin : edit.vertMargin) = margin; });
    });
}

// The typed text first, then half a millimetre; the commit after it cuts
// the result at the page size.
void MarginFields::step(Field& field, int direction) {
    commit(field);
    const Options& o = model_.session().options();
    const double stepped = stepMargin(field.horizontal ? o.horzMargin : o.vertMargin, direction);
    field.memo->setText(QString::fromStdString(formatMargin(stepped)));
    commit(field);
}

bool MarginFields::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(watched == horz_.memo ? horz_ : vert_, key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

// A margin changed elsewhere (the settings, the printer): the edit shows it.
// What the user is typing stays until it is committed.
void MarginFields::refresh(const Changes& changes) {
    if (!changes.has(Change::Options)) return;
    const Options& o = model_.session().options();
    for (Field* f : {&horz_, &vert_}) {
        const double margin = f->horizontal ? o.horzMargin : o.vertMargin;
        if (margin == f->shown) continue;
        f->shown = margin;
        f->memo->setText(QString::fromStdString(formatMargin(margin)));
        f->upDown->setPosition(marginSpinPosition(margin));
    }
}

}  // namespace tambor::ui
