#pragma once
// Opens a web address, mail address or file with the desktop's default
// application, as the history button, the links and the help do.

#include <QString>
#include <QUrl>
#include <functional>

namespace tambor::ui {

// "http…", "about:…" and "mailto:…" open as addresses; anything else as a
// local file path. The result is the desktop's to report.
void ShellOpen(const QString& target);

// The address ShellOpen gives the desktop for a target.
QUrl shellOpenUrl(const QString& target);

// Tests: see what would be opened instead of starting an application.
void setShellOpenHook(std::function<void(const QUrl&)> hook);

}  // namespace tambor::ui
