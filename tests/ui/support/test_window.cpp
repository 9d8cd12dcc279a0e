#include "support/test_window.h"

#include <QLineEdit>

#include "ui/number_panel.h"

namespace tambor::ui::testing {

void TestWindow::clickNumber(int number, Qt::MouseButton button) const {
    auto* panel = window->findChild<NumPanel*>(QStringLiteral("NumPanel%1").arg(number));
    if (!panel) qFatal("NumPanel%d not found", number);
    QTest::mouseClick(panel, button);
}

QString TestWindow::text(const char* lineEditName) const { return find<QLineEdit>(lineEditName)->text(); }

}  // namespace tambor::ui::testing
