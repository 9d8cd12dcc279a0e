// タンボル: the desktop program.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "ui/application.h"
#include "ui/main_window.h"

namespace {

// The program's files live beside the executable; an installed copy whose
// folder isn't writable keeps them in the per-user data folder instead.
std::filesystem::path dataFolder() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (QFileInfo(exeDir).isWritable()) return exeDir.toStdString();
    const QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(userDir);
    return userDir.toStdString();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tambor::ui::setUpApplication(app);
    tambor::ui::TMainForm mainForm({dataFolder()});
    mainForm.show();
    return app.exec();
}
