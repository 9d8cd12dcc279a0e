#include "ui/application.h"

#include <QFont>
#include <QProxyStyle>

#include "ui/fonts.h"

namespace tambor::ui {
namespace {

// Pop-up hints appear without delay.
class TamborStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

void setUpApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("tambor"));
    registerFontSubstitutes();
    app.setStyle(new TamborStyle(QStringLiteral("Fusion")));
    QFont f(QString::fromUtf8("ＭＳ Ｐゴシック"));
    f.setPixelSize(12);
    QApplication::setFont(f);
}

}  // namespace tambor::ui
