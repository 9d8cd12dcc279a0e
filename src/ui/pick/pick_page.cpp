#include "ui/pick/pick_page.h"

#include <array>

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>

#include "core/japanese_count.h"
#include "session/refusals.h"
#include "ui/common/combination_list_model.h"
#include "ui/common/edit_conventions.h"
#include "ui/common/message_box.h"
#include "ui/common/session_model.h"
#include "ui/common/shell_open.h"
#include "ui/common/up_down.h"
#include "ui/common/wait_form.h"
#include "ui/common/widget_helpers.h"
#include "ui/pick/file_commands.h"
#include "ui/pick/guarantee_panel.h"
#include "ui/pick/number_board_widget.h"
#include "ui/pick/pick_layout.h"
#include "ui/pick/prize_group.h"

namespace tambor::ui {

using namespace pick_layout;

namespace {
constexpr int kDrawCountDigits = 7;
}

PickPage::PickPage(SessionModel& model, FileCommands& files, QWidget* parent)
    : QWidget(parent), model_(model), files_(files) {
    setObjectName(QStringLiteral("PickPage"));

    // Game.
    auto* lotoGroupBox = new QGroupBox(u8("動作モード設定"), this);
    lotoGroupBox->setObjectName(QStringLiteral("LotoGroupBox"));
    // Two rows: ミニロト and ロト６ side by side as designed, ロト７ below ミニロト.
    lotoGroupBox->setGeometry(kListLeft, 2, kListWidth, 60);
    miniLotoRadioButton_ = new QRadioButton(u8("ミニロト(&M)"), lotoGroupBox);
    miniLotoRadioButton_->setObjectName(QStringLiteral("MiniLotoRadioButton"));
    setHint(miniLotoRadioButton_, "ミニロト用の動作を行います。");
    loto6RadioButton_ = new QRadioButton(u8("ロト６(&6)"), lotoGroupBox);
    loto6RadioButton_->setObjectName(QStringLiteral("Loto6RadioButton"));
    setHint(loto6RadioButton_, "ロト６用の動作を行います。");
    loto7RadioButton_ = new QRadioButton(u8("ロト７(&7)"), lotoGroupBox);
    loto7RadioButton_->setObjectName(QStringLiteral("Loto7RadioButton"));
    setHint(loto7RadioButton_, "ロト７用の動作を行います。");
    miniLotoRadioButton_->setGeometry(8, 16, 78, 20);
    loto6RadioButton_->setGeometry(92, 16, 80, 20);
    loto7RadioButton_->setGeometry(8, 36, 80, 20);
    auto* gameGroup = new QButtonGroup(this);
    gameGroup->addButton(miniLotoRadioButton_, static_cast<int>(GameMode::MiniLoto));
    gameGroup->addButton(loto6RadioButton_, static_cast<int>(GameMode::Loto6));
    gameGroup->addButton(loto7RadioButton_, static_cast<int>(GameMode::Loto7));
    connect(gameGroup, &QButtonGroup::idClicked, this, &PickPage::LotoRadioButtonClick);

    // The combination list.
    pickListBox_ = makeCombinationListView(this, "PickListBox", "数字の組み合わせを表示します。");
    pickListBox_->setGeometry(kListLeft, 66, kListWidth, 140);
    Session& session = model_.session();
    pickModel_ = new CombinationListModel([&session]() -> const std::vector<CombinationIndex>& { return session.list().items(); },
                                          [&session] { return session.mode(); }, pickListBox_);
    pickListBox_->setModel(pickModel_);
    // The count under the list, the clear button below it at the right,
    // whole above the page's lower edge.
    QLabel* countLabel = makeLabel(this, "登録口数", kListLeft, 213, 48, 16);
    pickMemo_ = makeReadOnlyField(this, "PickMemo", "登録されている組み合わせの数を表示します。", kListLeft + 48, 210,
                                  76, 22);
    QLabel* unitLabel = makeLabel(this, "口", kListLeft + 126, 213, 12, 16);
    clearBitBtn_ = makeButton(this, "ClearBitBtn", "クリア(&C)", "すべての組み合わせをクリアします。",
                              kListLeft + kListWidth - 54, 235, 54, 24);
    growth_.add(pickListBox_, Growth::GrowHeight);
    for (QWidget* under : std::initializer_list<QWidget*>{countLabel, pickMemo_, unitLabel, clearBitBtn_})
        growth_.add(under, Growth::FollowBottom);

    // Commands.
    const int bx = kCommandLeft;
    const int bw = kCommandWidth;
    const int cx = kCommandSecond;
    lotBitBtn_ = makeButton(this, "LotBitBtn", "抽選(&D)", "抽選回数だけ組み合わせを追加します。", bx, 6, bw, 26);
    lotMemo_ = new QLineEdit(this);
    lotMemo_->setObjectName(QStringLiteral("LotMemo"));
    lotMemo_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Seven digits at most, all of them in view: more draws than there are
    // ロト６ combinations (609万6454) can be asked for, and are shown whole.
    lotMemo_->setMaxLength(kDrawCountDigits);
    lotMemo_->setGeometry(cx, 8, 60, 22);
    setHint(lotMemo_, "１度に行う抽選回数を入力します。");
    applyEditConventions(lotMemo_, EditKind::Numeric);
    lotUpDown_ = new UpDown(lotMemo_, kDefaultDrawCountMin, kDefaultDrawCountMax, 50, this);
    lotUpDown_->setObjectName(QStringLiteral("LotUpDown"));
    lotUpDown_->setGeometry(cx + 60, 8, 14, 22);
    setHint(lotUpDown_, "１度に行う抽選回数を入力します。");
    makeLabel(this, "回", cx + 76, 12, 12, 16);

    combiBitBtn_ = makeButton(this, "CombiBitBtn", "組み合わせ(&E)",
                              "右側のボタンで選択されている数字の全ての組み合わせを追加します。", bx, 36, bw, 26);
    combiMemo_ = makeReadOnlyField(this, "CombiMemo",
                                   "右側のボタンで選択されている数字の組み合わせが何通りあるかを表示します。", cx, 38, 66,
                                   22);
    makeLabel(this, "通り", cx + 67, 42, 22, 16)->setObjectName(QStringLiteral("CombiLabel"));

    sortBitBtn_ = makeButton(this, "SortBitBtn", "並べ替え(&O)", "登録されている組み合わせの並べ替えを行います。", bx, 70, bw, 26);
    editBitBtn_ = makeButton(this, "EditBitBtn", "編集(&I)...", "抽選結果を編集する画面を開きます。", cx, 70, bw, 26);
    saveBitBtn_ = makeButton(this, "SaveBitBtn", "保存(&S)...", "表示されている組み合わせをファイルに保存します。", bx, 100, bw, 26);
    loadBitBtn_ = makeButton(this, "LoadBitBtn", "読み込み(&L)...", "ファイルから組み合わせを読み込みます。", cx, 100, bw, 26);
    printBitBtn_ = makeButton(this, "PrintBitBtn", "カード印刷(&P)...", "表示されている組み合わせを申込カードに印刷します。", bx,
                              130, bw, 26);
    rateBitBtn_ = makeButton(this, "RateBitBtn", "連対率(&T)...", "連対率の画面を表示します。", cx, 130, bw, 26);
    recordBitBtn_ = makeButton(this, "RecordBitBtn", "当選履歴(&R)...", "過去の当選結果の表示を行います。", bx, 160, bw, 26);
    filterBitBtn_ = makeButton(this, "FilterBitBtn", "絞り込み(&F)...",
                               "抽選と組み合わせで一覧に加える組み合わせの条件（合計、奇数の個数など）を設定する画面を開きます。",
                               bx, 190, bw, 26);
    // Its caption is the longest of the column: it takes the gap before the
    // prize-check group.
    analysisBitBtn_ = makeButton(this, "AnalysisBitBtn", "数字の分析(&Y)...",
                                 "数字ごとの出現回数と出現間隔を表示する画面を開きます。", cx, 190, bw + 4, 26);
    // The same cards as a PDF file; its letter differs from the menu item's,
    // whose D is this page's 抽選. Nothing stands beside it: it takes the
    // width its caption needs.
    savePdfBitBtn_ = makeButton(this, "SavePdfBitBtn", "PDF に保存(&A)...",
                                "表示されている組み合わせを申込カードの形で PDF ファイルに保存します（選択があれば選択した組み合わせ）。",
                                bx, 220, bw + 8, 26);

    connect(clearBitBtn_, &QPushButton::clicked, this, &PickPage::ClearBitBtnClick);
    connect(lotBitBtn_, &QPushButton::clicked, this, &PickPage::LotBitBtnClick);
    connect(combiBitBtn_, &QPushButton::clicked, this, &PickPage::CombiBitBtnClick);
    connect(sortBitBtn_, &QPushButton::clicked, this, &PickPage::SortBitBtnClick);
    connect(editBitBtn_, &QPushButton::clicked, this, &PickPage::EditBitBtnClick);
    connect(&model_, &SessionModel::listEditingChanged, this, &PickPage::listEditingChanged);
    connect(recordBitBtn_, &QPushButton::clicked, this, &PickPage::RecordBitBtnClick);
    connect(rateBitBtn_, &QPushButton::clicked, this, &PickPage::rateFormWanted);
    connect(filterBitBtn_, &QPushButton::clicked, this, &PickPage::filterFormWanted);
    connect(analysisBitBtn_, &QPushButton::clicked, this, &PickPage::analysisFormWanted);
    connect(saveBitBtn_, &QPushButton::clicked, &files_, &FileCommands::SaveClick);
    connect(loadBitBtn_, &QPushButton::clicked, &files_, &FileCommands::LoadClick);
    connect(&files_, &FileCommands::listPageWanted, this, [this] { bringPageToFront(this); });
    connect(&files_, &FileCommands::listLoaded, pickListBox_, [this] { pickListBox_->setFocus(); });

    new GuaranteePanel(model_, this);
    prizeGroup_ = new PrizeGroup(model_, this);
    board_ = new NumberBoardWidget(model_, this);

    connect(&model_, &SessionModel::changed, this, &PickPage::refresh);
    refresh(Changes::everything());
}

void PickPage::LotoRadioButtonClick(int gameTag) {
    const GameMode mode = isGameNumber(gameTag) ? static_cast<GameMode>(gameTag) : GameMode::MiniLoto;
    // The switch discards the list: nothing while a command works on it,
    // and unsaved work is asked about first. Either refusal puts the radio
    // buttons back on the game in force.
    if (mode == model_.session().mode() || model_.refuseWhenBusy() || !files_.confirmDiscard()) {
        refresh(Change::Game);
        return;
    }
    model_.run([mode](Session& s) { return s.switchGame(mode); });
}

void PickPage::ClearBitBtnClick() {
    if (model_.refuseListChange()) return;
    model_.run([](Session& s) { return s.clearList(); });
}

void PickPage::finishListCommand(QWidget* commandButton) {
    bringPageToFront(this);
    pickListBox_->setFocus();
    commandButton->setFocus();
}

void PickPage::LotBitBtnClick() {
    if (model_.refuseListChange()) return;
    const int count = parseDrawCount(lotMemo_->text().toStdString());
    lotMemo_->setText(QString::number(count));
    {
        LongOperation op(model_.waitForm(), true);
        model_.run([&](Session& s) { return s.randomDraw(count, op.progress()); });
    }
    finishListCommand(lotBitBtn_);
}

void PickPage::CombiBitBtnClick() {
    const NumberBoard& board = model_.session().board();
    const int pick = model_.session().rules().pickCount;
    if (board.count(Axis) + board.count(Together) < pick) {
        model_.refuse(QString::fromStdString(refusal::tooFewToBuild(pick)));
        return;
    }
    if (model_.refuseListChange()) return;
    {
        LongOperation op(model_.waitForm(), true);
        model_.run([&](Session& s) { return s.buildCombinations(op.progress()); });
    }
    finishListCommand(combiBitBtn_);
}

void PickPage::SortBitBtnClick() {
    if (model_.refuseListChange()) return;
    if (model_.session().list().empty()) {
        model_.refuse(refusal::kNothingToSort);
        return;
    }
    {
        LongOperation op(model_.waitForm(), true);
        model_.run([&](Session& s) { return s.sortList(op.progress()); });
    }
    finishListCommand(sortBitBtn_);
}

void PickPage::EditBitBtnClick() {
    if (model_.refuseListChange()) return;
    if (model_.session().list().empty()) {
        MessageBox::warning(this, u8("数字の組み合わせがないので編集できません。"));
        return;
    }
    emit editFormWanted();
}

void PickPage::listEditingChanged(bool editing) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{miniLotoRadioButton_, loto6RadioButton_, loto7RadioButton_, editBitBtn_, lotBitBtn_, combiBitBtn_,
                                         clearBitBtn_, loadBitBtn_, sortBitBtn_})
        control->setEnabled(!editing);
}

QRadioButton* PickPage::gameRadioButton(GameMode mode) const {
    const std::array<QRadioButton*, kGameCount> buttons{miniLotoRadioButton_, loto6RadioButton_, loto7RadioButton_};
    return buttons[static_cast<std::size_t>(mode)];
}

void PickPage::RecordBitBtnClick() { emit historyFormWanted(); }

void PickPage::refresh(const Changes& changes) {
    const Session& session = model_.session();
    if (changes.has(Change::Game))
        gameRadioButton(session.mode())->setChecked(true);
    if (changes.has(Change::List)) {
        pickModel_->refresh();
        const auto count = static_cast<std::int64_t>(session.list().size());
        pickMemo_->setText(QString::fromStdString(FormatJapaneseCount(count)));
        // The newest lines show: the last line at the top.
        if (count > 0)
            pickListBox_->scrollTo(pickModel_->index(static_cast<int>(count - 1)), QAbstractItemView::PositionAtTop);
    }
    if (changes.has(Change::Board) || changes.has(Change::Game) || changes.has(Change::Options))
        combiMemo_->setText(QString::fromStdString(FormatJapaneseCount(session.builderLineCount())));
    if (changes.has(Change::DrawCount)) lotUpDown_->setPosition(session.options().defaultDrawCount);
    if (changes.has(Change::Options) || changes.has(Change::Board) || changes.has(Change::Game)) showFilterState();
}

void PickPage::showFilterState() {
    const Session& session = model_.session();
    const bool on = session.filterSettings().anyEnabled();
    const bool unusedByBuilder = on && session.board().rSystem();
    QFont font = filterBitBtn_->font();
    font.setBold(on);
    font.setStrikeOut(unusedByBuilder);
    filterBitBtn_->setFont(font);
    if (unusedByBuilder)
        setHint(filterBitBtn_, "絞り込み条件の画面を開きます。Rシステムを使用中は、組み合わせの作成に条件を使いません"
                               "（抽選には使います）。");
    else if (on)
        setHint(filterBitBtn_, "絞り込み条件の画面を開きます。抽選と組み合わせは条件を満たす組み合わせだけを一覧に加えます。");
    else
        setHint(filterBitBtn_,
                "抽選と組み合わせで一覧に加える組み合わせの条件（合計、奇数の個数など）を設定する画面を開きます。");
}

}  // namespace tambor::ui
