#include "ui/links/links_page.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QToolButton>

#include "core/program_info.h"
#include "ui/common/edit_conventions.h"
#include "ui/common/message_box.h"
#include "ui/common/session_model.h"
#include "ui/common/shell_open.h"
#include "ui/common/widget_helpers.h"
#include "ui/links/click_label.h"
#include "ui/links/link_file.h"
#include "ui/links/link_icons.h"
#include "ui/main_menus.h"

namespace tambor::ui {
namespace {

const char* const kDisplayCaption = "追加・変更(&A)";
const char* const kDisplayHint = "リンクの追加・変更を行うモードにします。";
const char* const kEditCaption = "登録(&A)";
const char* const kEditHint = "リンクを登録します。";
const char* const kChooseFileHint = "ファイルを選択して下さい。";

void setHintText(QWidget* widget, const QString& hint) {
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

void setHintText(QAction* action, const QString& hint) {
    action->setToolTip(hint);
    action->setStatusTip(hint);
}

QString openHint(const QString& title) { return u8("クリックすると『%1』を開きます。").arg(title); }

// A menu caption shows "&" only when doubled.
QString menuCaption(const QString& title) {
    QString caption = title;
    return caption.replace(QLatin1Char('&'), QLatin1String("&&"));
}

QToolButton* makeSpeedButton(QWidget* parent, const QString& name, int x, int y) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAutoRaise(true);
    button->setIconSize(QSize(32, 32));
    button->setGeometry(x, y, 40, 40);
    return button;
}

ClickLabel* makeClickLabel(QWidget* parent, const QString& name, const QRect& geometry) {
    auto* label = new ClickLabel(parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

// Shortcuts and desktop links are usually kept on the desktop.
QString shortcutFolder() {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return QDir(desktop).exists() ? desktop : QDir::homePath();
}

const int kLeft = 10;
const int kTextLeft = 58;
const int kTitleWidth = 320;
const int kLinkWidth = 640;
const int kRowTop = 62;
const int kRowPitch = 50;

}  // namespace

LinksPage::LinksPage(SessionModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName(QStringLiteral("LinksPage"));
    labelPopupMenu_ = new QMenu(this);
    showHintsInStatusBar(labelPopupMenu_, this);
    labelPopupMenu_->setObjectName(QStringLiteral("LabelPopupMenu"));
    QAction* labelCopy = labelPopupMenu_->addAction(u8("コピー(&C)"), this, &LinksPage::LabelCopyClick);
    labelCopy->setObjectName(QStringLiteral("LabelCopy"));
    setHint(labelCopy, "リンク先をクリップボードにコピーします。");

    const QString homeTitle = QString::fromUtf8(tambor::kHomePageTitle);
    homePageSpeedButton_ = makeSpeedButton(this, QStringLiteral("HomePageSpeedButton"), kLeft, 8);
    homePageSpeedButton_->setIcon(programIcon());
    homePageTitleLabel_ = makeClickLabel(this, QStringLiteral("HomePageTitleLabel"), QRect(kTextLeft, 9, kTitleWidth, 19));
    homePageTitleLabel_->setText(homeTitle);
    QFont bold = homePageTitleLabel_->font();
    bold.setBold(true);
    homePageTitleLabel_->setFont(bold);
    homePageUrlLabel_ = makeClickLabel(this, QStringLiteral("HomePageUrlLabel"), QRect(kTextLeft, 29, kLinkWidth, 19));
    homePageUrlLabel_->setText(QString::fromUtf8(tambor::kHomePageUrl));
    homePageUrlLabel_->showAsAddress();
    attachLabelMenu(homePageUrlLabel_);
    for (QWidget* w : std::initializer_list<QWidget*>{homePageSpeedButton_, homePageTitleLabel_, homePageUrlLabel_})
        setHintText(w, openHint(homeTitle));
    connect(homePageSpeedButton_, &QToolButton::clicked, this, &LinksPage::HomePageClick);
    connect(homePageTitleLabel_, &ClickLabel::clicked, this, &LinksPage::HomePageClick);
    connect(homePageUrlLabel_, &ClickLabel::clicked, this, &LinksPage::HomePageClick);

    QWidget* previous = nullptr;
    for (int i = 1; i <= 3; ++i) {
        Slot& s = slotAt(i);
        const int y = kRowTop + (i - 1) * kRowPitch;
        s.speedButton = makeSpeedButton(this, QStringLiteral("Add%1SpeedButton").arg(i), kLeft, y);
        // Each label sits exactly where its edit field appears in edit mode.
        const QRect titleRect(kTextLeft, y + 1, kTitleWidth, 19);
        const QRect linkRect(kTextLeft, y + 21, kLinkWidth, 19);
        s.titleLabel = makeClickLabel(this, QStringLiteral("Add%1TitleLabel").arg(i), titleRect);
        s.linkLabel = makeClickLabel(this, QStringLiteral("Add%1LinkLabel").arg(i), linkRect);
        s.linkLabel->showAsAddress();
        attachLabelMenu(s.linkLabel);
        s.titleEdit = new QLineEdit(this);
        s.titleEdit->setObjectName(QStringLiteral("Add%1TitleEdit").arg(i));
        s.titleEdit->setGeometry(titleRect);
        setHint(s.titleEdit, "タイトルを入力して下さい。");
        s.linkEdit = new QLineEdit(this);
        s.linkEdit->setObjectName(QStringLiteral("Add%1LinkEdit").arg(i));
        s.linkEdit->setGeometry(linkRect);
        setHint(s.linkEdit, "リンク先を入力して下さい。");
        for (QLineEdit* edit : {s.titleEdit, s.linkEdit}) {
            applyEditConventions(edit, EditKind::Text);
            edit->hide();
            if (previous) setTabOrder(previous, edit);
            previous = edit;
        }
        connect(s.speedButton, &QToolButton::clicked, this, [this, i] { AddSpeedButtonClick(i); });
        connect(s.titleLabel, &ClickLabel::clicked, this, [this, i] { AddClick(i); });
        connect(s.linkLabel, &ClickLabel::clicked, this, [this, i] { AddClick(i); });
    }

    addBitBtn_ = makeButton(this, "AddBitBtn", kDisplayCaption, kDisplayHint, 598, kRowTop + 3 * kRowPitch + 2, 112, 25);
    connect(addBitBtn_, &QPushButton::clicked, this, &LinksPage::AddBitBtnClick);
    chooseFileIcon_ = QApplication::style()->standardIcon(QStyle::SP_DialogOpenButton);

    connect(&model_, &SessionModel::changed, this, &LinksPage::refresh);
    refresh(Changes::everything());
}

void LinksPage::attachMenus(MainMenus& menus) {
    const QString homeTitle = QString::fromUtf8(tambor::kHomePageTitle);
    menus.homePage->setIcon(programIcon());
    setHintText(menus.homePage, openHint(homeTitle));
    connect(menus.homePage, &QAction::triggered, this, &LinksPage::HomePageClick);
    for (int i = 1; i <= 3; ++i) {
        slotAt(i).action = menus.userLinks[i - 1];
        connect(slotAt(i).action, &QAction::triggered, this, [this, i] { AddClick(i); });
    }
    if (!menus.load->icon().isNull()) chooseFileIcon_ = menus.load->icon();
    refresh(Changes::everything());
}

bool LinksPage::editMode() const { return !slots_[0].titleLabel->isVisibleTo(this); }

void LinksPage::SetUserLink(int slot, const QString& title, const QString& target) {
    Slot& s = slotAt(slot);
    const QIcon icon = linkIcon(target);
    const QString hint = openHint(title);
    // In edit mode the large button chooses a file and shows so.
    if (!editMode()) {
        s.speedButton->setIcon(icon);
        setHintText(s.speedButton, hint);
    }
    setHintText(s.titleLabel, hint);
    setHintText(s.linkLabel, hint);
    s.titleLabel->setText(title);
    s.linkLabel->setText(target);
    if (s.action) {
        s.action->setIcon(icon);
        s.action->setText(menuCaption(title));
        setHintText(s.action, hint);
    }
}

void LinksPage::AddClick(int slot) {
    const QString target = slotAt(slot).linkLabel->text();
    if (!target.isEmpty()) ShellOpen(target, window());
}

void LinksPage::AddSpeedButtonClick(int slot) {
    if (!editMode()) {
        AddClick(slot);
        return;
    }
    const QString fileName = FileDialog::getOpenFileName(
        this, u8("リンク先の選択"),
        u8("インターネット ショートカット (*.url);;デスクトップのリンク (*.desktop);;すべてのファイル (*)"),
        shortcutFolder());
    if (fileName.isEmpty()) return;
    QString error;
    const PickedLink link = linkFromFile(fileName, &error);
    if (!error.isEmpty()) {
        MessageBox::warning(this, error);
        return;
    }
    slotAt(slot).titleEdit->setText(link.title);
    slotAt(slot).linkEdit->setText(link.target);
}

void LinksPage::AddBitBtnClick() {
    if (!editMode()) {
        enterEditMode();
        return;
    }
    if (!registerEdits()) return;
    addBitBtn_->setText(u8(kDisplayCaption));
    setHint(addBitBtn_, kDisplayHint);
    for (Slot& s : slots_) {
        s.titleEdit->hide();
        s.linkEdit->hide();
        s.titleLabel->show();
        s.linkLabel->show();
    }
    // The large buttons take the links' icons back.
    refresh(Changes::everything());
}

void LinksPage::enterEditMode() {
    addBitBtn_->setText(u8(kEditCaption));
    setHint(addBitBtn_, kEditHint);
    for (Slot& s : slots_) {
        s.speedButton->setIcon(chooseFileIcon_);
        setHint(s.speedButton, kChooseFileHint);
        s.titleLabel->hide();
        s.linkLabel->hide();
        s.titleEdit->setText(s.titleLabel->text());
        s.linkEdit->setText(s.linkLabel->text());
        s.titleEdit->show();
        s.linkEdit->show();
    }
    slots_[0].titleEdit->setFocus();
}

bool LinksPage::registerEdits() {
    std::array<UserLink, kUserLinkCount> links;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        const QString title = slots_[i].titleEdit->text();
        if (!fitsSettingsFile(title)) {
            MessageBox::warning(this, u8("タイトル「%1」には、設定ファイルに保存できない文字が含まれています。").arg(title));
            slots_[i].titleEdit->setFocus();
            return false;
        }
        links[i] = {title.toStdString(), storableTarget(slots_[i].linkEdit->text()).toStdString()};
    }
    model_.run([&](Session& s) { return s.changeOptions([&](Options& o) { o.links = links; }); });
    return true;
}

void LinksPage::HomePageClick() { ShellOpen(homePageUrlLabel_->text(), window()); }

void LinksPage::LabelCopyClick() {
    if (labelPopupTarget_) QApplication::clipboard()->setText(labelPopupTarget_->text());
}

void LinksPage::attachLabelMenu(QLabel* label) {
    label->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(label, &QLabel::customContextMenuRequested, this, [this, label](const QPoint& pos) {
        labelPopupTarget_ = label;
        labelPopupMenu_->popup(label->mapToGlobal(pos));
    });
}

void LinksPage::refresh(const Changes& changes) {
    if (!changes.has(Change::Options)) return;
    const auto& links = model_.session().options().links;
    for (int i = 0; i < kUserLinkCount; ++i)
        SetUserLink(i + 1, QString::fromStdString(links[static_cast<std::size_t>(i)].title),
                    QString::fromStdString(links[static_cast<std::size_t>(i)].target));
}

}  // namespace tambor::ui
