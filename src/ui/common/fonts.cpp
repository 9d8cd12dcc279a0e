#include "ui/common/fonts.h"

#include <QStringList>

namespace tambor::ui {

void registerFontSubstitutes() {
    QFont::insertSubstitutions(QString::fromUtf8("ＭＳ ゴシック"),
                               QStringList() << QStringLiteral("IPAGothic") << QStringLiteral("Monospace"));
    QFont::insertSubstitutions(QString::fromUtf8("ＭＳ Ｐゴシック"),
                               QStringList() << QStringLiteral("IPAPGothic") << QStringLiteral("Sans Serif"));
}

QFont windowFont() {
    QFont f(QString::fromUtf8("ＭＳ Ｐゴシック"));
    f.setPixelSize(12);
    return f;
}

QFont fixedPitchFont(int pixelSize) {
    QFont f(QString::fromUtf8("ＭＳ ゴシック"));
    f.setPixelSize(pixelSize);
    f.setStyleHint(QFont::TypeWriter);
    return f;
}

}  // namespace tambor::ui
