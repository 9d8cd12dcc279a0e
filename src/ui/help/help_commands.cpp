#include "ui/help/help_commands.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QTabWidget>

#include "ui/help/about_box.h"
#include "ui/help/help_form.h"
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

QStringList helpPlaces(const QString& executableFolder) {
    const QDir folder(executableFolder);
    return {folder.filePath(QStringLiteral("help/index.htm")),
            QDir::cleanPath(folder.filePath(QStringLiteral(TAMBOR_INSTALLED_HELP_DIR "/index.htm")))};
}

QString helpIndexPath(const QString& executableFolder) {
    const QStringList places = helpPlaces(executableFolder);
    for (const QString& place : places)
        if (QFileInfo::exists(place)) return place;
    return places.constFirst();
}

QString helpIndexPath() { return helpIndexPath(QCoreApplication::applicationDirPath()); }

QString helpPageForTab(const QString& tabSheetName) {
    static const std::pair<const char*, const char*> pages[] = {{"PickTabSheet", "index.htm"},
                                                                {"DetailTabSheet", "prize.htm"},
                                                                {"CalTabSheet", "calc.htm"},
                                                                {"OptionTabSheet", "options.htm"},
                                                                {"LinkTabSheet", "links.htm"}};
    for (const auto& [sheet, page] : pages)
        if (tabSheetName == QLatin1String(sheet)) return QString::fromLatin1(page);
    return QStringLiteral("index.htm");
}

HelpCommands::HelpCommands(MainMenus& menus, SessionModel& model, QTabWidget* pages, QWidget* window)
    : QObject(window), model_(model), pages_(pages), window_(window),
      places_(helpPlaces(QCoreApplication::applicationDirPath())) {
    setObjectName(QStringLiteral("HelpCommands"));
    menus.contents->setIcon(contentsIcon());
    menus.contents->setShortcut(QKeySequence(Qt::Key_F1));
    connect(menus.contents, &QAction::triggered, this, &HelpCommands::ContentsClick);
    connect(menus.about, &QAction::triggered, this, &HelpCommands::AboutClick);
}

HelpCommands::~HelpCommands() { delete form_; }

THelpForm* HelpCommands::helpForm() const { return form_; }

void HelpCommands::setHelpPlaces(QStringList places) {
    places_ = std::move(places);
    delete form_;
    form_ = nullptr;
}

THelpForm* HelpCommands::ContentsClick() {
    if (!form_) form_ = new THelpForm(model_, places_, window_);
    const QWidget* page = pages_ ? pages_->currentWidget() : nullptr;
    form_->showPage(helpPageForTab(page ? page->objectName() : QString()));
    return form_;
}

void HelpCommands::AboutClick() {
    TAboutBox box(window_);
    box.exec();
}

}  // namespace tambor::ui
