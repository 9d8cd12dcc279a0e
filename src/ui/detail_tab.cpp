// The detail tab: the duplicate list, the draw-weighting report and the
// prize-check results.

#include <QLabel>
#include <QListView>
#include <QPushButton>

#include "ui/combination_list_model.h"
#include "ui/main_window.h"
#include "ui/widget_helpers.h"

namespace tambor::ui {

void TMainForm::buildDetailTab(QWidget* page) {
    makeLabel(page, "重複チェック結果", 6, 4, 170, 16);
    dupListBox_ = makeCombinationListView(page, "DupListBox", "重複している組み合わせを表示します。");
    dupListBox_->setGeometry(4, 22, 172, 210);
    dupModel_ = new CombinationListModel([this]() -> const std::vector<CombinationIndex>& { return session_.list().duplicates(); },
                                         [this] { return session_.mode(); }, dupListBox_);
    dupListBox_->setModel(dupModel_);
    dupClearBitBtn_ = makeButton(page, "DupClearBitBtn", "クリア(&C)", "重複している組み合わせをクリアします。", 4, 236, 80, 24);
    connect(dupClearBitBtn_, &QPushButton::clicked, this, &TMainForm::DupClearBitBtnClick);

    makeLabel(page, "ランダム抽選の重みづけ", 184, 4, 300, 16);
    resultListBox_ = new QListView(page);
    resultListBox_->setObjectName("ResultListBox");
    resultListBox_->setUniformItemSizes(true);
    resultListBox_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    resultListBox_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultListBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    resultListBox_->setGeometry(182, 22, 348, 238);
    setHint(resultListBox_, "ランダム抽選の重みづけを表示します。");
    resultModel_ = new TextLinesModel(resultListBox_);
    resultListBox_->setModel(resultModel_);

    makeLabel(page, "当選確認結果", 540, 4, 170, 16);
    searchListBox_ = makeCombinationListView(page, "SearchListBox", "当選数字の組み合わせを表示します。");
    searchListBox_->setGeometry(538, 22, 180, 238);
    searchModel_ = new TextLinesModel(searchListBox_);
    searchListBox_->setModel(searchModel_);
}

}  // namespace tambor::ui
