#pragma once
// Start-up shared by the program and the window tests.

#include <QApplication>

namespace tambor::ui {

// Title, fonts, Qt's own Japanese texts and hint behaviour of the application.
void setUpApplication(QApplication& app);

}  // namespace tambor::ui
