#include "ui/links/link_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>

#include "io/cp932.h"
#include "ui/common/widget_helpers.h"
#include "ui/links/desktop_entry.h"

namespace tambor::ui {
namespace {

// Shortcuts come from Windows (cp932) as often as from elsewhere (UTF-8).
QString decodeShortcut(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    try {
        return QString::fromStdString(tambor::cp932ToUtf8(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), ""));
    } catch (const tambor::TextEncodingError&) {
        return QString::fromLatin1(bytes);
    }
}

// The value of the first "URL=" line (name compared without case).
QString shortcutUrl(const QString& text) {
    for (QString line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0) continue;
        if (line.left(eq).compare(QLatin1String("URL"), Qt::CaseInsensitive) == 0) return line.mid(eq + 1).trimmed();
    }
    return {};
}

bool isUrl(const QString& target) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(target).hasMatch();
}

}  // namespace

PickedLink linkFromFile(const QString& path, QString* error) {
    const QFileInfo info(path);
    PickedLink link{info.completeBaseName(), info.absoluteFilePath()};
    const QString suffix = info.suffix().toUpper();
    if (suffix != QLatin1String("URL") && suffix != QLatin1String("DESKTOP")) return link;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = u8("ファイル「%1」を読み込めません: %2").arg(info.fileName(), file.errorString());
        return {};
    }
    const QByteArray bytes = file.readAll();
    if (suffix == QLatin1String("URL")) {
        link.target = shortcutUrl(decodeShortcut(bytes));
        if (link.target.isEmpty()) {
            *error = u8("インターネット ショートカット「%1」にリンク先 (URL) がありません。").arg(info.fileName());
            return {};
        }
        return link;
    }
    // A desktop entry is a link only when it says so; a program's entry is
    // kept as a file, which the desktop starts when it is opened.
    const QMap<QString, QString> entry = readKeyFileGroup(bytes, QStringLiteral("Desktop Entry"));
    if (entry.value(QStringLiteral("Type")) != QLatin1String("Link")) return link;
    link.target = entry.value(QStringLiteral("URL"));
    if (link.target.isEmpty()) {
        *error = u8("デスクトップのリンク「%1」にリンク先 (URL) がありません。").arg(info.fileName());
        return {};
    }
    const QString name = localizedValue(entry, QStringLiteral("Name"));
    if (!name.isEmpty()) link.title = name;
    return link;
}

bool fitsSettingsFile(const QString& text) {
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) return false;
    try {
        tambor::utf8ToCp932(text.toStdString(), "");
        return true;
    } catch (const tambor::TextEncodingError&) {
        return false;
    }
}

QString storableTarget(const QString& target) {
    if (!target.contains(QLatin1Char(',')) && fitsSettingsFile(target)) return target;
    const QUrl url = isUrl(target) ? QUrl(target) : QUrl::fromLocalFile(target);
    QString encoded = QString::fromLatin1(url.toEncoded());
    encoded.replace(QLatin1Char(','), QLatin1String("%2C"));
    return encoded;
}

}  // namespace tambor::ui
