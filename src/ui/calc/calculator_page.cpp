#include "ui/calc/calculator_page.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <algorithm>

#include "ui/common/edit_conventions.h"
#include "ui/common/fonts.h"
#include "ui/common/session_model.h"
#include "ui/common/string_grid.h"
#include "ui/common/up_down.h"
#include "ui/common/widget_helpers.h"

namespace tambor::ui {
namespace {

constexpr int kMargin = 8;
constexpr int kFieldHeight = 22;
constexpr const char* kPickHint = "組み合わせの候補を何個にするかを入力します。";

QLabel* makeNamedLabel(QWidget* parent, const char* objectName, const char* text) {
    QLabel* label = makeLabel(parent, text, 0, 0, 10, 16);
    label->setObjectName(QString::fromLatin1(objectName));
    return label;
}

}  // namespace

CalculatorPage::CalculatorPage(SessionModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName(QStringLiteral("CalculatorPage"));

    nMemo_ = new QLineEdit(this);
    nMemo_->setObjectName(QStringLiteral("nMemo"));
    nMemo_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Read-only, in the button colour: n is chosen with the spinner (its
    // arrows, the arrow keys in the field, the wheel) or follows the board.
    nMemo_->setReadOnly(true);
    QPalette memoPalette = nMemo_->palette();
    memoPalette.setColor(QPalette::Base, memoPalette.color(QPalette::Button));
    nMemo_->setPalette(memoPalette);
    setHint(nMemo_, kPickHint);
    applyEditConventions(nMemo_, EditKind::Numeric);
    nUpDown_ = new UpDown(nMemo_, 5, 31, 5, this);
    nUpDown_->setObjectName(QStringLiteral("nUpDown"));
    setHint(nUpDown_, kPickHint);

    nCrLabel1_ = makeNamedLabel(this, "nCrLabel1", "個の中から5個を選ぶ組み合わせの数は");
    nCrMemo_ = makeReadOnlyField(this, "nCrMemo", "選んだ数字の組み合わせの数を表示します。", 0, 0, 10, kFieldHeight);
    nCrLabel2_ = makeNamedLabel(this, "nCrLabel2", "通りです。");
    nCrLabel3_ = makeNamedLabel(this, "nCrLabel3", "全て購入するためには");
    totalMemo_ = makeReadOnlyField(this, "TotalMemo", "全ての組み合わせを購入するために必要な金額を表示します。", 0, 0, 10,
                                   kFieldHeight);
    nCrLabel4_ = makeNamedLabel(this, "nCrLabel4", "円必要です。");

    stringGrid_ = new StringGrid(this);
    stringGrid_->setObjectName(QStringLiteral("StringGrid"));
    stringGrid_->setFont(fixedPitchFont(12));
    stringGrid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    stringGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    stringGrid_->setFocusPolicy(Qt::NoFocus);
    setHint(stringGrid_, "全ての組み合わせを購入したときの確率を表示します。");
    stringGrid_->setCellDrawer([this](QPainter& painter, int column, int row, const QRect& rect) {
        StringGridDrawCell(painter, column, row, rect);
    });

    connect(nMemo_, &QLineEdit::textChanged, this, [this] { nMemoChange(); });
    connect(nUpDown_, &UpDown::positionChanged, this, [this] { nUpDownClick(); });

    resize(723, 268);
    connect(&model_, &SessionModel::changed, this, &CalculatorPage::refresh);
    refresh(Changes::everything());
}

void CalculatorPage::refresh(const Changes& changes) {
    const Session& session = model_.session();
    if (changes.has(Change::Options)) setProbabilityView(session.options().probabilityView);
    if (changes.has(Change::Game)) setGame(session.mode());
    if (changes.has(Change::Board) || changes.has(Change::Game))
        setCandidateCount(session.board().count(Axis) + session.board().count(Together));
}

int CalculatorPage::n() const { return nUpDown_->position(); }

void CalculatorPage::setGame(GameMode mode) {
    mode_ = mode;
    gameSet_ = true;
    const GameRules rules = rulesFor(mode);
    updating_ = true;
    nUpDown_->setRange(rules.pickCount, rules.maxNumber);
    updating_ = false;
    nCrLabel1_->setText(QString::fromStdString(calculatorPickLabel(mode)));
    LayoutCalculatorGrid();
    nMemoChange();
}

void CalculatorPage::setCandidateCount(int candidates) {
    candidates_ = candidates;
    if (!gameSet_) return;
    updating_ = true;
    nUpDown_->setPosition(std::max(candidates, rulesFor(mode_).pickCount));
    updating_ = false;
    nMemoChange();
}

void CalculatorPage::setProbabilityView(ProbabilityView view) {
    if (view == view_) return;
    view_ = view;
    nMemoChange();
}

void CalculatorPage::nUpDownClick() { nMemoChange(); }

void CalculatorPage::nMemoChange() {
    if (!gameSet_ || updating_) return;
    const int n = CalculatorPickFromText(nMemo_->text().toStdString(), mode_, candidates_);
    // Writes n back (a text that is not a number, or out of range, is replaced).
    updating_ = true;
    nUpDown_->setPosition(n);
    updating_ = false;

    const tambor::CalculatorPage page = ComputeCalculator(mode_, n, view_);
    nCrMemo_->setText(QString::fromStdString(page.combinationCountText));
    totalMemo_->setText(QString::fromStdString(page.totalCostText));
    for (int r = 0; r < static_cast<int>(page.grid.size()); ++r) {
        const auto& row = page.grid[static_cast<std::size_t>(r)];
        for (int c = 0; c < static_cast<int>(row.size()); ++c)
            stringGrid_->setCell(c, r, QString::fromStdString(row[static_cast<std::size_t>(c)]));
    }
}

void CalculatorPage::LayoutCalculatorGrid() {
    layout_ = tambor::LayoutCalculatorGrid(mode_);
    stringGrid_->setDimensions(layout_.columns, layout_.rows);
    stringGrid_->setFixed(1, 1);
    for (int c = 0; c < layout_.columns; ++c)
        stringGrid_->setCell(c, 0, QString::fromStdString(trimCaption(layout_.columnCaptions[static_cast<std::size_t>(c)])));
    for (int r = 1; r < layout_.rows; ++r)
        stringGrid_->setCell(0, r, QString::fromStdString(trimCaption(layout_.rowCaptions[static_cast<std::size_t>(r)])));
    const QFontMetrics metrics(stringGrid_->font());
    stringGrid_->setDefaultRowHeight(metrics.height() + 4);
    for (int c = 0; c < layout_.columns; ++c)
        stringGrid_->setColumnWidth(
            c, metrics.horizontalAdvance(QString::fromStdString(layout_.columnCaptions[static_cast<std::size_t>(c)])) + 4);
    layoutPage();
}

// The sentence runs left to right; when the page is too narrow for it in
// one line it breaks after "通りです。". The table fills the width below it.
void CalculatorPage::layoutPage() {
    const QFontMetrics metrics(font());
    struct Piece {
        QWidget* widget;
        int width;
        int gap;  // before the piece
        bool label;
    };
    auto labelWidth = [&metrics](QLabel* label) { return metrics.horizontalAdvance(label->text()) + 2; };
    const Piece pieces[] = {
        {nMemo_, 34, 0, false},
        {nUpDown_, 14, 0, false},
        {nCrLabel1_, labelWidth(nCrLabel1_), 4, true},
        {nCrMemo_, 80, 2, false},
        {nCrLabel2_, labelWidth(nCrLabel2_), 4, true},
        {nCrLabel3_, labelWidth(nCrLabel3_), 10, true},
        {totalMemo_, 104, 2, false},
        {nCrLabel4_, labelWidth(nCrLabel4_), 4, true},
    };
    int oneLine = kMargin;
    for (const Piece& p : pieces) oneLine += p.gap + p.width;
    const bool wrap = oneLine > width() - kMargin;

    int x = kMargin;
    int y = kMargin;
    for (const Piece& p : pieces) {
        if (wrap && p.widget == nCrLabel3_) {
            x = kMargin + 34 + 14;
            y += kFieldHeight + 6;
        } else {
            x += p.gap;
        }
        if (p.label)
            p.widget->setGeometry(x, y + (kFieldHeight - 16) / 2, p.width, 16);
        else
            p.widget->setGeometry(x, y, p.width, kFieldHeight);
        x += p.width;
    }

    // The table: as wide as the page, as high as its rows but no higher than
    // the page (a game with many rows scrolls); the last column takes the
    // width the others and the scroll bar leave.
    const int top = y + kFieldHeight + 8;
    const int frame = 2 * stringGrid_->frameWidth();
    const int room = std::max(0, height() - top);
    const int wanted = stringGrid_->rowsExtent() + frame;
    stringGrid_->setGeometry(kMargin, top, std::max(0, width() - 2 * kMargin), std::min(wanted, room));
    const int last = stringGrid_->columnCount() - 1;
    if (last >= 0) {
        int used = 0;
        for (int c = 0; c < last; ++c) used += stringGrid_->columnWidth(c) + StringGrid::kLineWidth;
        const int scrollBar = wanted > room ? stringGrid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
        const int client = stringGrid_->width() - frame - scrollBar;
        stringGrid_->setColumnWidth(last, std::max(0, client - used - StringGrid::kLineWidth));
    }
}

void CalculatorPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutPage();
}

void CalculatorPage::StringGridDrawCell(QPainter& painter, int column, int row, const QRect& rect) {
    if (stringGrid_->isFixedCell(column, row)) {
        painter.fillRect(rect, stringGrid_->palette().color(QPalette::Mid));
        painter.fillRect(rect.adjusted(0, 0, -1, -1), stringGrid_->palette().color(QPalette::Button));
    } else {
        painter.fillRect(rect, stringGrid_->palette().color(QPalette::Base));
    }
    const QString text = stringGrid_->cell(column, row);
    const QFontMetrics metrics(painter.font());
    const int textWidth = metrics.horizontalAdvance(text);
    const int x = calculatorCellRightAligned(layout_, row, column) ? rect.left() + rect.width() - 2 - textWidth
                                                                   : rect.left() + (rect.width() - textWidth) / 2;
    painter.setPen(Qt::black);
    painter.drawText(x, rect.top() + 2 + metrics.ascent(), text);
}

}  // namespace tambor::ui
