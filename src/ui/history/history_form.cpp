#include "ui/history/history_form.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "ui/common/fonts.h"
#include "ui/common/message_box.h"
#include "ui/common/session_model.h"
#include "ui/common/shell_open.h"
#include "ui/common/tool_window.h"
#include "ui/common/widget_helpers.h"
#include "ui/history/draw_entry_dialog.h"
#include "ui/history/history_importer.h"
#include "ui/history/history_table_model.h"

namespace tambor::ui {
namespace {

QPushButton* button(QWidget* parent, const char* name, const char* caption, const char* hint) {
    auto* b = new QPushButton(u8(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    setHint(b, hint);
    return b;
}

}  // namespace

THistoryForm::THistoryForm(SessionModel& model, HistoryImporter& importer, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      model_(model), importer_(importer) {
    setObjectName(QStringLiteral("THistoryForm"));
    setWindowTitle(u8("当選番号の履歴"));
    setHint(this, "当選番号の履歴画面");

    countLabel_ = new QLabel(this);
    countLabel_->setObjectName(QStringLiteral("HistoryCountLabel"));

    tableModel_ = new HistoryTableModel(model_.session().history(), this);
    historyTableView_ = new QTableView(this);
    historyTableView_->setObjectName(QStringLiteral("HistoryTableView"));
    historyTableView_->setModel(tableModel_);
    historyTableView_->setFont(fixedPitchFont(11));
    historyTableView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    historyTableView_->setSelectionMode(QAbstractItemView::SingleSelection);
    historyTableView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    historyTableView_->setWordWrap(false);
    historyTableView_->verticalHeader()->hide();
    // Fixed row heights and column widths: the view never measures the
    // rows, so thousands of draws open at once.
    const QFontMetrics metrics(historyTableView_->font());
    historyTableView_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    historyTableView_->verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
    QHeaderView* header = historyTableView_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setStretchLastSection(true);
    header->resizeSection(HistoryTableModel::RoundColumn, metrics.horizontalAdvance(QStringLiteral("00000")) + 16);
    header->resizeSection(HistoryTableModel::DateColumn, metrics.horizontalAdvance(u8("0000年00月00日(月)")) + 16);
    header->resizeSection(HistoryTableModel::MainColumn,
                          metrics.horizontalAdvance(QStringLiteral("00 00 00 00 00 00 00")) + 16);
    setHint(historyTableView_, "過去の当選番号です。ダブルクリックした回で当選確認をします。");
    connect(historyTableView_, &QTableView::activated, this, &THistoryForm::HistoryTableViewActivated);

    QPushButton* add = button(this, "AddDrawBitBtn", "当選番号の追加(&A)...", "次の回の当選番号を入力して追加します。");
    correctDrawBitBtn_ = button(this, "CorrectDrawBitBtn", "最新の回を修正(&E)...", "最新の回の当選番号を修正します。");
    deleteDrawBitBtn_ = button(this, "DeleteDrawBitBtn", "最新の回を削除(&D)", "最新の回の当選番号を削除します。");
    QPushButton* import = button(this, "ImportBitBtn", "当選番号の取り込み(&I)...",
                                 "公式サイトの抽せん結果ファイル（CSV）から当選番号を取り込みます。");
    QPushButton* open = button(this, "OpenFileBitBtn", "ファイルを開く(&F)",
                               "当選番号ファイル（lotodata.txt）を関連付けられたプログラムで開きます。");
    QPushButton* close = button(this, "CloseBitBtn", "閉じる(&C)", "この画面を閉じます。");
    connect(add, &QPushButton::clicked, this, &THistoryForm::AddDrawBitBtnClick);
    connect(correctDrawBitBtn_, &QPushButton::clicked, this, &THistoryForm::CorrectDrawBitBtnClick);
    connect(deleteDrawBitBtn_, &QPushButton::clicked, this, &THistoryForm::DeleteDrawBitBtnClick);
    connect(import, &QPushButton::clicked, this, &THistoryForm::ImportBitBtnClick);
    connect(open, &QPushButton::clicked, this, &THistoryForm::OpenFileBitBtnClick);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {add, correctDrawBitBtn_, deleteDrawBitBtn_, import, open}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* body = new QHBoxLayout;
    body->addWidget(historyTableView_, 1);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(countLabel_);
    layout->addLayout(body, 1);

    closeWithEscape(this, model_);
    resize(header->length() + 220, 460);
    connect(&model_, &SessionModel::changed, this, &THistoryForm::refresh);
    refresh(Changes::everything());
}

void THistoryForm::showHistory() {
    show();
    raise();
    activateWindow();
    selectNewest();
}

void THistoryForm::refresh(const Changes& changes) {
    if (!changes.has(Change::History) && !changes.has(Change::Game)) return;
    tableModel_->reload();
    const Session& session = model_.session();
    const int count = session.history().drawCount();
    QString text = u8("%1  全 %2 回").arg(QString::fromUtf8(gameName(session.mode()))).arg(count);
    if (const std::optional<HistoryDraw> newest = session.newestDraw())
        text += u8("　最新: ") + QString::fromStdString(roundAndDateText(*newest));
    countLabel_->setText(text);
    correctDrawBitBtn_->setEnabled(count > 0);
    deleteDrawBitBtn_->setEnabled(count > 0);
    selectNewest();
}

void THistoryForm::selectNewest() {
    if (tableModel_->rowCount() == 0) return;
    historyTableView_->setCurrentIndex(tableModel_->index(0, 0));
    historyTableView_->scrollToTop();
}

void THistoryForm::HistoryTableViewActivated(const QModelIndex& index) {
    if (!index.isValid() || model_.refuseWhenBusy()) return;
    const int round = tableModel_->roundAt(index.row());
    model_.run([&](Session& s) { return s.selectPrizeRound(std::to_string(round)); });
    emit prizeCheckWanted();
}

void THistoryForm::openEntryDialog(bool adding) {
    if (model_.refuseWhenBusy()) return;
    auto* dialog = new TDrawEntryDialog(model_, adding ? TDrawEntryDialog::Purpose::Add : TDrawEntryDialog::Purpose::Correct, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Queued: the check runs once the dialog has closed, not inside its click.
    connect(dialog, &TDrawEntryDialog::drawSaved, this, &THistoryForm::prizeCheckWanted, Qt::QueuedConnection);
    dialog->open();
}

void THistoryForm::AddDrawBitBtnClick() { openEntryDialog(true); }

void THistoryForm::CorrectDrawBitBtnClick() { openEntryDialog(false); }

void THistoryForm::DeleteDrawBitBtnClick() {
    if (model_.refuseWhenBusy()) return;
    const std::optional<HistoryDraw> newest = model_.session().newestDraw();
    const QString which = newest ? QString::fromStdString(roundAndDateText(*newest))
                                 : QString::fromStdString(roundText(model_.session().history().drawCount()));
    if (!MessageBox::questionYesNo(this, u8("%1 %2の当選番号を削除しますか？\n（削除前のファイルは lotodata.bak に残ります）")
                                             .arg(QString::fromUtf8(gameName(model_.session().mode())), which)))
        return;
    const Changes changes = model_.session().deleteNewestDraw();
    if (!changes.refusal().empty()) {
        MessageBox::warning(this, QString::fromStdString(changes.refusal()));
        return;
    }
    model_.apply(changes);
    emit prizeCheckWanted();
}

void THistoryForm::ImportBitBtnClick() { importer_.ImportClick(this); }

void THistoryForm::OpenFileBitBtnClick() {
    ShellOpen(QString::fromStdString(model_.session().history().historyPath().string()), this);
}

}  // namespace tambor::ui
