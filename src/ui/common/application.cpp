#include "ui/common/application.h"

#include <QLibraryInfo>
#include <QProxyStyle>
#include <QTranslator>

#include "ui/common/fonts.h"

// The translations are built into the library: a static library's
// resources are brought in by name.
static void initTranslationResources() { Q_INIT_RESOURCE(tambor_translations); }

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
    // Every text of the program is Japanese, so the standard dialogs and
    // buttons are too, whatever the desktop's language.
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
    // Installed last, so it is asked first: the dialog texts Qt leaves in
    // English (built into the program).
    initTranslationResources();
    auto* own = new QTranslator(&app);
    if (own->load(QStringLiteral(":/translations/tambor_qt_ja.qm")))
        QApplication::installTranslator(own);
    else
        delete own;
    app.setStyle(new TamborStyle(QStringLiteral("Fusion")));
    QApplication::setFont(windowFont());
}

}  // namespace tambor::ui
