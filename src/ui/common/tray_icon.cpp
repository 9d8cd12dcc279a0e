#include "ui/common/tray_icon.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStyle>
#include <QSystemTrayIcon>

#include "ui/common/widget_helpers.h"

namespace tambor::ui {

TrayIcon::TrayIcon(QWidget* window) : QObject(window) {
    menu_ = new QMenu(window);
    menu_->setObjectName(QStringLiteral("TrayPopupMenu"));
    QAction* restore = menu_->addAction(u8("元のサイズに戻す(&R)"), this, &TrayIcon::restoreRequested);
    restore->setObjectName(QStringLiteral("TrayRestore"));
    setHint(restore, "『タンボル』のウィンドウを元のサイズに戻します。");
    menu_->setDefaultAction(restore);
    menu_->addSeparator();
    QAction* exit = menu_->addAction(u8("終了(&X)"), this, &TrayIcon::exitRequested);
    exit->setObjectName(QStringLiteral("TrayExit"));
    setHint(exit, "『タンボル』を終了します。");
    icon_ = new QSystemTrayIcon(this);
    icon_->setObjectName(QStringLiteral("TrayIcon"));
    icon_->setIcon(QApplication::style()->standardIcon(QStyle::SP_ComputerIcon));
    icon_->setContextMenu(menu_);
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick) emit restoreRequested();
    });
}

void TrayIcon::show(const QString& tip) {
    // The icon is the main window's own.
    if (auto* window = qobject_cast<QWidget*>(parent()); window && !window->windowIcon().isNull())
        icon_->setIcon(window->windowIcon());
    icon_->setToolTip(tip);
    icon_->show();
    shown_ = true;
}

void TrayIcon::hide() {
    if (!shown_) return;
    icon_->hide();
    shown_ = false;
}

void TrayIcon::setTip(const QString& tip) { icon_->setToolTip(tip); }

}  // namespace tambor::ui
