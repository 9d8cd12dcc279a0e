#include "ui/common/tool_window.h"

#include <QShortcut>
#include <QWidget>

#include "ui/common/session_model.h"
#include "ui/common/wait_form.h"

namespace tambor::ui {

void closeWithEscape(QWidget* window, SessionModel& model) {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setObjectName(QStringLiteral("EscapeShortcut"));
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, window, [window, &model] {
        if (model.busy()) {
            model.waitForm().requestCancel();
            return;
        }
        window->close();
    });
}

}  // namespace tambor::ui
