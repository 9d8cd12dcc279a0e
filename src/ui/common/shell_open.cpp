#include "ui/common/shell_open.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QRegularExpression>

#include "ui/common/message_box.h"
#include "ui/common/widget_helpers.h"
#include "ui/links/link_icons.h"

namespace tambor::ui {
namespace {

std::function<void(const QUrl&)>& hook() {
    static std::function<void(const QUrl&)> h;
    return h;
}

bool hasScheme(const QString& target) {
    return target.contains(QLatin1String("://")) || target.startsWith(QLatin1String("mailto:")) ||
           target.startsWith(QLatin1String("about:"));
}

// Schemes every desktop opens without a registered handler of its own:
// the browser takes the web ones, the file manager files.
bool commonScheme(const QString& scheme) {
    for (const char* known : {"http", "https", "file", "mailto", "about"})
        if (scheme == QLatin1String(known)) return true;
    return false;
}

void cannotOpen(QWidget* parent, const QString& target, const char* why) {
    MessageBox::error(parent, u8("「%1」を開けませんでした。\n%2").arg(target, u8(why)));
}

}  // namespace

bool isWebAddressWithoutScheme(const QString& target) {
    if (hasScheme(target)) return false;
    if (target.startsWith(QLatin1String("www."), Qt::CaseInsensitive) && target.size() > 4) return true;
    static const QRegularExpression hostAndPath(
        QStringLiteral("^[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)*\\.[A-Za-z]{2,}(:[0-9]+)?/"));
    return hostAndPath.match(target).hasMatch() && !QFileInfo::exists(target);
}

QUrl shellOpenUrl(const QString& target) {
    if (hasScheme(target)) return QUrl(target);
    if (isWebAddressWithoutScheme(target)) return QUrl(QStringLiteral("http://") + target);
    return QUrl::fromLocalFile(target);
}

bool ShellOpen(const QString& target, QWidget* parent) {
    const QUrl url = shellOpenUrl(target);
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        cannotOpen(parent, target, "ファイルが見つかりません。");
        return false;
    }
    if (!url.isValid() || (!commonScheme(url.scheme()) && defaultSchemeHandler(url.scheme()).isEmpty())) {
        cannotOpen(parent, target, "開くことのできるプログラムがありません。");
        return false;
    }
    if (hook()) {
        hook()(url);
        return true;
    }
    if (!QDesktopServices::openUrl(url)) {
        cannotOpen(parent, target, "開くことのできるプログラムがありません。");
        return false;
    }
    return true;
}

void setShellOpenHook(std::function<void(const QUrl&)> h) { hook() = std::move(h); }

}  // namespace tambor::ui
