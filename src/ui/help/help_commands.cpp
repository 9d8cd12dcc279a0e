#include "ui/help/help_commands.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>

#include "ui/common/shell_open.h"
#include "ui/help/about_box.h"
#include "ui/main_menus.h"

#ifndef TAMBOR_INSTALLED_HELP_DIR
#define TAMBOR_INSTALLED_HELP_DIR "../share/tambor/help"
#endif

namespace tambor::ui {
namespace {

// The theme's help icon, or a question mark on a blue disc.
QIcon contentsIcon() {
    QIcon icon = QIcon::fromTheme(QStringLiteral("help-contents"));
    if (!icon.isNull()) return icon;
    for (int size : {16, 22, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x15, 0x65, 0xc0));
        p.drawEllipse(QRectF(0.5, 0.5, size - 1.0, size - 1.0));
        QFont font = p.font();
        font.setPixelSize(size * 3 / 4);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("?"));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

QString helpIndexPath(const QString& executableFolder) {
    const QDir folder(executableFolder);
    const QString beside = folder.filePath(QStringLiteral("help/index.htm"));
    if (QFileInfo::exists(beside)) return beside;
    const QString installed =
        QDir::cleanPath(folder.filePath(QStringLiteral(TAMBOR_INSTALLED_HELP_DIR "/index.htm")));
    if (QFileInfo::exists(installed)) return installed;
    return beside;
}

QString helpIndexPath() { return helpIndexPath(QCoreApplication::applicationDirPath()); }

HelpCommands::HelpCommands(MainMenus& menus, QWidget* window) : QObject(window), window_(window) {
    setObjectName(QStringLiteral("HelpCommands"));
    menus.contents->setIcon(contentsIcon());
    connect(menus.contents, &QAction::triggered, this, &HelpCommands::ContentsClick);
    connect(menus.about, &QAction::triggered, this, &HelpCommands::AboutClick);
}

void HelpCommands::ContentsClick() { ShellOpen(helpIndexPath()); }

void HelpCommands::AboutClick() {
    TAboutBox box(window_);
    box.exec();
}

}  // namespace tambor::ui
