// The options tab: how the program behaves, kept in the settings file.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include "ui/main_window.h"
#include "ui/widget_helpers.h"

namespace tambor::ui {

void TMainForm::buildOptionTab(QWidget* page) {
    auto* help = new QGroupBox(u8("ヘルプ"), page);
    help->setGeometry(4, 2, 350, 44);
    popupHintCheckBox_ = new QCheckBox(u8("ポップアップヒントを表示する(&H)"), help);
    popupHintCheckBox_->setObjectName("PopupHintCheckBox");
    popupHintCheckBox_->setChecked(true);
    popupHintCheckBox_->setGeometry(8, 18, 330, 20);
    setHint(popupHintCheckBox_, "ポップアップヒントを表示するかどうかを指定します。");

    auto* esc = new QGroupBox(u8("ＥＳＣキー"), page);
    esc->setGeometry(4, 50, 350, 44);
    escActionCheckBox_ = new QCheckBox(u8("ＥＳＣキーを押したら最小化＆タスクトレイに格納する(&E)"), esc);
    escActionCheckBox_->setObjectName("ESC_Action_CheckBox");
    escActionCheckBox_->setGeometry(8, 18, 336, 20);
    setHint(escActionCheckBox_, "ＥＳＣキーを押したときに最小化してタスクトレイに格納します。");

    auto* lot = new QGroupBox(u8("抽選オプション"), page);
    lot->setObjectName("LotGroupBox");
    lot->setGeometry(360, 2, 360, 150);
    rSystemCheckBox_ = new QCheckBox(u8("Rシステムを使用する(&Y)"), lot);
    rSystemCheckBox_->setObjectName("RSystemCheckBox");
    rSystemCheckBox_->setGeometry(8, 70, 340, 20);
    setHint(rSystemCheckBox_, "Rシステムを使用して、Xto5,6 の組み合わせを効率よく削減します。");
    connect(rSystemCheckBox_, &QCheckBox::clicked, this, &TMainForm::RSystemCheckBoxClick);
    arrangeModeLabel_ = makeLabel(lot, "並び順(&R):", 26, 96, 70, 16);
    arrangeModeLabel_->setObjectName("ArrangeModeLabel");
    arrangeModeComboBox_ = new QComboBox(lot);
    arrangeModeComboBox_->setObjectName("ArrangeModeComboBox");
    arrangeModeComboBox_->addItems({u8("乱数で並び順を決定する"), u8("小さい順に並べる"), u8("大きい順に並べる")});
    arrangeModeComboBox_->setGeometry(100, 92, 200, 22);
    setHint(arrangeModeComboBox_, "Rシステムで削減される組み合わせに影響します。");
    arrangeModeLabel_->setBuddy(arrangeModeComboBox_);
    arrangeModeLabel_->setEnabled(false);
    arrangeModeComboBox_->setEnabled(false);
}

void TMainForm::buildCalcTab(QWidget* page) { makeLabel(page, "", 0, 0, 1, 1); }

void TMainForm::buildLinkTab(QWidget* page) { makeLabel(page, "", 0, 0, 1, 1); }

}  // namespace tambor::ui
