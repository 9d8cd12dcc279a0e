// The options tab: how the program behaves, kept in the settings file.

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QMenu>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ui/calculator_page.h"
#include "ui/edit_conventions.h"
#include "ui/main_window.h"
#include "ui/up_down.h"
#include "ui/widget_helpers.h"

namespace tambor::ui {
namespace {

QRadioButton* makeRadio(QWidget* parent, const char* name, const char* caption, const char* hint, int x, int y, int w) {
    auto* radio = new QRadioButton(u8(caption), parent);
    radio->setObjectName(name);
    radio->setGeometry(x, y, w, 20);
    setHint(radio, hint);
    return radio;
}

QCheckBox* makeCheck(QWidget* parent, const char* name, const char* caption, const char* hint, int x, int y, int w) {
    auto* check = new QCheckBox(u8(caption), parent);
    check->setObjectName(name);
    check->setGeometry(x, y, w, 20);
    setHint(check, hint);
    return check;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const char* hint, EditKind kind, int x, int y, int w) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(x, y, w, 22);
    if (kind == EditKind::Numeric) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setHint(edit, hint);
    applyEditConventions(edit, kind);
    return edit;
}

}  // namespace

void TMainForm::buildOptionTab(QWidget* page) {
    // Left column.
    auto* save = new QGroupBox(u8("保存形式"), page);
    save->setObjectName("SaveGroupBox");
    save->setGeometry(4, 2, 150, 68);
    setHint(save, "保存のフォーマットを指定します。");
    csvRadioButton_ = makeRadio(save, "CSVRadioButton", "CSV形式(&C)", "Excel等で使用できる形式で保存します。", 8, 18, 100);
    csvRadioButton_->setChecked(true);
    textRadioButton_ = makeRadio(save, "TextRadioButton", "テキスト形式(&E)", "申込カードに合わせた形式で保存します。", 8, 42, 100);
    auto* saveGroup = new QButtonGroup(save);
    saveGroup->addButton(csvRadioButton_, 0);
    saveGroup->addButton(textRadioButton_, 1);
    connect(saveGroup, &QButtonGroup::idClicked, this, [this](int tag) { SaveRadioButtonClick(tag); });
    splitMemo_ = makeEdit(save, "SplitMemo", "保存するときのページ分割数を指定します。", EditKind::Numeric, 104, 40, 28);
    splitUpDown_ = new UpDown(splitMemo_, 1, 100, 1, save);
    splitUpDown_->setObjectName("SplitUpDown");
    splitUpDown_->setGeometry(132, 40, 14, 22);
    setHint(splitUpDown_, "保存するときのページ分割数を指定します。");
    makeLabel(save, "分割", 110, 20, 36, 16)->setObjectName("SplitLabel");

    auto* help = new QGroupBox(u8("ヘルプ"), page);
    help->setGeometry(158, 2, 196, 68);
    popupHintCheckBox_ = makeCheck(help, "PopupHintCheckBox", "ポップアップヒントの表示(&P)",
                                   "ポップアップヒントを表示するかどうかを指定します。", 8, 18, 184);
    connect(popupHintCheckBox_, &QCheckBox::toggled, this, [this] { PopupHintCheckBoxClick(); });

    auto* keys = new QGroupBox(u8("キー割り当て"), page);
    keys->setGeometry(4, 72, 350, 44);
    escActionCheckBox_ = makeCheck(keys, "ESC_Action_CheckBox", "ＥＳＣキーを押したら最小化＆タスクトレイに格納する(&E)",
                                   "ＥＳＣキーを押したときに、最小化してタスクトレイに格納します。", 8, 18, 336);

    auto* internet = new QGroupBox(u8("インターネット"), page);
    internet->setObjectName("InternetGroupBox");
    internet->setGeometry(4, 118, 350, 70);
    proxyCheckBox_ = makeCheck(internet, "ProxyCheckBox", "プロキシ サーバーを使用する(&U)",
                               "プロキシ サーバーを使用して、インターネットに接続します。", 8, 18, 300);
    connect(proxyCheckBox_, &QCheckBox::toggled, this, [this] { ProxyCheckBoxClick(); });
    proxyAddressLabel_ = makeLabel(internet, "アドレス(&X):", 24, 46, 64, 16);
    proxyAddressLabel_->setObjectName("ProxyAddressLabel");
    proxyAddressEdit_ = makeEdit(internet, "ProxyAddressEdit", "プロキシ サーバーのアドレスを指定します。", EditKind::Text, 88, 42, 150);
    proxyAddressLabel_->setBuddy(proxyAddressEdit_);
    proxyPortLabel_ = makeLabel(internet, "ポート(&I):", 246, 46, 50, 16);
    proxyPortLabel_->setObjectName("ProxyPortLabel");
    proxyPortEdit_ = makeEdit(internet, "ProxyPortEdit", "プロキシ サーバーのポート番号を指定します。", EditKind::Numeric, 296, 42, 48);
    proxyPortLabel_->setBuddy(proxyPortEdit_);

    auto* prizeView = new QGroupBox(u8("当選確率表示オプション"), page);
    prizeView->setObjectName("PrizeGroupBox");
    prizeView->setGeometry(4, 190, 350, 70);
    setHint(prizeView, "当選確率の表示方法を選択します。");
    reciprocalRadioButton_ = makeRadio(prizeView, "ReciprocalRadioButton", "当選確率を( P=1/(組み合わせ数/当選数) )で表示する(&R)",
                                       "当選確率を( 1/X )で表示します。", 8, 18, 336);
    reciprocalRadioButton_->setChecked(true);
    fractionRadioButton_ = makeRadio(prizeView, "FractionRadioButton", "当選確率を( P=当選数/組み合わせ数 )で表示する(&S)",
                                     "当選確率を( 当選数/組み合わせ数 )で表示します。", 8, 42, 336);
    auto* prizeGroup = new QButtonGroup(prizeView);
    prizeGroup->addButton(reciprocalRadioButton_, 0);
    prizeGroup->addButton(fractionRadioButton_, 1);
    connect(prizeGroup, &QButtonGroup::idClicked, this, [this](int tag) { PrizeRadioButtonClick(tag); });

    // Right column.
    auto* print = new QGroupBox(u8("印刷オプション"), page);
    print->setObjectName("PrintGroupBox");
    print->setGeometry(360, 2, 360, 76);
    setHint(print, "カード印刷を行うための設定を行います。");
    QLabel* horzLabel = makeLabel(print, "水平マージン(&H):", 8, 22, 104, 16);
    horzLabel->setObjectName("mmPageXMarginLabel");
    horzMemo_ = makeEdit(print, "HorzMemo", "水平マージンを設定します。", EditKind::Numeric, 112, 18, 44);
    horzLabel->setBuddy(horzMemo_);
    makeLabel(print, "mm", 162, 22, 20, 16)->setObjectName("mmXLabel");
    QLabel* vertLabel = makeLabel(print, "垂直マージン(&V):", 8, 50, 104, 16);
    vertLabel->setObjectName("mmPageYMarginLabel");
    vertMemo_ = makeEdit(print, "VertMemo", "垂直マージンを設定します。", EditKind::Numeric, 112, 46, 44);
    vertLabel->setBuddy(vertMemo_);
    makeLabel(print, "mm", 162, 50, 20, 16)->setObjectName("mmYLabel");
    horzMemo_->setText(QStringLiteral("  0"));
    vertMemo_->setText(QStringLiteral("  0"));
    auto* getMargin = makeButton(print, "GetMarginBitBtn", "余白の取得(&G)", "プリンタより余白（マージン）を取得します。", 226, 16, 126, 24);
    auto* printTest = makeButton(print, "PrintTestBitBtn", "印刷テスト(&T)", "プリンタの余白を調べるために、テスト印刷を行います。", 226, 44, 126, 24);
    getMargin->setEnabled(false);
    printTest->setEnabled(false);

    auto* lot = new QGroupBox(u8("抽選オプション"), page);
    lot->setObjectName("LotGroupBox");
    lot->setGeometry(360, 80, 360, 180);
    QLabel* defLabel = makeLabel(lot, "抽選回数 初期値(&D):", 8, 22, 118, 16);
    defMemo_ = makeEdit(lot, "DefMemo", "抽選回数の初期値を設定します。", EditKind::Numeric, 128, 18, 50);
    defLabel->setBuddy(defMemo_);
    defUpDown_ = new UpDown(defMemo_, 1, 10000, 50, lot);
    defUpDown_->setObjectName("DefUpDown");
    defUpDown_->setGeometry(178, 18, 14, 22);
    setHint(defUpDown_, "抽選回数の初期値を設定します。");
    QLabel* lotModeLabel = makeLabel(lot, "優先数字(&N):", 8, 50, 110, 16);
    lotModeComboBox_ = new QComboBox(lot);
    lotModeComboBox_->setObjectName("LotModeComboBox");
    lotModeComboBox_->addItems({u8("連対しやすい数字を優先する"), u8("偏差値が高い数字を優先する"), u8("出やすい数字を優先する"),
                                u8("優先数字を指定しない"), u8("出にくい数字を優先する"), u8("偏差値が低い数字を優先する"),
                                u8("連対しにくい数字を優先する")});
    lotModeComboBox_->setGeometry(120, 46, 232, 22);
    setHint(lotModeComboBox_, "ランダム抽選で優先する数字を選択します。");
    lotModeLabel->setBuddy(lotModeComboBox_);
    pastRemoveCheckBox_ = makeCheck(lot, "PastRemoveCheckBox", "過去に出現した1等,2等の当選番号を排除する(&A)",
                                    "過去に出現した1等,2等の当選番号を重複チェック機能により、排除します。", 8, 76, 344);
    connect(pastRemoveCheckBox_, &QCheckBox::toggled, this, [this] { PastRemoveCheckBoxClick(); });
    rSystemCheckBox_ = makeCheck(lot, "RSystemCheckBox", "Rシステムを使用する(&Y)",
                                 "Rシステムを使用して、Xto5,6 の組み合わせを効率よく削減します。", 8, 102, 344);
    connect(rSystemCheckBox_, &QCheckBox::toggled, this, &TMainForm::RSystemCheckBoxClick);
    arrangeModeLabel_ = makeLabel(lot, "並び順(&R):", 26, 132, 90, 16);
    arrangeModeLabel_->setObjectName("ArrangeModeLabel");
    arrangeModeComboBox_ = new QComboBox(lot);
    arrangeModeComboBox_->setObjectName("ArrangeModeComboBox");
    arrangeModeComboBox_->addItems({u8("乱数で並び順を決定する"), u8("小さい順に並べる"), u8("大きい順に並べる")});
    arrangeModeComboBox_->setGeometry(120, 128, 232, 22);
    setHint(arrangeModeComboBox_, "Rシステムで削減される組み合わせに影響します。");
    arrangeModeLabel_->setBuddy(arrangeModeComboBox_);
    arrangeModeLabel_->setEnabled(false);
    arrangeModeComboBox_->setEnabled(false);

    PopupHintCheckBoxClick();
    ProxyCheckBoxClick();
}

void TMainForm::PopupHintCheckBoxClick() { popupHints_ = popupHintCheckBox_->isChecked(); }

void TMainForm::ProxyCheckBoxClick() {
    const bool on = proxyCheckBox_->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{proxyAddressLabel_, proxyAddressEdit_, proxyPortLabel_, proxyPortEdit_})
        w->setEnabled(on);
}

void TMainForm::SaveRadioButtonClick(int tag) { saveFormat_ = tag == 1 ? 1 : 0; }

void TMainForm::PrizeRadioButtonClick(int tag) {
    prizeViewMethod_ = tag == 1 ? 1 : 0;
    if (calcPage_) calcPage_->setProbabilityView(prizeViewMethod_);
}

void TMainForm::buildLinkTab(QWidget* page) {
    labelPopupMenu_ = new QMenu(this);
    labelPopupMenu_->setObjectName("LabelPopupMenu");
    QAction* labelCopy = labelPopupMenu_->addAction(u8("コピー(&C)"), this, &TMainForm::LabelCopyClick);
    labelCopy->setObjectName("LabelCopy");
    setHint(labelCopy, "リンク先をクリップボードにコピーします。");
    for (int i = 1; i <= 3; ++i) {
        const int y = 10 + (i - 1) * 30;
        auto* title = makeLabel(page, "", 10, y, 200, 16);
        title->setObjectName(QStringLiteral("Add%1TitleLabel").arg(i));
        title->setText(u8("追加%1").arg(QChar(0xFF10 + i)));
        auto* link = makeLabel(page, "about:blank", 220, y, 400, 16);
        link->setObjectName(QStringLiteral("Add%1LinkLabel").arg(i));
        link->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(link, &QLabel::customContextMenuRequested, this, [this, link](const QPoint& pos) {
            labelPopupTarget_ = link;
            labelPopupMenu_->popup(link->mapToGlobal(pos));
        });
        userLinkTitles_[static_cast<std::size_t>(i - 1)] = title;
        userLinkTargets_[static_cast<std::size_t>(i - 1)] = link;
    }
}

void TMainForm::LabelCopyClick() {
    if (labelPopupTarget_) QApplication::clipboard()->setText(labelPopupTarget_->text());
}

}  // namespace tambor::ui
