#include "ui/options/options_page.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <string>

#include "io/print_margin.h"
#include "ui/common/edit_conventions.h"
#include "ui/common/session_model.h"
#include "ui/common/up_down.h"
#include "ui/common/widget_helpers.h"
#include "ui/print/margin_fields.h"

namespace tambor::ui {
namespace {

QRadioButton* makeRadio(QWidget* parent, const char* name, const char* caption, const char* hint, int x, int y, int w) {
    auto* radio = new QRadioButton(u8(caption), parent);
    radio->setObjectName(QString::fromLatin1(name));
    radio->setGeometry(x, y, w, 20);
    setHint(radio, hint);
    return radio;
}

QCheckBox* makeCheck(QWidget* parent, const char* name, const char* caption, const char* hint, int x, int y, int w) {
    auto* check = new QCheckBox(u8(caption), parent);
    check->setObjectName(QString::fromLatin1(name));
    check->setGeometry(x, y, w, 20);
    setHint(check, hint);
    return check;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const char* hint, EditKind kind, int x, int y, int w) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(x, y, w, 22);
    if (kind == EditKind::Numeric) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setHint(edit, hint);
    applyEditConventions(edit, kind);
    return edit;
}

// The spinners count half millimetres; the margin fields give them their range.
UpDown* makeMarginUpDown(QWidget* parent, const char* name, const char* hint, int x, int y) {
    auto* upDown = new UpDown(nullptr, 0, 0, 0, parent);
    upDown->setObjectName(QString::fromLatin1(name));
    upDown->setGeometry(x, y, 14, 22);
    setHint(upDown, hint);
    return upDown;
}

QGroupBox* makeGroup(QWidget* parent, const char* name, const char* caption, int x, int y, int w, int h) {
    auto* group = new QGroupBox(u8(caption), parent);
    if (name) group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(x, y, w, h);
    return group;
}

}  // namespace

OptionsPage::OptionsPage(SessionModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName(QStringLiteral("OptionsPage"));

    // Left column.
    // The left column's groups sit close together so that the internet group
    // holds the update server as well as the proxy.
    QGroupBox* save = makeGroup(this, "SaveGroupBox", "保存形式", 4, 2, 166, 62);
    setHint(save, "保存のフォーマットを指定します。");
    csvRadioButton_ = makeRadio(save, "CSVRadioButton", "CSV形式(&C)", "Excel等で使用できる形式で保存します。", 8, 16, 100);
    textRadioButton_ = makeRadio(save, "TextRadioButton", "テキスト形式(&E)", "申込カードに合わせた形式で保存します。", 8, 36, 104);
    auto* saveGroup = new QButtonGroup(save);
    saveGroup->addButton(csvRadioButton_, static_cast<int>(SaveFormat::Csv));
    saveGroup->addButton(textRadioButton_, static_cast<int>(SaveFormat::Text));
    connect(saveGroup, &QButtonGroup::idClicked, this, &OptionsPage::SaveRadioButtonClick);
    splitMemo_ = makeEdit(save, "SplitMemo", "保存するときのページ分割数を指定します。", EditKind::Numeric, 114, 35, 32);
    splitUpDown_ = new UpDown(splitMemo_, 1, 100, 1, save);
    splitUpDown_->setObjectName(QStringLiteral("SplitUpDown"));
    splitUpDown_->setGeometry(146, 35, 14, 22);
    setHint(splitUpDown_, "保存するときのページ分割数を指定します。");
    makeLabel(save, "分割", 120, 18, 36, 16)->setObjectName(QStringLiteral("SplitLabel"));

    QGroupBox* help = makeGroup(this, nullptr, "ヘルプ", 174, 2, 180, 62);
    popupHintCheckBox_ = makeCheck(help, "PopupHintCheckBox", "ポップアップヒントの表示(&P)",
                                   "ポップアップヒントを表示するかどうかを指定します。", 8, 16, 168);
    connect(popupHintCheckBox_, &QCheckBox::toggled, this, &OptionsPage::PopupHintCheckBoxClick);

    QGroupBox* keys = makeGroup(this, nullptr, "キー割り当て", 4, 66, 350, 40);
    escActionCheckBox_ = makeCheck(keys, "ESC_Action_CheckBox", "ＥＳＣキーを押したら最小化＆タスクトレイに格納する(&E)",
                                   "ＥＳＣキーを押したときに、最小化してタスクトレイに格納します。", 8, 16, 336);
    connect(escActionCheckBox_, &QCheckBox::toggled, this, &OptionsPage::ESC_Action_CheckBoxClick);

    QGroupBox* internet = makeGroup(this, "InternetGroupBox", "インターネット", 4, 108, 350, 90);
    QLabel* updateUrlLabel = makeLabel(internet, "更新サーバー(&S):", 8, 20, 96, 16);
    updateUrlLabel->setObjectName(QStringLiteral("UpdateUrlLabel"));
    updateUrlEdit_ = makeEdit(internet, "UpdateUrlEdit",
                              "統計情報の更新に使う更新サーバーのフォルダーの URL を指定します（例: http://192.168.1.10/tambor/）。",
                              EditKind::Text, 104, 16, 240);
    updateUrlLabel->setBuddy(updateUrlEdit_);
    connect(updateUrlEdit_, &QLineEdit::textChanged, this, &OptionsPage::UpdateUrlEditChange);
    proxyCheckBox_ = makeCheck(internet, "ProxyCheckBox", "プロキシ サーバーを使用する(&U)",
                               "プロキシ サーバーを使用して、インターネットに接続します。", 8, 40, 300);
    connect(proxyCheckBox_, &QCheckBox::toggled, this, &OptionsPage::ProxyCheckBoxClick);
    proxyAddressLabel_ = makeLabel(internet, "アドレス(&X):", 24, 66, 64, 16);
    proxyAddressLabel_->setObjectName(QStringLiteral("ProxyAddressLabel"));
    proxyAddressEdit_ = makeEdit(internet, "ProxyAddressEdit", "プロキシ サーバーのアドレスを指定します。", EditKind::Text, 88, 62, 150);
    proxyAddressLabel_->setBuddy(proxyAddressEdit_);
    proxyPortLabel_ = makeLabel(internet, "ポート(&I):", 246, 66, 50, 16);
    proxyPortLabel_->setObjectName(QStringLiteral("ProxyPortLabel"));
    proxyPortEdit_ = makeEdit(internet, "ProxyPortEdit", "プロキシ サーバーのポート番号を指定します。", EditKind::Numeric, 296, 62, 48);
    proxyPortLabel_->setBuddy(proxyPortEdit_);
    connect(proxyAddressEdit_, &QLineEdit::textChanged, this, &OptionsPage::ProxyEditChange);
    connect(proxyPortEdit_, &QLineEdit::textChanged, this, &OptionsPage::ProxyEditChange);

    QGroupBox* prizeView = makeGroup(this, "PrizeGroupBox", "当選確率表示オプション", 4, 200, 350, 60);
    setHint(prizeView, "当選確率の表示方法を選択します。");
    reciprocalRadioButton_ = makeRadio(prizeView, "ReciprocalRadioButton", "当選確率を( P=1/(組み合わせ数/当選数) )で表示する(&R)",
                                       "当選確率を( 1/X )で表示します。", 8, 16, 336);
    fractionRadioButton_ = makeRadio(prizeView, "FractionRadioButton", "当選確率を( P=当選数/組み合わせ数 )で表示する(&S)",
                                     "当選確率を( 当選数/組み合わせ数 )で表示します。", 8, 36, 336);
    auto* prizeGroup = new QButtonGroup(prizeView);
    prizeGroup->addButton(reciprocalRadioButton_, static_cast<int>(ProbabilityView::Reciprocal));
    prizeGroup->addButton(fractionRadioButton_, static_cast<int>(ProbabilityView::Fraction));
    connect(prizeGroup, &QButtonGroup::idClicked, this, &OptionsPage::PrizeRadioButtonClick);

    // Right column.
    QGroupBox* print = makeGroup(this, "PrintGroupBox", "印刷オプション", 360, 2, 360, 76);
    setHint(print, "カード印刷を行うための設定を行います。");
    QLabel* horzLabel = makeLabel(print, "水平マージン(&H):", 8, 22, 104, 16);
    horzLabel->setObjectName(QStringLiteral("mmPageXMarginLabel"));
    horzMemo_ = makeEdit(print, "HorzMemo", "水平マージンを設定します。", EditKind::Numeric, 112, 18, 44);
    horzLabel->setBuddy(horzMemo_);
    UpDown* horzUpDown = makeMarginUpDown(print, "HorzUpDown", "水平マージンを設定します。", 156, 18);
    makeLabel(print, "mm", 174, 22, 24, 16)->setObjectName(QStringLiteral("mmXLabel"));
    QLabel* vertLabel = makeLabel(print, "垂直マージン(&V):", 8, 50, 104, 16);
    vertLabel->setObjectName(QStringLiteral("mmPageYMarginLabel"));
    vertMemo_ = makeEdit(print, "VertMemo", "垂直マージンを設定します。", EditKind::Numeric, 112, 46, 44);
    vertLabel->setBuddy(vertMemo_);
    UpDown* vertUpDown = makeMarginUpDown(print, "VertUpDown", "垂直マージンを設定します。", 156, 46);
    makeLabel(print, "mm", 174, 50, 24, 16)->setObjectName(QStringLiteral("mmYLabel"));
    marginFields_ = new MarginFields(model_, horzMemo_, horzUpDown, vertMemo_, vertUpDown, this);
    getMarginBitBtn_ = makeButton(print, "GetMarginBitBtn", "余白の取得(&G)", "プリンタより余白（マージン）を取得します。", 226, 16, 126, 24);
    printTestBitBtn_ = makeButton(print, "PrintTestBitBtn", "印刷テスト(&T)", "プリンタの余白を調べるために、テスト印刷を行います。",
                                  226, 44, 126, 24);

    QGroupBox* lot = makeGroup(this, "LotGroupBox", "抽選オプション", 360, 80, 360, 180);
    QLabel* defLabel = makeLabel(lot, "抽選回数 初期値(&D):", 8, 22, 118, 16);
    defMemo_ = makeEdit(lot, "DefMemo", "抽選回数の初期値を設定します。", EditKind::Numeric, 128, 18, 50);
    // No more digits than the largest default (10000): all of them show.
    defMemo_->setMaxLength(static_cast<int>(std::to_string(kDefaultDrawCountMax).size()));
    defLabel->setBuddy(defMemo_);
    defUpDown_ = new UpDown(defMemo_, kDefaultDrawCountMin, kDefaultDrawCountMax, 50, lot);
    defUpDown_->setObjectName(QStringLiteral("DefUpDown"));
    defUpDown_->setGeometry(178, 18, 14, 22);
    setHint(defUpDown_, "抽選回数の初期値を設定します。");
    connect(defMemo_, &QLineEdit::textChanged, this, &OptionsPage::DefMemoChange);
    QLabel* lotModeLabel = makeLabel(lot, "優先数字(&N):", 8, 50, 110, 16);
    lotModeComboBox_ = new QComboBox(lot);
    lotModeComboBox_->setObjectName(QStringLiteral("LotModeComboBox"));
    for (int i = 0; i < kPriorityModeCount; ++i) lotModeComboBox_->addItem(u8(priorityModeText(static_cast<PriorityMode>(i))));
    lotModeComboBox_->setGeometry(120, 46, 232, 22);
    setHint(lotModeComboBox_, "ランダム抽選で優先する数字を選択します。");
    lotModeLabel->setBuddy(lotModeComboBox_);
    connect(lotModeComboBox_, &QComboBox::currentIndexChanged, this, &OptionsPage::LotModeComboBoxChange);
    pastRemoveCheckBox_ = makeCheck(lot, "PastRemoveCheckBox", "過去に出現した1等,2等の当選番号を排除する(&A)",
                                    "過去に出現した1等,2等の当選番号を重複チェック機能により、排除します。", 8, 76, 344);
    connect(pastRemoveCheckBox_, &QCheckBox::toggled, this, &OptionsPage::PastRemoveCheckBoxClick);
    rSystemCheckBox_ = makeCheck(lot, "RSystemCheckBox", "Rシステムを使用する(&Y)",
                                 "Rシステムを使用して、Xto5,6 の組み合わせを効率よく削減します。", 8, 102, 344);
    connect(rSystemCheckBox_, &QCheckBox::toggled, this, &OptionsPage::RSystemCheckBoxClick);
    arrangeModeLabel_ = makeLabel(lot, "並び順(&R):", 26, 132, 90, 16);
    arrangeModeLabel_->setObjectName(QStringLiteral("ArrangeModeLabel"));
    arrangeModeComboBox_ = new QComboBox(lot);
    arrangeModeComboBox_->setObjectName(QStringLiteral("ArrangeModeComboBox"));
    for (int i = 0; i < kArrangeModeCount; ++i) arrangeModeComboBox_->addItem(u8(arrangeModeText(static_cast<ArrangeMode>(i))));
    arrangeModeComboBox_->setGeometry(120, 128, 232, 22);
    setHint(arrangeModeComboBox_, "Rシステムで削減される組み合わせに影響します。");
    arrangeModeLabel_->setBuddy(arrangeModeComboBox_);
    connect(arrangeModeComboBox_, &QComboBox::currentIndexChanged, this, &OptionsPage::ArrangeModeComboBoxChange);

    connect(&model_, &SessionModel::changed, this, &OptionsPage::refresh);
    refresh(Changes::everything());
}

void OptionsPage::changeOptions(const std::function<void(Options&)>& edit) {
    if (refreshing_) return;
    model_.run([&](Session& s) { return s.changeOptions(edit); });
}

void OptionsPage::SaveRadioButtonClick(int tag) {
    changeOptions([tag](Options& o) { o.saveFormat = tag == static_cast<int>(SaveFormat::Text) ? SaveFormat::Text : SaveFormat::Csv; });
}

void OptionsPage::PopupHintCheckBoxClick() {
    const bool on = popupHintCheckBox_->isChecked();
    changeOptions([on](Options& o) { o.popupHint = on; });
}

void OptionsPage::ESC_Action_CheckBoxClick() {
    const bool on = escActionCheckBox_->isChecked();
    changeOptions([on](Options& o) { o.escAction = on; });
}

void OptionsPage::ProxyCheckBoxClick() {
    const bool on = proxyCheckBox_->isChecked();
    changeOptions([on](Options& o) { o.useProxy = on; });
}

void OptionsPage::ProxyEditChange() {
    const std::string address = proxyAddressEdit_->text().toStdString();
    const std::string port = proxyPortEdit_->text().toStdString();
    changeOptions([&](Options& o) {
        o.proxyAddress = address;
        o.proxyPort = port;
    });
}

// The address as typed, blanks at either end left out.
void OptionsPage::UpdateUrlEditChange() {
    const std::string url = updateUrlEdit_->text().trimmed().toStdString();
    changeOptions([&](Options& o) { o.updateUrl = url; });
}

void OptionsPage::PrizeRadioButtonClick(int tag) {
    changeOptions([tag](Options& o) {
        o.probabilityView = tag == static_cast<int>(ProbabilityView::Fraction) ? ProbabilityView::Fraction
                                                                               : ProbabilityView::Reciprocal;
    });
}

void OptionsPage::DefMemoChange() {
    const int count = defUpDown_->position();
    changeOptions([count](Options& o) { o.defaultDrawCount = count; });
}

void OptionsPage::LotModeComboBoxChange() {
    const PriorityMode mode = priorityModeFromIndex(lotModeComboBox_->currentIndex());
    changeOptions([mode](Options& o) { o.priorityMode = mode; });
}

void OptionsPage::PastRemoveCheckBoxClick() {
    const bool on = pastRemoveCheckBox_->isChecked();
    // Collecting every past winner takes a moment on a long history.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    changeOptions([on](Options& o) { o.pastRemove = on; });
    QApplication::restoreOverrideCursor();
}

void OptionsPage::RSystemCheckBoxClick() {
    const bool on = rSystemCheckBox_->isChecked();
    changeOptions([on](Options& o) { o.rSystem = on; });
}

void OptionsPage::ArrangeModeComboBoxChange() {
    const ArrangeMode mode = arrangeModeFromIndex(arrangeModeComboBox_->currentIndex());
    changeOptions([mode](Options& o) { o.arrangeMode = mode; });
}

void OptionsPage::commitMargins(const PrinterInfo& printer) {
    marginFields_->setPageSize(printer.pageWidthMm, printer.pageHeightMm);
    marginFields_->HorzMemoExit();
    marginFields_->VertMemoExit();
}

void OptionsPage::refresh(const Changes& changes) {
    if (!changes.has(Change::Options)) return;
    const Options& o = model_.session().options();
    refreshing_ = true;
    (o.saveFormat == SaveFormat::Text ? textRadioButton_ : csvRadioButton_)->setChecked(true);
    popupHintCheckBox_->setChecked(o.popupHint);
    escActionCheckBox_->setChecked(o.escAction);
    proxyCheckBox_->setChecked(o.useProxy);
    for (QWidget* w : std::initializer_list<QWidget*>{proxyAddressLabel_, proxyAddressEdit_, proxyPortLabel_, proxyPortEdit_})
        w->setEnabled(o.useProxy);
    if (proxyAddressEdit_->text().toStdString() != o.proxyAddress)
        proxyAddressEdit_->setText(QString::fromStdString(o.proxyAddress));
    if (proxyPortEdit_->text().toStdString() != o.proxyPort) proxyPortEdit_->setText(QString::fromStdString(o.proxyPort));
    if (updateUrlEdit_->text().trimmed().toStdString() != o.updateUrl)
        updateUrlEdit_->setText(QString::fromStdString(o.updateUrl));
    (o.probabilityView == ProbabilityView::Fraction ? fractionRadioButton_ : reciprocalRadioButton_)->setChecked(true);
    if (defUpDown_->position() != o.defaultDrawCount) defUpDown_->setPosition(o.defaultDrawCount);
    lotModeComboBox_->setCurrentIndex(static_cast<int>(o.priorityMode));
    pastRemoveCheckBox_->setChecked(o.pastRemove);
    rSystemCheckBox_->setChecked(o.rSystem);
    arrangeModeLabel_->setEnabled(o.rSystem);
    arrangeModeComboBox_->setEnabled(o.rSystem);
    arrangeModeComboBox_->setCurrentIndex(static_cast<int>(o.arrangeMode));
    refreshing_ = false;
}

}  // namespace tambor::ui
