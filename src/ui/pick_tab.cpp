// The pick tab: the game, the combination list and its commands, the
// prize-check group, and the number board with its six roles.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QSystemTrayIcon>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "core/japanese_count.h"
#include "ui/calculator_page.h"
#include "ui/combination_list_model.h"
#include "ui/rate_form.h"
#include "ui/edit_conventions.h"
#include "ui/main_window.h"
#include "ui/number_panel.h"
#include "ui/up_down.h"
#include "ui/wait_form.h"
#include "ui/widget_helpers.h"

namespace tambor::ui {
namespace {

struct RoleControl {
    const char* radio;
    const char* caption;
    const char* hint;
    const char* memo;
    const char* style;
};

const RoleControl kRoles[kRoleCount] = {
    {"FixRadioButton", "固定数字     個", "固定数字選択モードにします。", "FixMemo", "background: aqua;"},
    {"DisableRadioButton", "禁止数字     個", "禁止数字選択モードにします。", "DisableMemo", "background: black; color: white;"},
    {"AxisRadioButton", "軸数字       個", "軸数字選択モードにします。", "AxisMemo", "background: lime;"},
    {"TogetherRadioButton", "連動数字     個", "連動数字選択モードにします。", "TogetherMemo", "background: purple; color: white;"},
    {"MainRadioButton", "本数字       個", "本数字選択モードにします。", "MainMemo", "background: red; color: white;"},
    {"BonusRadioButton", "ボーナス     個", "ボーナス数字選択モードにします。", "BonusMemo", "background: yellow;"},
};

const char* const kGradeMemoHints[5] = {"１等が何本当選したかを表示します。", "２等が何本当選したかを表示します。",
                                        "３等が何本当選したかを表示します。", "４等が何本当選したかを表示します。",
                                        "５等が何本当選したかを表示します。"};
const char* const kGradeCaptions[5] = {"１等                  本", "２等                  本", "３等                  本",
                                       "４等                  本", "５等                  本"};

}  // namespace

void TMainForm::buildPickTab(QWidget* page) {
    // Game.
    auto* lotoGroupBox = new QGroupBox(u8("動作モード設定"), page);
    lotoGroupBox->setObjectName("LotoGroupBox");
    lotoGroupBox->setGeometry(4, 2, 170, 40);
    miniLotoRadioButton_ = new QRadioButton(u8("ミニロト(&M)"), lotoGroupBox);
    miniLotoRadioButton_->setObjectName("MiniLotoRadioButton");
    miniLotoRadioButton_->setGeometry(8, 16, 78, 20);
    miniLotoRadioButton_->setChecked(true);
    setHint(miniLotoRadioButton_, "ミニロト用の動作を行います。");
    loto6RadioButton_ = new QRadioButton(u8("ロト６(&6)"), lotoGroupBox);
    loto6RadioButton_->setObjectName("Loto6RadioButton");
    loto6RadioButton_->setGeometry(90, 16, 76, 20);
    setHint(loto6RadioButton_, "ロト６用の動作を行います。");
    auto* gameGroup = new QButtonGroup(page);
    gameGroup->addButton(miniLotoRadioButton_, static_cast<int>(GameMode::MiniLoto));
    gameGroup->addButton(loto6RadioButton_, static_cast<int>(GameMode::Loto6));
    connect(gameGroup, &QButtonGroup::idClicked, this, &TMainForm::gameRadioButtonClicked);

    // The combination list.
    pickListBox_ = makeCombinationListView(page, "PickListBox", "抽選結果を表示します。");
    pickListBox_->setGeometry(4, 46, 170, 188);
    pickModel_ = new CombinationListModel([this]() -> const std::vector<CombinationIndex>& { return session_.list().items(); },
                                          [this] { return session_.mode(); }, pickListBox_);
    pickListBox_->setModel(pickModel_);
    makeLabel(page, "登録口数", 4, 242, 46, 16);
    pickMemo_ = makeReadOnlyField(page, "PickMemo", "登録されている組み合わせの数を表示します。", 50, 238, 62, 22);
    makeLabel(page, "口", 114, 242, 12, 16);
    clearBitBtn_ = makeButton(page, "ClearBitBtn", "クリア(&C)", "すべての組み合わせをクリアします。", 126, 237, 48, 24);
    connect(clearBitBtn_, &QPushButton::clicked, this, &TMainForm::ClearBitBtnClick);

    // Commands.
    const int bx = 180;
    lotBitBtn_ = makeButton(page, "LotBitBtn", "抽選(&D)", "抽選回数だけ組み合わせを追加します。", bx, 6, 82, 26);
    lotMemo_ = new QLineEdit(page);
    lotMemo_->setObjectName("LotMemo");
    lotMemo_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lotMemo_->setGeometry(bx + 86, 8, 38, 22);
    setHint(lotMemo_, "１度に行う抽選回数を入力します。");
    applyEditConventions(lotMemo_, EditKind::Numeric);
    lotUpDown_ = new UpDown(lotMemo_, 1, 10000, 50, page);
    lotUpDown_->setObjectName("LotUpDown");
    lotUpDown_->setGeometry(bx + 124, 8, 14, 22);
    setHint(lotUpDown_, "１度に行う抽選回数を入力します。");
    makeLabel(page, "回", bx + 140, 12, 12, 16);

    combiBitBtn_ = makeButton(page, "CombiBitBtn", "組み合わせ(&E)", "右側のボタンで選択されている数字の全ての組み合わせを追加します。",
                              bx, 36, 82, 26);
    combiMemo_ = makeReadOnlyField(page, "CombiMemo", "右側のボタンで選択されている数字の組み合わせが何通りあるかを表示します。",
                                   bx + 86, 38, 52, 22);
    auto* combiLabel = makeLabel(page, "通り", bx + 140, 42, 24, 16);
    combiLabel->setObjectName("CombiLabel");

    sortBitBtn_ = makeButton(page, "SortBitBtn", "並べ替え(&O)", "登録されている組み合わせの並べ替えを行います。", bx, 70, 82, 26);
    editBitBtn_ = makeButton(page, "EditBitBtn", "編集(&I)...", "抽選結果を編集する画面を開きます。", bx + 86, 70, 66, 26);
    saveBitBtn_ = makeButton(page, "SaveBitBtn", "保存(&S)...", "表示されている組み合わせをファイルに保存します。", bx, 100, 82, 26);
    loadBitBtn_ = makeButton(page, "LoadBitBtn", "読み込み(&L)...", "ファイルから組み合わせを読み込みます。", bx + 86, 100, 66, 26);
    printBitBtn_ = makeButton(page, "PrintBitBtn", "カード印刷(&P)...", "表示されている組み合わせを申込カードに印刷します。", bx, 130, 82, 26);
    rateBitBtn_ = makeButton(page, "RateBitBtn", "連対率(&T)...", "連対率の画面を表示します。", bx + 86, 130, 66, 26);
    recordBitBtn_ = makeButton(page, "RecordBitBtn", "当選履歴(&R)...", "過去の当選結果の表示を行います。", bx, 160, 82, 26);
    connect(recordBitBtn_, &QPushButton::clicked, this, &TMainForm::RecordBitBtnClick);
    connect(lotBitBtn_, &QPushButton::clicked, this, &TMainForm::LotBitBtnClick);
    connect(combiBitBtn_, &QPushButton::clicked, this, &TMainForm::CombiBitBtnClick);
    connect(sortBitBtn_, &QPushButton::clicked, this, &TMainForm::SortBitBtnClick);
    connect(rateBitBtn_, &QPushButton::clicked, this, &TMainForm::RateBitBtnClick);
    connect(saveBitBtn_, &QPushButton::clicked, this, &TMainForm::SaveClick);
    connect(loadBitBtn_, &QPushButton::clicked, this, &TMainForm::LoadClick);
    for (QPushButton* b : {editBitBtn_, printBitBtn_})
        b->setEnabled(false);

    // Prize check.
    auto* prize = new QGroupBox(u8("当選確認"), page);
    prize->setObjectName("PrizeCheckGroupBox");
    prize->setGeometry(336, 2, 150, 258);
    prizeCheckBox_ = new QCheckBox(u8("第              回"), prize);
    prizeCheckBox_->setObjectName("PrizeCheckBox");
    prizeCheckBox_->setChecked(true);
    prizeCheckBox_->setGeometry(8, 18, 134, 22);
    setHint(prizeCheckBox_, "既存の当選結果を使用するかどうかを指定します。");
    prizeMemo_ = new QLineEdit(u8("9999"), prize);
    prizeMemo_->setObjectName("PrizeMemo");
    prizeMemo_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const auto [roundLeft, roundWidth] = captionGap(QFontMetrics(font()), prizeCheckBox_->text(), 8 + 20);
    prizeMemo_->setGeometry(roundLeft + 1, 18, roundWidth - 16, 22);
    setHint(prizeMemo_, "いつの当選結果を使用するかを指定します。");
    applyEditConventions(prizeMemo_, EditKind::Numeric);
    prizeUpDown_ = new UpDown(prizeMemo_, 1, 1, 1, prize);
    prizeUpDown_->setObjectName("PrizeUpDown");
    prizeUpDown_->setGeometry(roundLeft + roundWidth - 15, 18, 14, 22);
    setHint(prizeUpDown_, "いつの当選結果を使用するかを指定します。");
    prizeBitBtn_ = makeButton(prize, "PrizeBitBtn", "当選確認(&V)", "当選確認を行います。", 8, 44, 134, 24);
    connect(prizeBitBtn_, &QPushButton::clicked, this, &TMainForm::PrizeBitBtnClick);
    connect(prizeCheckBox_, &QCheckBox::clicked, this, &TMainForm::PrizeCheckBoxClick);
    connect(prizeMemo_, &QLineEdit::textChanged, this, &TMainForm::PrizeMemoChange);
    for (int g = 0; g < 5; ++g) {
        const int y = 74 + g * 24;
        gradeLabel_[static_cast<std::size_t>(g)] = makeLabel(prize, kGradeCaptions[g], 10, y + 3, 130, 16);
        gradeLabel_[static_cast<std::size_t>(g)]->setObjectName(QStringLiteral("Grade%1Label").arg(g + 1));
        const auto [gapLeft, gapWidth] = captionGap(QFontMetrics(font()), u8(kGradeCaptions[g]), 10);
        gradeMemo_[static_cast<std::size_t>(g)] = makeReadOnlyField(
            prize, QStringLiteral("Grade%1Memo").arg(g + 1).toLatin1().constData(), kGradeMemoHints[g], gapLeft + 2, y,
            gapWidth - 4, 22);
    }
    auto* moneyLabel = makeLabel(prize, "当選金額", 10, 198, 60, 16);
    moneyLabel->setObjectName("MoneyLabel");
    moneyMemo_ = makeReadOnlyField(prize, "MoneyMemo", "当選金額を表示します。", 8, 216, 134, 22);

    buildBoard(page);
}

void TMainForm::buildBoard(QWidget* page) {
    roleGroup_ = new QButtonGroup(page);
    const QFontMetrics fm(font());
    for (int role = 0; role < kRoleCount; ++role) {
        const RoleControl& rc = kRoles[role];
        const int y = 6 + role * 26;
        auto* radio = new QRadioButton(u8(rc.caption), page);
        radio->setObjectName(rc.radio);
        radio->setGeometry(490, y, 112, 22);
        setHint(radio, rc.hint);
        roleGroup_->addButton(radio, role);
        roleRadioButtons_[static_cast<std::size_t>(role)] = radio;
        // The counter sits in the blank run of the caption.
        const auto [gapLeft, gapWidth] = captionGap(fm, u8(rc.caption), 490 + 20);
        auto* memo = new QLineEdit(page);
        memo->setObjectName(rc.memo);
        memo->setReadOnly(true);
        memo->setFocusPolicy(Qt::NoFocus);
        memo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QFont bold = font();
        bold.setBold(true);
        memo->setFont(bold);
        memo->setStyleSheet(QStringLiteral("QLineEdit { %1 }").arg(QString::fromLatin1(rc.style)));
        memo->setGeometry(gapLeft + 1, y + 1, gapWidth - 2, 20);
        roleMemos_[static_cast<std::size_t>(role)] = memo;
    }
    connect(roleGroup_, &QButtonGroup::idClicked, this, [this](int role) { SelRadioButtonClick(role); });
    roleRadioButtons_[Together]->setChecked(true);

    for (int n = 1; n <= kBoardSize; ++n) {
        auto* panel = new NumPanel(n, page);
        const int column = (n - 1) / 10, row = (n - 1) % 10;
        panel->move(604 + column * 24, 4 + row * 24);
        setHint(panel, "ボタンを押すと各数字の候補／非候補が切り替わります。");
        connect(panel, &NumPanel::clicked, this, &TMainForm::NumPanelClick);
        numPanels_[static_cast<std::size_t>(n - 1)] = panel;
    }
    allowAllUpSpeedButton_ = new QToolButton(page);
    allowAllUpSpeedButton_->setObjectName("AllowAllUpSpeedButton");
    allowAllUpSpeedButton_->setText(u8("解除"));
    allowAllUpSpeedButton_->setGeometry(604 + 4 * 24, 4 + 3 * 24 + 2, 23, 22);
    setHint(allowAllUpSpeedButton_, "選択数字を一括解除します。");
    connect(allowAllUpSpeedButton_, &QToolButton::clicked, this, &TMainForm::AllowAllUpSpeedButtonClick);
}

void TMainForm::LotoRadioButtonClick(int gameTag) {
    const GameMode mode = gameTag == static_cast<int>(GameMode::Loto6) ? GameMode::Loto6 : GameMode::MiniLoto;
    if (waitWindowBusy()) {
        // The list must not change under a running bulk operation.
        applyGameToWindow();
        return;
    }
    const int role = session_.board().currentRole();
    session_.switchGame(mode);
    applyGameToWindow();
    ClearBitBtnClick();
    calcPage_->setGame(mode);
    RefreshRoleCounts();
    ResetPrizeDisplay();
    loadHistoryForGame();
    rateForm_->refill(session_.history(), mode);
    SelectRole(role);
}

void TMainForm::gameRadioButtonClicked(int gameTag) {
    if (gameTag == static_cast<int>(session_.mode())) return;
    // The switch discards the list: unsaved work is asked about first, and
    // Cancel keeps the game in force with its radio button.
    if (waitWindowBusy() || !confirmDiscard()) {
        applyGameToWindow();
        return;
    }
    LotoRadioButtonClick(gameTag);
}

void TMainForm::applyGameToWindow() {
    const GameMode mode = session_.mode();
    const bool loto6 = mode == GameMode::Loto6;
    (loto6 ? loto6RadioButton_ : miniLotoRadioButton_)->setChecked(true);
    for (int n = 32; n <= kBoardSize; ++n) numPanels_[static_cast<std::size_t>(n - 1)]->setVisible(loto6);
    const QString title = QString::fromStdString(tambor::windowTitle(mode));
    setWindowTitle(title);
    if (trayIcon_) trayIcon_->setToolTip(title);
    gradeLabel_[4]->setVisible(loto6);
    gradeMemo_[4]->setVisible(loto6);
    repaintBoard();
}

void TMainForm::ClearBitBtnClick() {
    if (waitWindowBusy()) return;
    ResetPrizeDisplay();
    session_.clearList();
    if (searchModel_) searchModel_->setLines({});
    if (resultModel_) resultModel_->setLines({});  // the report starts again with the draw statistics
    showListChanges();
}

void TMainForm::DupClearBitBtnClick() {
    if (waitWindowBusy()) return;
    session_.list().clearDuplicates();
    dupModel_->refresh();
}

void TMainForm::showListChanges() {
    pickModel_->refresh();
    if (dupModel_) dupModel_->refresh();
    const auto count = static_cast<std::int64_t>(session_.list().size());
    pickMemo_->setText(QString::fromStdString(FormatJapaneseCount(count)));
    if (count > 0) pickListBox_->scrollTo(pickModel_->index(static_cast<int>(count - 1)), QAbstractItemView::PositionAtTop);
    if (dupModel_ && dupModel_->rowCount() > 0)
        dupListBox_->scrollTo(dupModel_->index(dupModel_->rowCount() - 1), QAbstractItemView::PositionAtTop);
}

void TMainForm::ResetPrizeDisplay() {
    for (QLineEdit* memo : gradeMemo_) memo->setText(u8("--"));
    moneyMemo_->setText(u8("-- 円"));
}

void TMainForm::SelRadioButtonClick(int role) {
    session_.board().setCurrentRole(role);
    repaintBoard();
}

void TMainForm::SelectRole(int role) {
    roleRadioButtons_[static_cast<std::size_t>(role)]->setChecked(true);
    SelRadioButtonClick(role);
}

void TMainForm::NumPanelClick(int number, bool rightButton) {
    if (waitWindowBusy()) return;
    NumberBoard& board = session_.board();
    if (!board.canToggle(number, rightButton)) return;
    const int role = board.currentRole();
    if (role == Main || role == Bonus) {
        ResetPrizeDisplay();
        prizeCheckBox_->setChecked(false);
    }
    board.toggle(number, rightButton);
    repaintBoard();
    RefreshRoleCounts();
}

void TMainForm::AllowAllUpSpeedButtonClick() {
    if (waitWindowBusy()) return;
    NumberBoard& board = session_.board();
    if (board.currentRole() == Main || board.currentRole() == Bonus) {
        ResetPrizeDisplay();
        prizeCheckBox_->setChecked(false);
    }
    board.clearCurrentRole();
    repaintBoard();
    RefreshRoleCounts();
}

void TMainForm::RSystemCheckBoxClick() {
    const bool on = rSystemCheckBox_->isChecked();
    arrangeModeLabel_->setEnabled(on);
    arrangeModeComboBox_->setEnabled(on);
    session_.board().setRSystem(on);
    if (on && roleRadioButtons_[Axis]->isChecked()) SelectRole(Together);
    roleRadioButtons_[Axis]->setEnabled(!on);
    repaintBoard();
    RefreshRoleCounts();
}

void TMainForm::RefreshRoleCounts() {
    NumberBoard& board = session_.board();
    board.refreshCounts();
    for (int role = 0; role < kRoleCount; ++role)
        roleMemos_[static_cast<std::size_t>(role)]->setText(QString::number(board.count(role)));
    combiMemo_->setText(QString::fromStdString(FormatJapaneseCount(board.builderLineCount())));
    if (calcPage_) calcPage_->setCandidateCount(board.count(Axis) + board.count(Together));
}

void TMainForm::repaintBoard() {
    const NumberBoard& board = session_.board();
    for (int n = 1; n <= kBoardSize; ++n) {
        const Rgb c = board.roleColour(n);
        numPanels_[static_cast<std::size_t>(n - 1)]->setDiscColour(QColor(c.r, c.g, c.b));
    }
}


}  // namespace tambor::ui
