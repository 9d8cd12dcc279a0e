#pragma once
// What a file chosen for a user link gives: an Internet shortcut (.url)
// its title and address, a desktop link (.desktop with Type=Link) its name
// and address, any other file its own path. And the form in which a target
// can be kept in the settings file.

#include <QString>

namespace tambor::ui {

struct PickedLink {
    QString title;
    QString target;
};

// The title and target for the file at path (absolute). A .url file
// (extension compared without case) gives the value of its "URL" line; a
// .desktop file of Type=Link its URL and its (localized) Name; anything
// else its path. The title is the file's name without folder and last
// extension unless the desktop link names itself. On failure (unreadable,
// a shortcut without an address) error receives the message for the user
// and the result is empty.
PickedLink linkFromFile(const QString& path, QString* error);

// True when text can be written to the settings file as it is: cp932 can
// hold every character, and it has no line break.
bool fitsSettingsFile(const QString& text);

// The settings file keeps a link as "title,target" and splits it at the
// last comma, so a target must not hold a comma; nor may it hold a
// character that cp932 lacks. Such a target is rewritten into an address
// that opens the same thing: a URL percent-encoded, a file path as a
// file:// URL. Any other target is returned unchanged.
QString storableTarget(const QString& target);

}  // namespace tambor::ui
