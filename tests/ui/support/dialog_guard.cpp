#include "support/dialog_guard.h"

#include <QApplication>
#include <QTest>

#include "ui/common/application.h"
#include "ui/common/message_box.h"

namespace tambor::ui::testing {

void installStrictDialogs() {
    setDialogTestMode([](const QString& what) {
        QTest::qFail(qPrintable(QStringLiteral("a dialog nobody answered: ") + what), __FILE__, __LINE__);
    });
}

void WindowTest::initTestCase() {
    setUpApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    installStrictDialogs();
}

void WindowTest::init() { resetDialogAnswers(); }

void WindowTest::cleanup() { resetDialogAnswers(); }

}  // namespace tambor::ui::testing
