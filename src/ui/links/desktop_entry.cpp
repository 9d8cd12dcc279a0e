#include "ui/links/desktop_entry.h"

#include <QDir>
#include <QFile>
#include <QLocale>

namespace tambor::ui {
namespace {

QString unescape(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's': out += QLatin1Char(' '); break;
        case 'n': out += QLatin1Char('\n'); break;
        case 't': out += QLatin1Char('\t'); break;
        case 'r': out += QLatin1Char('\r'); break;
        case '\\': out += QLatin1Char('\\'); break;
        default: out += QLatin1Char('\\') + next; break;
        }
    }
    return out;
}

QStringList folders(const char* homeVariable, const QString& homeDefault, const char* listVariable,
                    const QString& listDefault) {
    QStringList result;
    const QString home = qEnvironmentVariable(homeVariable);
    result << (QDir::isAbsolutePath(home) ? home : QDir::homePath() + homeDefault);
    QString list = qEnvironmentVariable(listVariable);
    if (list.isEmpty()) list = listDefault;
    for (const QString& folder : list.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(folder)) result << folder;
    return result;
}

}  // namespace

QMap<QString, QString> readKeyFileGroup(const QByteArray& bytes, const QString& group) {
    QMap<QString, QString> keys;
    const QString text = QString::fromUtf8(bytes);
    bool inGroup = false;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#'))) continue;
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            inGroup = trimmed.mid(1, trimmed.size() - 2) == group;
            continue;
        }
        if (!inGroup) continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) continue;
        const QString key = line.left(eq).trimmed();
        if (!keys.contains(key)) keys.insert(key, unescape(line.mid(eq + 1).trimmed()));
    }
    return keys;
}

QMap<QString, QString> readKeyFileGroup(const QString& path, const QString& group) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return readKeyFileGroup(file.readAll(), group);
}

QStringList xdgConfigFolders() {
    return folders("XDG_CONFIG_HOME", QStringLiteral("/.config"), "XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
}

QStringList xdgDataFolders() {
    return folders("XDG_DATA_HOME", QStringLiteral("/.local/share"), "XDG_DATA_DIRS",
                   QStringLiteral("/usr/local/share:/usr/share"));
}

QString localizedValue(const QMap<QString, QString>& group, const QString& key) {
    const QString system = QLocale::system().name();  // e.g. "ja_JP"
    const QString language = system.section(QLatin1Char('_'), 0, 0);
    for (const QString& locale : {system, language, QStringLiteral("ja_JP"), QStringLiteral("ja")}) {
        const auto found = group.constFind(key + QLatin1Char('[') + locale + QLatin1Char(']'));
        if (found != group.constEnd() && !found->isEmpty()) return *found;
    }
    return group.value(key);
}

}  // namespace tambor::ui
