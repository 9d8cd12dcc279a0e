#include "ui/common/application.h"

#include <QProxyStyle>

#include "ui/common/fonts.h"

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
    QApplication::setFont(windowFont());
}

}  // namespace tambor::ui
