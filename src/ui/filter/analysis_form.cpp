#include "ui/filter/analysis_form.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>
#include <QVBoxLayout>

#include "io/clipboard_text.h"
#include "ui/common/session_model.h"
#include "ui/common/tool_window.h"
#include "ui/common/widget_helpers.h"
#include "ui/filter/bar_chart.h"

namespace tambor::ui {
namespace {

// A cell that sorts by its number, not its text.
QTableWidgetItem* numberItem(int value) {
    auto* item = new QTableWidgetItem;
    item->setData(Qt::DisplayRole, value);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}  // namespace

TAnalysisForm::TAnalysisForm(SessionModel& model, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      model_(model) {
    setObjectName(QStringLiteral("TAnalysisForm"));
    setWindowTitle(u8("数字の分析"));
    setHint(this, "数字の分析画面");

    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("AnalysisTable"));
    setHint(table_, "数字ごとの出現回数と出現間隔です。見出しをクリックすると並べ替えてグラフにし、"
                    "数字をダブルクリックすると番号ボタンと同じように選択中の役割を付けます。");
    table_->setColumnCount(kAnalysisColumnCount);
    QStringList headings;
    for (int c = 0; c < kAnalysisColumnCount; ++c) headings << u8(analysisColumnTitle(static_cast<AnalysisColumn>(c)));
    table_->setHorizontalHeaderLabels(headings);
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSortIndicatorShown(true);
    table_->setSortingEnabled(true);
    table_->sortByColumn(0, Qt::AscendingOrder);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this, &TAnalysisForm::HeaderClick);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { AnalysisTableDblClick(row); });

    chartLabel_ = new QLabel(this);
    chartLabel_->setObjectName(QStringLiteral("AnalysisChartLabel"));
    setHint(chartLabel_, "グラフにしている列です。");
    chart_ = new BarChart(this);
    chart_->setObjectName(QStringLiteral("AnalysisChart"));
    chart_->setMinimumHeight(140);
    chart_->setLabelStep(5);
    setHint(chart_, "選んだ列の値を数字ごとに表示します。棒をダブルクリックすると、その数字に選択中の役割を付けます。");
    connect(chart_, &BarChart::valueDoubleClicked, this, &TAnalysisForm::giveRole);

    popupMenu_ = new QMenu(this);
    copy_ = popupMenu_->addAction(u8("コピー(&C)"));
    copy_->setObjectName(QStringLiteral("AnalysisCopy"));
    copy_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    copy_->setShortcutContext(Qt::WidgetShortcut);
    setHint(copy_, "選択した行（選択がなければすべての行）をタブ区切りでクリップボードにコピーします。");
    table_->addAction(copy_);
    connect(copy_, &QAction::triggered, this, &TAnalysisForm::CopyClick);
    connect(table_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popupMenu_->popup(table_->viewport()->mapToGlobal(at)); });
    showHintsInStatusBar(popupMenu_, owner);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 3);
    layout->addWidget(chartLabel_);
    layout->addWidget(chart_, 2);
    resize(560, 640);
    closeWithEscape(this, model_);
    connect(&model_, &SessionModel::changed, this, &TAnalysisForm::refresh);
    fill();
}

void TAnalysisForm::showForm() {
    show();
    raise();
    activateWindow();
}

void TAnalysisForm::refresh(const Changes& changes) {
    if (changes.has(Change::Game) || changes.has(Change::History)) fill();
}

void TAnalysisForm::fill() {
    rows_ = model_.session().numberAnalysis();
    const int sortColumn = table_->horizontalHeader()->sortIndicatorSection();
    const Qt::SortOrder order = table_->horizontalHeader()->sortIndicatorOrder();
    table_->setSortingEnabled(false);
    table_->clearContents();
    table_->setRowCount(static_cast<int>(rows_.size()));
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r)
        for (int c = 0; c < kAnalysisColumnCount; ++c)
            table_->setItem(r, c, numberItem(analysisValue(rows_[static_cast<std::size_t>(r)], static_cast<AnalysisColumn>(c))));
    table_->setSortingEnabled(true);
    table_->sortByColumn(sortColumn >= 0 && sortColumn < kAnalysisColumnCount ? sortColumn : 0, order);
    // Sized once when filled, not again for every cell set.
    table_->resizeColumnsToContents();
    table_->resizeRowsToContents();
    showChart();
}

void TAnalysisForm::showChart() {
    std::vector<int> values;
    values.reserve(rows_.size());
    for (const NumberAnalysisRow& row : rows_) values.push_back(analysisValue(row, chartColumn_));
    chart_->setCounts(std::move(values), 1);
    chartLabel_->setText(u8("グラフ: %1（数字ごと）").arg(u8(analysisColumnTitle(chartColumn_))));
}

void TAnalysisForm::HeaderClick(int column) {
    // The number column sorts; the chart keeps the last count it showed.
    if (column > 0 && column < kAnalysisColumnCount) chartColumn_ = static_cast<AnalysisColumn>(column);
    showChart();
}

void TAnalysisForm::AnalysisTableDblClick(int row) {
    const QTableWidgetItem* item = table_->item(row, 0);
    if (item) giveRole(item->data(Qt::DisplayRole).toInt());
}

void TAnalysisForm::giveRole(int number) {
    if (model_.refuseWhenBusy()) return;
    model_.run([number](Session& s) { return s.clickNumber(number, false); });
}

QString TAnalysisForm::copyText() const {
    std::vector<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows()) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    if (rows.empty())
        for (int r = 0; r < table_->rowCount(); ++r) rows.push_back(r);
    std::vector<std::string> lines;
    std::string heading;
    for (int c = 0; c < kAnalysisColumnCount; ++c)
        heading += std::string(c == 0 ? "" : "\t") + analysisColumnTitle(static_cast<AnalysisColumn>(c));
    lines.push_back(heading);
    for (int r : rows) {
        std::string line;
        for (int c = 0; c < kAnalysisColumnCount; ++c)
            line += (c == 0 ? "" : "\t") + table_->item(r, c)->text().toStdString();
        lines.push_back(line);
    }
    return QString::fromStdString(clipboardText(lines));
}

void TAnalysisForm::CopyClick() {
    if (model_.refuseWhenBusy()) return;
    QApplication::clipboard()->setText(copyText());
}

}  // namespace tambor::ui
