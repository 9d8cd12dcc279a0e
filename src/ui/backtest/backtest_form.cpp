#include "ui/backtest/backtest_form.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "calc/purchase_calculator.h"
#include "core/japanese_count.h"
#include "io/clipboard_text.h"
#include "session/refusals.h"
#include "ui/backtest/backtest_chart.h"
#include "ui/backtest/backtest_table_model.h"
#include "ui/common/edit_conventions.h"
#include "ui/common/fonts.h"
#include "ui/common/message_box.h"
#include "ui/common/session_model.h"
#include "ui/common/tool_window.h"
#include "ui/common/up_down.h"
#include "ui/common/wait_form.h"
#include "ui/common/round_field.h"
#include "ui/common/widget_helpers.h"

namespace tambor::ui {
namespace {

const char* const kGradeCaptions[kMaxGrades] = {"１等", "２等", "３等", "４等", "５等", "６等"};
const char* const kGradeHints[kMaxGrades] = {
    "範囲の中で１等が何本当選したかを表示します。", "範囲の中で２等が何本当選したかを表示します。",
    "範囲の中で３等が何本当選したかを表示します。", "範囲の中で４等が何本当選したかを表示します。",
    "範囲の中で５等が何本当選したかを表示します。", "範囲の中で６等が何本当選したかを表示します。"};

QString text(const std::string& s) { return QString::fromStdString(s); }

QString count(std::int64_t value, const char* unit) { return text(FormatJapaneseCount(value)) + u8(unit); }

std::string joined(const std::vector<std::string>& cells, char separator) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line += separator;
        line += cells[i];
    }
    return line;
}

QLabel* label(QWidget* parent, const char* caption) {
    auto* l = new QLabel(u8(caption), parent);
    return l;
}

// A summary field as wide as the widest text it shows (in the window's
// font, with the field's frame and margins).
QLineEdit* field(QWidget* parent, const char* objectName, const char* hint, const char* widest) {
    QLineEdit* edit = makeReadOnlyField(parent, objectName, hint, 0, 0, 10, 22);
    const int text = QFontMetrics(parent->font()).horizontalAdvance(u8(widest));
    edit->setMinimumWidth(text + 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 4 + 4);
    return edit;
}

}  // namespace

// One end of the range: the round's field and its spinner, side by side.
void TBacktestForm::addRoundField(QHBoxLayout* row, QLineEdit*& memo, UpDown*& upDown, const char* memoName,
                                  const char* upDownName, const char* hint) {
    memo = new QLineEdit(this);
    memo->setObjectName(QString::fromLatin1(memoName));
    memo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    memo->setFixedWidth(48);
    setHint(memo, hint);
    applyEditConventions(memo, EditKind::Numeric);
    upDown = new UpDown(memo, 1, 1, 1, this);
    upDown->setObjectName(QString::fromLatin1(upDownName));
    upDown->setFixedSize(14, 22);
    setHint(upDown, hint);
    row->addWidget(memo);
    row->addWidget(upDown);
}

TBacktestForm::TBacktestForm(SessionModel& model, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      model_(model) {
    setObjectName(QStringLiteral("TBacktestForm"));
    setWindowTitle(u8("過去の当選結果との照合"));
    setHint(this, "過去の当選結果との照合画面");
    setFont(windowFont());
    auto* layout = new QVBoxLayout(this);

    // The list and the range of rounds.
    auto* top = new QHBoxLayout;
    listLabel_ = new QLabel(this);
    listLabel_->setObjectName(QStringLiteral("BacktestListLabel"));
    top->addWidget(listLabel_);
    top->addStretch(1);
    top->addWidget(label(this, "第"));
    addRoundField(top, fromMemo_, fromUpDown_, "BacktestFromMemo", "BacktestFromUpDown", "照合を始める回を指定します。");
    top->addWidget(label(this, "回 ～ 第"));
    addRoundField(top, toMemo_, toUpDown_, "BacktestToMemo", "BacktestToUpDown", "照合を終える回を指定します。");
    top->addWidget(label(this, "回"));
    allBitBtn_ = makeButton(this, "BacktestAllBitBtn", "全期間(&A)", "すべての回を照合の範囲にします。", 0, 0, 72, 24);
    top->addWidget(allBitBtn_);
    layout->addLayout(top);

    // The summary of the range.
    auto* summary = new QGridLayout;
    summary->addWidget(label(this, "照合回数"), 0, 0);
    // The widest texts: every round of a long history, and the money of a
    // list of 99,999 lines over it (hundreds of 億 yen, every digit used).
    drawsMemo_ = field(this, "BacktestDrawsMemo", "範囲の中の回数を表示します。", "8888回");
    summary->addWidget(drawsMemo_, 0, 1);
    summary->addWidget(label(this, "当選金額"), 0, 2);
    moneyMemo_ = field(this, "BacktestMoneyMemo", "範囲の中の当選金額の合計を表示します。", "約 888億8888万8888円");
    summary->addWidget(moneyMemo_, 0, 3, 1, 3);
    summary->addWidget(label(this, "購入金額"), 0, 6);
    costMemo_ =
        field(this, "BacktestCostMemo", "範囲のすべての回に一覧の組み合わせを購入した金額を表示します。", "888億8888万8800円");
    summary->addWidget(costMemo_, 0, 7, 1, 2);
    summary->addWidget(label(this, "回収率"), 0, 9);
    returnMemo_ = field(this, "BacktestReturnMemo", "購入金額に対する当選金額の割合を表示します。", "8888.8%");
    summary->addWidget(returnMemo_, 0, 10);
    for (int g = 0; g < kMaxGrades; ++g) {
        const auto gi = static_cast<std::size_t>(g);
        gradeLabel_[gi] = label(this, kGradeCaptions[g]);
        gradeLabel_[gi]->setObjectName(QStringLiteral("BacktestGrade%1Label").arg(g + 1));
        gradeMemo_[gi] =
            field(this, QStringLiteral("BacktestGrade%1Memo").arg(g + 1).toLatin1().constData(), kGradeHints[g],
                  "8888万8888本");
        summary->addWidget(gradeLabel_[gi], 1, g * 2);
        summary->addWidget(gradeMemo_[gi], 1, g * 2 + 1);
    }
    summary->addWidget(label(this, "最高当選"), 2, 0);
    bestMemo_ = field(this, "BacktestBestMemo", "範囲の中で当選金額が最も多かった回を表示します。",
                      "第8888回（R88.88.88） 約 88億8888万8888円");
    bestMemo_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    summary->addWidget(bestMemo_, 2, 1, 1, 5);
    rangeLabel_ = new QLabel(this);
    rangeLabel_->setObjectName(QStringLiteral("BacktestRangeLabel"));
    rangeLabel_->setStyleSheet(QStringLiteral("color: #b00000"));
    summary->addWidget(rangeLabel_, 2, 6, 1, 5);
    summary->setColumnStretch(2 * kMaxGrades, 1);
    layout->addLayout(summary);

    // The table and the chart.
    table_ = new BacktestTableModel(this);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("BacktestGrid"));
    setHint(grid_, "回ごとの照合結果を表示します。ダブルクリックでその回の当選確認を行います。");
    grid_->setModel(table_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setWordWrap(false);
    grid_->setAlternatingRowColors(true);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 6);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    grid_->installEventFilter(this);
    layout->addWidget(grid_, 3);
    chart_ = new BacktestChart(this);
    chart_->setObjectName(QStringLiteral("BacktestChart"));
    setHint(chart_, "回ごとの当選金額（対数目盛）と１回の購入金額を表示します。クリックでその回を表で選択します。");
    layout->addWidget(chart_, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    saveBitBtn_ =
        makeButton(this, "BacktestSaveBitBtn", "CSV保存(&S)...", "表をCSV形式のファイルに保存します。", 0, 0, 96, 26);
    closeBitBtn_ = makeButton(this, "BacktestCloseBitBtn", "閉じる", "この画面を閉じます。", 0, 0, 80, 26);
    for (QPushButton* b : {saveBitBtn_, closeBitBtn_}) {
        b->setMinimumSize(b->size());
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    // The table's pop-up menu, after the list menus: copy and select all,
    // and saving as CSV.
    popupMenu_ = new QMenu(this);
    popupMenu_->setObjectName(QStringLiteral("BacktestPopupMenu"));
    copy_ = popupMenu_->addAction(u8("コピー(&C)"));
    copy_->setObjectName(QStringLiteral("BacktestCopy"));
    copy_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    setHint(copy_, "選択した行をタブ区切りでクリップボードにコピーします。");
    popupMenu_->addSeparator();
    selectAll_ = popupMenu_->addAction(u8("すべて選択(&A)"));
    selectAll_->setObjectName(QStringLiteral("BacktestSelectAll"));
    selectAll_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    setHint(selectAll_, "この表のすべての行を選択します。");
    popupMenu_->addSeparator();
    save_ = popupMenu_->addAction(u8("CSV形式で保存(&S)..."));
    save_->setObjectName(QStringLiteral("BacktestSaveCsv"));
    setHint(save_, "表をCSV形式のファイルに保存します。");
    for (QAction* a : {copy_, selectAll_}) a->setShortcutContext(Qt::WidgetShortcut);

    recountTimer_ = new QTimer(this);
    recountTimer_->setSingleShot(true);
    connect(recountTimer_, &QTimer::timeout, this, [this] {
        if (!isVisible() || !stale_) return;
        if (recount()) {
            // New draws (or another game): the range is the whole history again.
            if (resetRange_) showWholeHistory();
            resetRange_ = false;
            applyRange();
        } else if (!recountTimer_->isActive()) {
            hide();  // stopped: nothing current to show
        }
    });

    connect(fromMemo_, &QLineEdit::textChanged, this, &TBacktestForm::FromMemoChange);
    connect(toMemo_, &QLineEdit::textChanged, this, &TBacktestForm::ToMemoChange);
    connect(allBitBtn_, &QPushButton::clicked, this, &TBacktestForm::AllBitBtnClick);
    connect(grid_, &QTableView::doubleClicked, this, &TBacktestForm::BacktestGridDblClick);
    connect(grid_, &QTableView::customContextMenuRequested, this,
            [this](const QPoint& pos) { popupMenu_->popup(grid_->viewport()->mapToGlobal(pos)); });
    connect(chart_, &BacktestChart::pointClicked, this, &TBacktestForm::BacktestChartClick);
    connect(popupMenu_, &QMenu::aboutToShow, this, &TBacktestForm::PopupMenuPopup);
    connect(copy_, &QAction::triggered, this, &TBacktestForm::CopyClick);
    connect(selectAll_, &QAction::triggered, this, &TBacktestForm::SelectAllClick);
    connect(save_, &QAction::triggered, this, &TBacktestForm::SaveBitBtnClick);
    connect(saveBitBtn_, &QPushButton::clicked, this, &TBacktestForm::SaveBitBtnClick);
    connect(closeBitBtn_, &QPushButton::clicked, this, &QWidget::close);
    connect(&model_, &SessionModel::changed, this, &TBacktestForm::refresh);
    closeWithEscape(this, model_);
    resize(760, 640);
}

TBacktestForm::~TBacktestForm() { table_->setRows(nullptr, 0, 0); }

void TBacktestForm::showForList() {
    if (model_.busy()) return;
    if ((stale_ || !result_) && !recount()) return;
    showWholeHistory();
    resetRange_ = false;
    applyRange();
    if (!isVisible() && parentWidget()) {
        const QRect owner = parentWidget()->frameGeometry();
        move(owner.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    activateWindow();
}

bool TBacktestForm::recount() {
    if (model_.busy()) {
        recountLater();
        return false;
    }
    const Session& session = model_.session();
    const std::vector<BacktestDraw> draws = readBacktestDraws(session.history());
    BacktestResult counted;
    {
        LongOperation op(model_.waitForm(), true);
        if (!op.started()) {
            recountLater();
            return false;
        }
        counted = RunBacktest(session.list(), draws, op.progress());
    }
    if (!counted.completed) return false;
    // The table reads the result: it lets go before the result changes.
    table_->setRows(nullptr, 0, 0);
    result_ = std::move(counted);
    stale_ = false;
    return true;
}

void TBacktestForm::recountLater() { recountTimer_->start(model_.busy() ? 100 : 0); }

void TBacktestForm::refresh(const Changes& changes) {
    if (!changes.has(Change::List) && !changes.has(Change::Game) && !changes.has(Change::History)) return;
    stale_ = true;
    if (changes.has(Change::Game) || changes.has(Change::History)) resetRange_ = true;
    if (isVisible()) recountLater();
}

void TBacktestForm::showWholeHistory() {
    const int drawCount = result_ ? static_cast<int>(result_->rows.size()) : 0;
    // Wide enough for the newest round, however many draws the file holds.
    for (QLineEdit* memo : {fromMemo_, toMemo_}) memo->setFixedWidth(std::max(48, roundFieldWidth(memo, drawCount)));
    updatingFields_ = true;
    for (UpDown* upDown : {fromUpDown_, toUpDown_}) upDown->setRange(1, std::max(drawCount, 1));
    fromUpDown_->setPosition(1);
    toUpDown_->setPosition(std::max(drawCount, 1));
    updatingFields_ = false;
}

void TBacktestForm::FromMemoChange() {
    if (!updatingFields_) applyRange();
}

void TBacktestForm::ToMemoChange() {
    if (!updatingFields_) applyRange();
}

void TBacktestForm::AllBitBtnClick() {
    showWholeHistory();
    applyRange();
}

void TBacktestForm::applyRange() {
    if (!result_) return;
    const GameMode mode = result_->mode;
    const int drawCount = static_cast<int>(result_->rows.size());
    // Each field as the prize check's round field: clamped to 1..newest and
    // written back; an empty field (being typed into) keeps the last end.
    auto read = [&](QLineEdit* memo, UpDown* upDown, int fallback) {
        const std::string typed = memo->text().toStdString();
        if (typed.empty()) return fallback;
        const int round = RoundFromText(typed, drawCount);
        if (memo->text() != QString::number(round)) {
            updatingFields_ = true;
            upDown->setPosition(round);
            memo->setText(QString::number(round));
            updatingFields_ = false;
        }
        return round;
    };
    const int from = read(fromMemo_, fromUpDown_, range_ ? range_->from : 1);
    const int to = read(toMemo_, toUpDown_, range_ ? range_->to : drawCount);
    const std::optional<RoundRange> range = clampRoundRange(from, to, drawCount);
    range_ = range;

    listLabel_->setText(u8("%1の組み合わせ %2口を照合")
                            .arg(u8(gameName(mode)))
                            .arg(count(static_cast<std::int64_t>(result_->listSize), "")));
    for (int g = 0; g < kMaxGrades; ++g) {
        const bool used = g < prizeGradeCount(mode);
        gradeLabel_[static_cast<std::size_t>(g)]->setVisible(used);
        gradeMemo_[static_cast<std::size_t>(g)]->setVisible(used);
    }
    if (!range) {
        table_->setRows(nullptr, 0, 0);
        chart_->setData({}, 0);
        rangeLabel_->setText(drawCount < 1 ? u8("当選結果がありません。")
                                           : u8("最初の回が最後の回より後になっています。"));
        showSummary();
        return;
    }
    const auto first = static_cast<std::size_t>(range->from - 1);
    const auto end = static_cast<std::size_t>(range->to);
    table_->setRows(&*result_, first, end);
    const QFontMetrics fm(grid_->font());
    const int digits = fm.horizontalAdvance(QStringLiteral("0000000")) + 8;
    grid_->setColumnWidth(0, fm.horizontalAdvance(QStringLiteral("00000")) + 12);
    grid_->setColumnWidth(1, fm.horizontalAdvance(QStringLiteral("H00.00.00")) + 16);
    for (int g = 0; g < prizeGradeCount(mode); ++g) grid_->setColumnWidth(g + 2, digits);
    std::vector<BacktestChart::Point> points;
    points.reserve(end - first);
    for (std::size_t i = first; i < end; ++i) points.push_back({result_->rows[i].round, result_->rows[i].money});
    chart_->setData(std::move(points), static_cast<std::int64_t>(result_->listSize) * rulesFor(result_->mode).price);
    const BacktestSummary s = SummarizeBacktest(*result_, first, end);
    rangeLabel_->setText(s.uncheckedDraws > 0 ? u8("当選番号の揃っていない回が %1 回あります。").arg(s.uncheckedDraws)
                                              : QString());
    showSummary();
}

void TBacktestForm::showSummary() {
    if (!result_ || !range_) {
        drawsMemo_->setText(QStringLiteral("--"));
        for (QLineEdit* memo : gradeMemo_) memo->setText(QStringLiteral("--"));
        moneyMemo_->setText(u8(kPrizeMoneyResetText));
        costMemo_->setText(u8(kPrizeMoneyResetText));
        returnMemo_->setText(QStringLiteral("--"));
        bestMemo_->setText(QStringLiteral("--"));
        return;
    }
    const GameMode mode = result_->mode;
    const BacktestSummary s =
        SummarizeBacktest(*result_, static_cast<std::size_t>(range_->from - 1), static_cast<std::size_t>(range_->to));
    drawsMemo_->setText(count(s.draws, "回"));
    for (int g = 0; g < kMaxGrades; ++g)
        gradeMemo_[static_cast<std::size_t>(g)]->setText(count(s.hits[static_cast<std::size_t>(g)], "本"));
    moneyMemo_->setText(text(FormatPrizeMoney(mode, s.money, fixedGradeHits(mode, s.hits))));
    costMemo_->setText(count(s.cost, "円"));
    returnMemo_->setText(text(FormatReturnPercent(s)));
    if (s.best) {
        const BacktestRow& best = result_->rows[*s.best];
        bestMemo_->setText(u8("第%1回（%2） %3")
                               .arg(best.round)
                               .arg(text(best.date))
                               .arg(text(FormatPrizeMoney(mode, best.money, fixedGradeHits(mode, best.hits)))));
    } else {
        bestMemo_->setText(u8("なし"));
    }
}

void TBacktestForm::BacktestGridDblClick(const QModelIndex& index) {
    if (!index.isValid() || !result_) return;
    // A count that is not current yet is on its way: the same as busy.
    if (stale_) {
        model_.refuse(refusal::kBusy);
        return;
    }
    if (model_.refuseWhenBusy()) return;
    const int round = table_->rowAt(index.row()).round;
    // The main window's prize check, exactly as its own controls run it.
    model_.run([&](Session& s) { return s.selectPrizeRound(std::to_string(round)); });
    if (!model_.session().prizeCheckPossible()) return;
    LongOperation op(model_.waitForm(), true);
    model_.run([&](Session& s) { return s.runPrizeCheck(op.progress()); });
}

void TBacktestForm::BacktestChartClick(int index) {
    if (index < 0 || index >= table_->rowCount()) return;
    grid_->selectRow(index);
    grid_->scrollTo(table_->index(index, 0), QAbstractItemView::PositionAtCenter);
    grid_->setFocus();
}

std::vector<std::size_t> TBacktestForm::selectedRows() const {
    std::vector<std::size_t> rows;
    if (!grid_->selectionModel()) return rows;
    // Ranges rather than single indexes: selecting every row stays cheap.
    for (const QItemSelectionRange& range : grid_->selectionModel()->selection())
        for (int r = range.top(); r <= range.bottom(); ++r)
            rows.push_back(table_->firstRow() + static_cast<std::size_t>(r));
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void TBacktestForm::PopupMenuPopup() {
    // As the list menus: nothing while a command runs; copy needs a selection.
    const bool busy = model_.busy();
    for (QAction* a : {copy_, selectAll_, save_}) a->setVisible(!busy);
    copy_->setEnabled(!selectedRows().empty());
    selectAll_->setEnabled(table_->rowCount() > 0);
    save_->setEnabled(result_.has_value() && range_.has_value());
}

void TBacktestForm::CopyClick() {
    if (model_.refuseWhenBusy() || !result_) return;
    const std::vector<std::size_t> rows = selectedRows();
    if (rows.empty()) {
        model_.refuse(refusal::kNothingSelected);
        return;
    }
    LongOperation op(model_.waitForm(), true);
    // Tab-separated with the headings first, for a spreadsheet.
    std::vector<std::string> lines;
    lines.reserve(rows.size() + 1);
    lines.push_back(joined(backtestHeader(result_->mode), '\t'));
    for (std::size_t r : rows) lines.push_back(joined(backtestRowCells(result_->mode, result_->rows[r]), '\t'));
    op.advance(100);
    QApplication::clipboard()->setText(text(clipboardText(lines)));
}

void TBacktestForm::SelectAllClick() {
    if (model_.refuseWhenBusy()) return;
    grid_->selectAll();
}

void TBacktestForm::SaveBitBtnClick() {
    if (model_.refuseWhenBusy() || !result_ || !range_) return;
    const QString fileName =
        FileDialog::getSaveFileName(this, u8("CSV形式で保存"), u8("CSVファイル (*.csv)"), QStringLiteral("csv"));
    if (fileName.isEmpty()) return;
    try {
        LongOperation op(model_.waitForm(), true);
        saveBacktestCsv(fileName.toStdString(), backtestTable(*result_, static_cast<std::size_t>(range_->from - 1),
                                                              static_cast<std::size_t>(range_->to)));
    } catch (const std::exception& e) {
        MessageBox::error(this, text(e.what()));
    }
}

bool TBacktestForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::ControlModifier && (key->key() == Qt::Key_C || key->key() == Qt::Key_A)) {
            // The keys run a command only when the menu would offer it enabled.
            // (The commands themselves say why when they cannot.)
            if (key->key() == Qt::Key_C)
                CopyClick();
            else
                SelectAllClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tambor::ui
