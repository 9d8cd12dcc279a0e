#pragma once
// Creates the real main window over a temporary data folder for a test, and
// drives it as a user would: controls and actions found by objectName.

#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ui/common/session_model.h"
#include "ui/main_window.h"

class QAction;

namespace tambor::ui::testing {

struct TestWindow {
    QTemporaryDir dir;
    std::unique_ptr<TMainForm> window;

    TestWindow();

    template <typename T>
    T* find(const char* name) const {
        T* child = window->findChild<T*>(QString::fromLatin1(name));
        if (!child) qFatal("control %s not found", name);
        return child;
    }

    Session& session() const { return window->session(); }
    SessionModel& model() const { return window->sessionModel(); }
    // Puts lines into the list as a file load would, and shows them.
    void appendLines(const char* text) const;

    void clickNumber(int number, Qt::MouseButton button = Qt::LeftButton) const;
    QString text(const char* lineEditName) const;
    // Triggers the action with that objectName as its menu item or button
    // would; a disabled or hidden action fails the test instead.
    bool trigger(const char* actionName) const;
};

}  // namespace tambor::ui::testing
