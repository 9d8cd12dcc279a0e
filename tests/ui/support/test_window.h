#pragma once
// Creates the real main window over a temporary data folder for a test.

#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ui/main_window.h"

namespace tambor::ui::testing {

struct TestWindow {
    QTemporaryDir dir;
    std::unique_ptr<TMainForm> window;

    TestWindow() {
        window = std::make_unique<TMainForm>(MainWindowOptions{dir.path().toStdString()});
        window->show();
        window->initialize();
    }

    template <typename T>
    T* find(const char* name) const {
        T* child = window->findChild<T*>(QString::fromLatin1(name));
        if (!child) qFatal("control %s not found", name);
        return child;
    }

    void clickNumber(int number, Qt::MouseButton button = Qt::LeftButton) const;
    QString text(const char* lineEditName) const;
};

}  // namespace tambor::ui::testing
