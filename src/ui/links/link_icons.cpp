#include "ui/links/link_icons.h"

#include <QApplication>
#include <QDir>
#include <QStyle>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QUrl>

#include "ui/common/shell_open.h"
#include "ui/links/desktop_entry.h"

// The resources of a static library are linked only when something names
// them; the logo does.
static void initProgramResources() { Q_INIT_RESOURCE(tambor); }

namespace tambor::ui {
namespace {

const int kIconSizes[] = {16, 22, 32, 48};

}  // namespace

// The desktop entry id of the default handler of mimeType, or empty.
QString defaultHandler(const QString& mimeType) {
    QStringList lists;
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower().split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& folder : xdgConfigFolders()) {
        for (const QString& desktop : desktops) lists << folder + QLatin1Char('/') + desktop + QStringLiteral("-mimeapps.list");
        lists << folder + QStringLiteral("/mimeapps.list");
    }
    const QStringList dataFolders = xdgDataFolders();
    for (const QString& folder : dataFolders) lists << folder + QStringLiteral("/applications/mimeapps.list");
    for (const QString& folder : dataFolders) lists << folder + QStringLiteral("/applications/defaults.list");
    auto installed = [&](const QString& id) {
        for (const QString& folder : dataFolders)
            if (QFileInfo::exists(folder + QStringLiteral("/applications/") + id)) return true;
        return false;
    };
    auto firstInstalled = [&](const QString& value) {
        for (const QString& id : value.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            if (installed(id.trimmed())) return id.trimmed();
        return QString();
    };
    for (const QString& list : lists) {
        const QString id = firstInstalled(readKeyFileGroup(list, QStringLiteral("Default Applications")).value(mimeType));
        if (!id.isEmpty()) return id;
    }
    for (const QString& folder : dataFolders) {
        const QString id = firstInstalled(
            readKeyFileGroup(folder + QStringLiteral("/applications/mimeinfo.cache"), QStringLiteral("MIME Cache"))
                .value(mimeType));
        if (!id.isEmpty()) return id;
    }
    return {};
}

namespace {

QIcon iconByName(const QString& name) {
    if (name.isEmpty()) return {};
    if (QDir::isAbsolutePath(name)) {
        QIcon icon(name);
        return icon.pixmap(16).isNull() ? QIcon() : icon;
    }
    QIcon icon = QIcon::fromTheme(name);
    if (!icon.isNull()) return icon;
    for (const char* suffix : {".png", ".svg", ".xpm"}) {
        const QString pixmap = QStringLiteral("/usr/share/pixmaps/") + name + QLatin1String(suffix);
        if (QFileInfo::exists(pixmap)) return QIcon(pixmap);
    }
    return {};
}

QIcon handlerIcon(const QString& scheme) {
    const QString id = defaultHandler(QStringLiteral("x-scheme-handler/") + scheme);
    if (id.isEmpty()) return {};
    for (const QString& folder : xdgDataFolders()) {
        const QString path = folder + QStringLiteral("/applications/") + id;
        if (!QFileInfo::exists(path)) continue;
        return iconByName(readKeyFileGroup(path, QStringLiteral("Desktop Entry")).value(QStringLiteral("Icon")));
    }
    return {};
}

// Our own pictures for a desktop without icons: a globe and an envelope.
QIcon drawnIcon(bool mail) {
    QIcon icon;
    for (int size : kIconSizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal s = size;
        const qreal pen = std::max<qreal>(1.0, s / 16.0);
        if (mail) {
            const QRectF body(pen / 2, s * 0.2, s - pen, s * 0.6);
            p.setPen(QPen(QColor(0x5d, 0x40, 0x37), pen));
            p.setBrush(QColor(0xff, 0xf8, 0xe1));
            p.drawRect(body);
            QPainterPath flap;
            flap.moveTo(body.topLeft());
            flap.lineTo(body.center().x(), body.top() + body.height() * 0.6);
            flap.lineTo(body.topRight());
            p.setBrush(Qt::NoBrush);
            p.drawPath(flap);
        } else {
            const QRectF globe(pen / 2, pen / 2, s - pen, s - pen);
            p.setPen(QPen(QColor(0x0d, 0x47, 0xa1), pen));
            p.setBrush(QColor(0x42, 0xa5, 0xf5));
            p.drawEllipse(globe);
            p.setPen(QPen(Qt::white, pen));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(globe.center().x() - s * 0.2, globe.top(), s * 0.4, globe.height()));
            p.drawLine(QPointF(globe.left(), globe.center().y()), QPointF(globe.right(), globe.center().y()));
            p.drawLine(QPointF(globe.center().x(), globe.top()), QPointF(globe.center().x(), globe.bottom()));
        }
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

QString defaultSchemeHandler(const QString& scheme) {
    return defaultHandler(QStringLiteral("x-scheme-handler/") + scheme);
}

LinkKind linkKind(const QString& target) {
    if (target.startsWith(QLatin1String("http")) || target.startsWith(QLatin1String("about:blank")) ||
        isWebAddressWithoutScheme(target))
        return LinkKind::Web;
    if (target.startsWith(QLatin1String("mailto"))) return LinkKind::Mail;
    return LinkKind::File;
}

QIcon protocolIcon(const QString& scheme) {
    QIcon icon = handlerIcon(scheme);
    if (!icon.isNull()) return icon;
    const bool mail = scheme == QLatin1String("mailto");
    const QStringList generic = mail ? QStringList{QStringLiteral("internet-mail"), QStringLiteral("mail-send")}
                                     : QStringList{QStringLiteral("web-browser"), QStringLiteral("applications-internet")};
    for (const QString& name : generic) {
        icon = QIcon::fromTheme(name);
        if (!icon.isNull()) return icon;
    }
    return drawnIcon(mail);
}

QIcon linkIcon(const QString& target) {
    switch (linkKind(target)) {
    case LinkKind::Web: return protocolIcon(QStringLiteral("http"));
    case LinkKind::Mail: return protocolIcon(QStringLiteral("mailto"));
    case LinkKind::File: break;
    }
    const QUrl url(target);
    const QString path = url.isLocalFile() ? url.toLocalFile() : target;
    const QFileInfo info(path);
    QIcon icon = target.isEmpty() ? QIcon() : QFileIconProvider().icon(info);
    if (!icon.pixmap(16).isNull()) return icon;
    // A missing file or an empty link: the theme's generic picture of its
    // kind, so the button never shows empty (or falls back to its caption).
    const bool folder = info.isDir();
    icon = QIcon::fromTheme(folder ? QStringLiteral("folder") : QStringLiteral("text-x-generic"));
    if (!icon.pixmap(16).isNull()) return icon;
    return QApplication::style()->standardIcon(folder ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
}

QIcon programIcon() {
    initProgramResources();
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/tambor.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace tambor::ui
