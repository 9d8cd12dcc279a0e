#include "ui/help/about_box.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "core/program_info.h"
#include "ui/common/shell_open.h"
#include "ui/common/widget_helpers.h"
#include "ui/links/click_label.h"
#include "ui/links/link_icons.h"

namespace tambor::ui {
namespace {

QLabel* makeText(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                 Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment);
    label->setGeometry(geometry);
    return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("TAboutBox"));
    setWindowTitle(u8("バージョン情報"));
    setFixedSize(338, 232);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setGeometry(8, 8, 322, 178);

    auto* logo = new QLabel(panel);
    logo->setObjectName(QStringLiteral("ProgramIcon"));
    logo->setPixmap(programIcon().pixmap(64, 64));
    logo->setGeometry(14, 12, 64, 64);
    auto* name = makeText(panel, "ProductName", u8("タンボル"), QRect(92, 14, 220, 30));
    QFont big = name->font();
    big.setPixelSize(24);
    big.setBold(true);
    name->setFont(big);
    makeText(panel, "Version", QString::fromUtf8(tambor::kVersionText), QRect(94, 48, 220, 18));
    makeText(panel, "Notice", u8("当選を保証するものではありません。"), QRect(6, 86, 310, 18),
             Qt::AlignCenter);
    makeText(panel, "Comments", u8(" ミニロト／ロト６　予想・購入支援プログラム "), QRect(6, 110, 310, 18),
             Qt::AlignCenter);

    auto* mailIcon = new ClickLabel(panel);
    mailIcon->setObjectName(QStringLiteral("MailtoImage"));
    mailIcon->setPixmap(protocolIcon(QStringLiteral("mailto")).pixmap(16, 16));
    mailIcon->setGeometry(60, 144, 16, 16);
    mailtoLabel_ = new ClickLabel(panel);
    mailtoLabel_->setObjectName(QStringLiteral("mailtoLabel"));
    mailtoLabel_->setText(QString::fromUtf8(tambor::kContactMail));
    mailtoLabel_->showAsAddress();
    mailtoLabel_->setGeometry(82, 143, 220, 18);
    const char* mailHint = "作者にメールを送ります。";
    setHint(mailIcon, mailHint);
    setHint(mailtoLabel_, mailHint);
    connect(mailIcon, &ClickLabel::clicked, this, &TAboutBox::mailtoLabelClick);
    connect(mailtoLabel_, &ClickLabel::clicked, this, &TAboutBox::mailtoLabelClick);

    mailtoPopupMenu_ = new QMenu(this);
    mailtoPopupMenu_->setObjectName(QStringLiteral("MailtoPopupMenu"));
    QAction* copy = mailtoPopupMenu_->addAction(u8("コピー(&C)"), this, &TAboutBox::CopyClick);
    copy->setObjectName(QStringLiteral("MailtoCopy"));
    setHint(copy, "メールアドレスをクリップボードにコピーします。");
    mailtoLabel_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mailtoLabel_, &QLabel::customContextMenuRequested, this, [this](const QPoint& pos) {
        popupTarget_ = mailtoLabel_;
        mailtoPopupMenu_->popup(mailtoLabel_->mapToGlobal(pos));
    });

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitBtnOK"));
    ok->setGeometry(131, 196, 76, 26);
    ok->setDefault(true);
    setHint(ok, "バージョン情報を閉じます。");
    // OK is also the cancel button: Esc closes the box as QDialog does.
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::mailtoLabelClick() {
    ShellOpen(QStringLiteral("mailto:") + mailtoLabel_->text() + u8("?Subject=『タンボル』からのメールです。"), this);
}

void TAboutBox::CopyClick() {
    if (popupTarget_) QApplication::clipboard()->setText(popupTarget_->text());
}

}  // namespace tambor::ui
