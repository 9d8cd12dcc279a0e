#pragma once
// The pictures of the links: a web or mail target shows the icon of the
// desktop's default browser or mail program, a file its own file icon; and
// the program's own logo.

#include <QIcon>
#include <QString>

namespace tambor::ui {

enum class LinkKind { Web, Mail, File };

// "http…", "about:blank" and web addresses without their scheme are web targets, "mailto…" mail targets (both
// compared case-sensitively at the start), anything else names a file.
LinkKind linkKind(const QString& target);

// The icon of the application the desktop opens a URL scheme with ("http",
// "mailto"): the default handler of "x-scheme-handler/<scheme>" in the XDG
// MIME associations (mimeapps.list, then mimeinfo.cache), its desktop
// entry's Icon. Without one, the theme's generic browser or mail icon, and
// without that a picture of our own, so the result is never null.
QIcon protocolIcon(const QString& scheme);

// The desktop entry id of the default handler of a URL scheme, or empty.
QString defaultSchemeHandler(const QString& scheme);

// The icon of link target: protocolIcon("http") / ("mailto") or the file's
// own icon (a "file://" URL names its local file).
QIcon linkIcon(const QString& target);

// The program's logo, from the icons built into the program.
QIcon programIcon();

}  // namespace tambor::ui
