#include "ui/common/shell_open.h"

#include <QDesktopServices>

namespace tambor::ui {
namespace {

std::function<void(const QUrl&)>& hook() {
    static std::function<void(const QUrl&)> h;
    return h;
}

}  // namespace

QUrl shellOpenUrl(const QString& target) {
    const bool address = target.contains(QLatin1String("://")) || target.startsWith(QLatin1String("mailto:")) ||
                         target.startsWith(QLatin1String("about:"));
    return address ? QUrl(target) : QUrl::fromLocalFile(target);
}

void ShellOpen(const QString& target) {
    const QUrl url = shellOpenUrl(target);
    if (hook()) {
        hook()(url);
        return;
    }
    QDesktopServices::openUrl(url);
}

void setShellOpenHook(std::function<void(const QUrl&)> h) { hook() = std::move(h); }

}  // namespace tambor::ui
