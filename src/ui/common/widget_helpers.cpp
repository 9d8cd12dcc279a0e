#include "ui/common/widget_helpers.h"

#include <QAction>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QStatusTipEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTabWidget>

#include <algorithm>

#include "ui/common/fonts.h"
#include "ui/common/round_field.h"

namespace tambor::ui {

void setHint(QWidget* widget, const char* hint) {
    widget->setToolTip(u8(hint));
    widget->setStatusTip(u8(hint));
}

void setHint(QAction* action, const char* hint) {
    action->setToolTip(u8(hint));
    action->setStatusTip(u8(hint));
}

QLabel* makeLabel(QWidget* parent, const char* text, int x, int y, int w, int h) {
    auto* label = new QLabel(u8(text), parent);
    label->setGeometry(x, y, w, h);
    return label;
}

std::pair<int, int> captionGap(const QFontMetrics& metrics, const QString& caption, int textLeft) {
    const auto start = caption.indexOf(QLatin1Char(' '));
    auto end = start;
    while (end < caption.size() && caption.at(end) == QLatin1Char(' ')) ++end;
    const int left = textLeft + metrics.horizontalAdvance(caption.left(start));
    const int right = textLeft + metrics.horizontalAdvance(caption.left(end));
    return {left, right - left};
}

int roundFieldWidth(const QLineEdit* field, int lastRound) {
    const int digits = std::max(4, static_cast<int>(QString::number(std::max(lastRound, 1)).size()));
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field) : 0;
    const QRect contents = field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field);
    const QMargins margins = field->textMargins();
    // The frame, the text margins and the two pixels QLineEdit keeps free on
    // each side of its text, plus one for the cursor.
    const int chrome = field->width() - contents.width() + margins.left() + margins.right() + 4 + 1;
    return field->fontMetrics().horizontalAdvance(QString(digits, QLatin1Char('0'))) + chrome;
}

QPushButton* makeButton(QWidget* parent, const char* objectName, const char* caption, const char* hint,
                        int x, int y, int w, int h) {
    auto* button = new QPushButton(u8(caption), parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setGeometry(x, y, w, h);
    setHint(button, hint);
    return button;
}

QLineEdit* makeReadOnlyField(QWidget* parent, const char* objectName, const char* hint, int x, int y, int w, int h) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setGeometry(x, y, w, h);
    setHint(edit, hint);
    return edit;
}

QListView* makeCombinationListView(QWidget* parent, const char* objectName, const char* hint) {
    auto* view = new QListView(parent);
    view->setObjectName(QString::fromLatin1(objectName));
    view->setUniformItemSizes(true);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setFont(fixedPitchFont(16));
    setHint(view, hint);
    return view;
}

void showHintsInStatusBar(QMenu* menu, QWidget* owner) {
    auto send = [owner](const QString& text) {
        QStatusTipEvent tip(text);
        QCoreApplication::sendEvent(owner, &tip);
    };
    QObject::connect(menu, &QMenu::hovered, owner, [send](QAction* action) { send(action->statusTip()); });
    QObject::connect(menu, &QMenu::aboutToHide, owner, [send] { send(QString()); });
}

void bringPageToFront(QWidget* widget) {
    for (QWidget* w = widget; w && w->parentWidget(); w = w->parentWidget()) {
        auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
        if (!stack) continue;
        if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget())) {
            tabs->setCurrentWidget(w);
            return;
        }
    }
}

}  // namespace tambor::ui
