#include "ui/fonts.h"

#include <QFont>
#include <QStringList>

namespace tambor::ui {

void registerFontSubstitutes() {
    QFont::insertSubstitutions(QString::fromUtf8("ＭＳ ゴシック"),
                               QStringList() << QStringLiteral("IPAGothic") << QStringLiteral("Monospace"));
    QFont::insertSubstitutions(QString::fromUtf8("ＭＳ Ｐゴシック"),
                               QStringList() << QStringLiteral("IPAPGothic") << QStringLiteral("Sans Serif"));
}

}  // namespace tambor::ui
