#include "support/test_window.h"

#include <QAction>
#include <QLineEdit>

#include "ui/pick/number_panel.h"

namespace tambor::ui::testing {

TestWindow::TestWindow() {
    window = std::make_unique<TMainForm>(MainWindowOptions{dir.path().toStdString()});
    window->show();
}

void TestWindow::appendLines(const char* text) const {
    session().list().appendText(text);
    model().apply(Change::List | Change::Duplicates);
}

void TestWindow::clickNumber(int number, Qt::MouseButton button) const {
    QTest::mouseClick(find<NumPanel>(QStringLiteral("NumPanel%1").arg(number).toLatin1().constData()), button);
}

QString TestWindow::text(const char* lineEditName) const { return find<QLineEdit>(lineEditName)->text(); }

bool TestWindow::trigger(const char* actionName) const {
    QAction* action = find<QAction>(actionName);
    if (!action->isEnabled() || !action->isVisible()) {
        QTest::qFail(qPrintable(QStringLiteral("action %1 is not available").arg(QString::fromLatin1(actionName))),
                     __FILE__, __LINE__);
        return false;
    }
    action->trigger();
    return true;
}

}  // namespace tambor::ui::testing
