#include "ui/links/links_page.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>

#include "ui/common/session_model.h"
#include "ui/common/widget_helpers.h"

namespace tambor::ui {

LinksPage::LinksPage(SessionModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName(QStringLiteral("LinksPage"));
    labelPopupMenu_ = new QMenu(this);
    labelPopupMenu_->setObjectName(QStringLiteral("LabelPopupMenu"));
    QAction* labelCopy = labelPopupMenu_->addAction(u8("コピー(&C)"), this, &LinksPage::LabelCopyClick);
    labelCopy->setObjectName(QStringLiteral("LabelCopy"));
    setHint(labelCopy, "リンク先をクリップボードにコピーします。");
    for (int i = 1; i <= 3; ++i) {
        const int y = 10 + (i - 1) * 30;
        QLabel* title = makeLabel(this, "", 10, y, 200, 16);
        title->setObjectName(QStringLiteral("Add%1TitleLabel").arg(i));
        QLabel* link = makeLabel(this, "", 220, y, 400, 16);
        link->setObjectName(QStringLiteral("Add%1LinkLabel").arg(i));
        link->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(link, &QLabel::customContextMenuRequested, this, [this, link](const QPoint& pos) {
            labelPopupTarget_ = link;
            labelPopupMenu_->popup(link->mapToGlobal(pos));
        });
        titleLabels_[static_cast<std::size_t>(i - 1)] = title;
        targetLabels_[static_cast<std::size_t>(i - 1)] = link;
    }
    connect(&model_, &SessionModel::changed, this, &LinksPage::refresh);
    refresh(Changes::everything());
}

void LinksPage::SetUserLink(int slot, const QString& title, const QString& target) {
    titleLabels_[static_cast<std::size_t>(slot - 1)]->setText(title);
    targetLabels_[static_cast<std::size_t>(slot - 1)]->setText(target);
}

void LinksPage::LabelCopyClick() {
    if (labelPopupTarget_) QApplication::clipboard()->setText(labelPopupTarget_->text());
}

void LinksPage::refresh(const Changes& changes) {
    if (!changes.has(Change::Options)) return;
    const auto& links = model_.session().options().links;
    for (int i = 0; i < kUserLinkCount; ++i)
        SetUserLink(i + 1, QString::fromStdString(links[static_cast<std::size_t>(i)].title),
                    QString::fromStdString(links[static_cast<std::size_t>(i)].target));
}

}  // namespace tambor::ui
