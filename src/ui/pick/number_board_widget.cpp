#include "ui/pick/number_board_widget.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

#include "ui/common/session_model.h"
#include "ui/common/widget_helpers.h"
#include "ui/pick/number_panel.h"
#include "ui/pick/pick_layout.h"

namespace tambor::ui {
namespace {

struct RoleControl {
    const char* radio;
    const char* caption;
    const char* hint;
    const char* memo;
    const char* style;
    const char* memoHint;
};

const RoleControl kRoles[kRoleCount] = {
    {"FixRadioButton", "固定数字     個", "固定数字選択モードにします。", "FixMemo", "background: aqua;",
     "固定数字の個数を表示します。"},
    {"DisableRadioButton", "禁止数字     個", "禁止数字選択モードにします。", "DisableMemo", "background: black; color: white;",
     "禁止数字の個数を表示します。"},
    {"AxisRadioButton", "軸数字       個", "軸数字選択モードにします。", "AxisMemo", "background: lime;",
     "軸数字の個数を表示します。"},
    {"TogetherRadioButton", "連動数字     個", "連動数字選択モードにします。", "TogetherMemo", "background: purple; color: white;",
     "連動数字の個数を表示します。"},
    {"MainRadioButton", "本数字       個", "本数字選択モードにします。", "MainMemo", "background: red; color: white;",
     "本数字の個数を表示します。"},
    {"BonusRadioButton", "ボーナス     個", "ボーナス数字選択モードにします。", "BonusMemo", "background: yellow;",
     "ボーナス数字の個数を表示します。"},
};

constexpr int kRadioLeft = 0;
constexpr int kRadioWidth = 98;
constexpr int kBoardLeft = 100;
constexpr int kPitch = 24;
constexpr int kClearWidth = 28;  // "解除" whole

// The clear button's place: below the game's highest number, in the last
// column that shows numbers (the fifth in ロト６, below 43; the fourth in
// ミニロト below 31 and in ロト７ below 37), kept inside the board.
QPoint clearButtonPlace(GameMode mode) {
    const int last = rulesFor(mode).maxNumber - 1;
    const int column = last / 10, row = last % 10 + 1;
    const int x = column >= 4 ? NumberBoardWidget::kWidth - kClearWidth : kBoardLeft + column * kPitch - 2;
    return {x, 4 + row * kPitch + 2};
}

}  // namespace

NumberBoardWidget::NumberBoardWidget(SessionModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName(QStringLiteral("NumberBoard"));
    setGeometry(pick_layout::kBoardLeft, 0, kWidth, kHeight);
    roleGroup_ = new QButtonGroup(this);
    const QFontMetrics fm(font());
    for (int role = 0; role < kRoleCount; ++role) {
        const RoleControl& rc = kRoles[role];
        const int y = 6 + role * 26;
        auto* radio = new QRadioButton(u8(rc.caption), this);
        radio->setObjectName(QString::fromLatin1(rc.radio));
        radio->setGeometry(kRadioLeft, y, kRadioWidth, 22);
        setHint(radio, rc.hint);
        roleGroup_->addButton(radio, role);
        roleRadioButtons_[static_cast<std::size_t>(role)] = radio;
        // The counter sits in the blank run of the caption.
        const auto [gapLeft, gapWidth] = captionGap(fm, u8(rc.caption), kRadioLeft + 20);
        // Frameless and without the edit's own text margins, the counter
        // shows two digits in the caption's blank run.
        auto* memo = new QLineEdit(this);
        memo->setObjectName(QString::fromLatin1(rc.memo));
        memo->setFrame(false);
        memo->setTextMargins(-2, 0, -2, 0);
        setHint(memo, rc.memoHint);
        memo->setReadOnly(true);
        memo->setFocusPolicy(Qt::NoFocus);
        memo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QFont bold = font();
        bold.setBold(true);
        memo->setFont(bold);
        memo->setStyleSheet(QStringLiteral("QLineEdit { %1 }").arg(QString::fromLatin1(rc.style)));
        memo->setGeometry(gapLeft, y + 1, gapWidth, 20);
        roleMemos_[static_cast<std::size_t>(role)] = memo;
    }
    connect(roleGroup_, &QButtonGroup::idClicked, this, &NumberBoardWidget::SelRadioButtonClick);

    for (int n = 1; n <= kBoardSize; ++n) {
        auto* panel = new NumPanel(n, this);
        const int column = (n - 1) / 10, row = (n - 1) % 10;
        panel->move(kBoardLeft + column * kPitch, 4 + row * kPitch);
        setHint(panel, "ボタンを押すと各数字の候補／非候補が切り替わります。");
        connect(panel, &NumPanel::clicked, this, &NumberBoardWidget::NumPanelClick);
        // Only the board's current number takes the Tab key; a mouse click
        // never moves the focus.
        panel->setFocusPolicy(n == focusNumber_ ? Qt::TabFocus : Qt::NoFocus);
        numPanels_[static_cast<std::size_t>(n - 1)] = panel;
    }
    allowAllUpSpeedButton_ = new QToolButton(this);
    allowAllUpSpeedButton_->setObjectName(QStringLiteral("AllowAllUpSpeedButton"));
    allowAllUpSpeedButton_->setText(u8("解除"));
    allowAllUpSpeedButton_->resize(kClearWidth, 22);
    allowAllUpSpeedButton_->move(clearButtonPlace(model_.session().mode()));
    setHint(allowAllUpSpeedButton_, "選択数字を一括解除します。");
    connect(allowAllUpSpeedButton_, &QToolButton::clicked, this, &NumberBoardWidget::AllowAllUpSpeedButtonClick);

    connect(&model_, &SessionModel::changed, this, &NumberBoardWidget::refresh);
    refresh(Changes::everything());
}

void NumberBoardWidget::SelRadioButtonClick(int role) {
    model_.run([role](Session& s) { return s.selectRole(role); });
}

void NumberBoardWidget::NumPanelClick(int number, bool rightButton) {
    if (model_.refuseWhenBusy()) return;
    model_.run([&](Session& s) { return s.clickNumber(number, rightButton); });
}

void NumberBoardWidget::AllowAllUpSpeedButtonClick() {
    if (model_.refuseWhenBusy()) return;
    model_.run([](Session& s) { return s.clearCurrentRole(); });
}

void NumberBoardWidget::refresh(const Changes& changes) {
    const NumberBoard& board = model_.session().board();
    if (changes.has(Change::Game)) {
        // The game's numbers show, the rest of the 43 are hidden.
        const int maxNumber = model_.session().rules().maxNumber;
        for (int n = 1; n <= kBoardSize; ++n) numPanels_[static_cast<std::size_t>(n - 1)]->setVisible(n <= maxNumber);
        allowAllUpSpeedButton_->move(clearButtonPlace(model_.session().mode()));
        if (focusNumber_ > maxNumber)
            setFocusNumber(maxNumber, numPanels_[static_cast<std::size_t>(focusNumber_ - 1)]->hasFocus());
    }
    if (!changes.has(Change::Board) && !changes.has(Change::Game)) return;
    roleRadioButtons_[static_cast<std::size_t>(board.currentRole())]->setChecked(true);
    roleRadioButtons_[Axis]->setEnabled(!board.rSystem());
    repaintBoard();
    RefreshRoleCounts();
}

void NumberBoardWidget::setFocusNumber(int number, bool takeFocus) {
    NumPanel* from = numPanels_[static_cast<std::size_t>(focusNumber_ - 1)];
    NumPanel* to = numPanels_[static_cast<std::size_t>(number - 1)];
    focusNumber_ = number;
    to->setFocusPolicy(Qt::TabFocus);
    if (takeFocus) to->setFocus(Qt::OtherFocusReason);
    if (from != to) from->setFocusPolicy(Qt::NoFocus);
}

void NumberBoardWidget::keyPressEvent(QKeyEvent* event) {
    // Only the keys of the number with the focus (not those another
    // control of the board passed on).
    if (!numPanels_[static_cast<std::size_t>(focusNumber_ - 1)]->hasFocus()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int maxNumber = model_.session().rules().maxNumber;
    int next = focusNumber_;
    switch (event->key()) {
    case Qt::Key_Up: next = focusNumber_ - 1; break;
    case Qt::Key_Down: next = focusNumber_ + 1; break;
    case Qt::Key_Left: next = focusNumber_ - 10; break;
    case Qt::Key_Right: next = focusNumber_ + 10; break;
    case Qt::Key_Home: next = 1; break;
    case Qt::Key_End: next = maxNumber; break;
    default: QWidget::keyPressEvent(event); return;
    }
    // Off the board (left of 1–10, right of 41–43) the focus stays.
    if (next >= 1 && next <= maxNumber) setFocusNumber(next, true);
    event->accept();
}

void NumberBoardWidget::RefreshRoleCounts() {
    const NumberBoard& board = model_.session().board();
    for (int role = 0; role < kRoleCount; ++role)
        roleMemos_[static_cast<std::size_t>(role)]->setText(QString::number(board.count(role)));
}

void NumberBoardWidget::repaintBoard() {
    const NumberBoard& board = model_.session().board();
    for (int n = 1; n <= kBoardSize; ++n) {
        const Rgb c = board.roleColour(n);
        numPanels_[static_cast<std::size_t>(n - 1)]->setDiscColour(QColor(c.r, c.g, c.b));
    }
}

}  // namespace tambor::ui
