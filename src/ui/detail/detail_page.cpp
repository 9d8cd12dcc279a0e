#include "ui/detail/detail_page.h"

#include <QLabel>
#include <QListView>
#include <QPushButton>

#include "ui/common/combination_list_model.h"
#include "ui/common/session_model.h"
#include "ui/common/widget_helpers.h"

namespace tambor::ui {
namespace {

QStringList toStringList(const std::vector<std::string>& lines) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) list << QString::fromStdString(line);
    return list;
}

}  // namespace

DetailPage::DetailPage(SessionModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName(QStringLiteral("DetailPage"));
    makeLabel(this, "重複チェック結果", 6, 4, 170, 16);
    dupListBox_ = makeCombinationListView(this, "DupListBox", "重複している組み合わせを表示します。");
    dupListBox_->setGeometry(4, 22, 172, 210);
    Session& session = model_.session();
    dupModel_ = new CombinationListModel(
        [&session]() -> const std::vector<CombinationIndex>& { return session.list().duplicates(); },
        [&session] { return session.mode(); }, dupListBox_);
    dupListBox_->setModel(dupModel_);
    dupClearBitBtn_ = makeButton(this, "DupClearBitBtn", "クリア(&C)", "重複している組み合わせをクリアします。", 4, 236, 80, 24);
    connect(dupClearBitBtn_, &QPushButton::clicked, this, &DetailPage::DupClearBitBtnClick);

    makeLabel(this, "ランダム抽選の重みづけ", 184, 4, 300, 16);
    resultListBox_ = new QListView(this);
    resultListBox_->setObjectName(QStringLiteral("ResultListBox"));
    resultListBox_->setUniformItemSizes(true);
    resultListBox_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    resultListBox_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultListBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    resultListBox_->setGeometry(182, 22, 348, 238);
    setHint(resultListBox_, "ランダム抽選の重みづけを表示します。");
    resultModel_ = new TextLinesModel(resultListBox_);
    resultListBox_->setModel(resultModel_);

    makeLabel(this, "当選確認結果", 540, 4, 170, 16);
    searchListBox_ = makeCombinationListView(this, "SearchListBox", "当選数字の組み合わせを表示します。");
    searchListBox_->setGeometry(538, 22, 180, 238);
    searchModel_ = new TextLinesModel(searchListBox_);
    searchListBox_->setModel(searchModel_);

    growth_.add(dupListBox_, Growth::GrowHeight);
    growth_.add(dupClearBitBtn_, Growth::FollowBottom);
    growth_.add(resultListBox_, Growth::GrowHeight);
    growth_.add(searchListBox_, Growth::GrowWidth | Growth::GrowHeight);

    connect(&model_, &SessionModel::changed, this, &DetailPage::refresh);
    refresh(Changes::everything());
}

void DetailPage::DupClearBitBtnClick() {
    if (model_.refuseWhenBusy()) return;
    model_.run([](Session& s) { return s.clearDuplicates(); });
}

void DetailPage::refresh(const Changes& changes) {
    const Session& session = model_.session();
    if (changes.has(Change::Duplicates)) {
        dupModel_->refresh();
        // The newest duplicates show: the last line at the top.
        if (dupModel_->rowCount() > 0)
            dupListBox_->scrollTo(dupModel_->index(dupModel_->rowCount() - 1), QAbstractItemView::PositionAtTop);
    }
    if (changes.has(Change::Report)) {
        resultModel_->setLines(toStringList(session.weightingReport()));
        resultListBox_->scrollToTop();
    }
    if (changes.has(Change::PrizeLines)) {
        searchModel_->setLines(toStringList(session.prizeLines()));
        if (searchModel_->rowCount() > 0)
            searchListBox_->scrollTo(searchModel_->index(searchModel_->rowCount() - 1), QAbstractItemView::PositionAtTop);
    }
}

}  // namespace tambor::ui
