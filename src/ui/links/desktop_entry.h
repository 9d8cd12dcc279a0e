#pragma once
// Reading the key files of the desktop (desktop entries, mimeapps.list,
// mimeinfo.cache): "[group]" lines and "key=value" lines.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

namespace tambor::ui {

// The keys of one group of a key file (UTF-8), values with the desktop
// entry escapes (\s \n \t \r \\) resolved. A key that appears twice keeps
// its first value; comments and blank lines are skipped.
QMap<QString, QString> readKeyFileGroup(const QByteArray& bytes, const QString& group);
// The same from a file; empty when it cannot be read.
QMap<QString, QString> readKeyFileGroup(const QString& path, const QString& group);

// The desktop's search folders: $XDG_CONFIG_HOME (~/.config) and
// $XDG_CONFIG_DIRS (/etc/xdg); $XDG_DATA_HOME (~/.local/share) and
// $XDG_DATA_DIRS (/usr/local/share:/usr/share). Most important first.
QStringList xdgConfigFolders();
QStringList xdgDataFolders();

// The localized value of key for the user's language (key[ja_JP],
// key[ja], then key), as desktop entries store names.
QString localizedValue(const QMap<QString, QString>& group, const QString& key);

}  // namespace tambor::ui
