#pragma once
// Opens a web address, mail address or file with the desktop's default
// application, as the history button, the links and the help do, and says
// so when nothing could open it.

#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace tambor::ui {

// "scheme://…", "about:…" and "mailto:…" open as addresses, and so does a
// web address typed without its scheme ("www.example.jp",
// "example.jp/loto6/"), as "http://…"; anything else as a local file path.
// A missing file, a scheme no program is registered for, or a desktop that
// refuses the address gives a message box (through the dialog seam, owned
// by parent) naming the target; false then.
bool ShellOpen(const QString& target, QWidget* parent = nullptr);

// The address ShellOpen gives the desktop for a target.
QUrl shellOpenUrl(const QString& target);

// True for a web address typed without "http://": it starts with "www.", or
// a host name with a dot is followed by a path ("example.jp/loto6").
bool isWebAddressWithoutScheme(const QString& target);

// Tests: see what would be opened instead of starting an application. The
// checks that need no application (a missing file, an unknown scheme) still
// run first.
void setShellOpenHook(std::function<void(const QUrl&)> hook);

}  // namespace tambor::ui
