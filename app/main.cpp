// タンボル: the desktop program.

#include <QApplication>

#include "io/program_folder.h"
#include "ui/common/application.h"
#include "ui/common/message_box.h"
#include "ui/common/termination_signals.h"
#include "ui/links/link_icons.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // From here on a SIGTERM or SIGHUP waits for the event loop and closes
    // the window properly (settings written) rather than killing the program.
    auto* terminationSignals = new tambor::ui::TerminationSignals(&app);
    tambor::ui::setUpApplication(app);
    // Every window and the desktop's task list show the program's icon.
    QApplication::setWindowIcon(tambor::ui::programIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("tambor"));
    // The program's files live beside the executable; an installed copy
    // whose folder isn't writable keeps them in the per-user data folder.
    std::filesystem::path folder;
    try {
        folder = tambor::programDataFolder(tambor::executableFolder());
    } catch (const std::exception& e) {
        tambor::ui::MessageBox::error(nullptr, QString::fromStdString(e.what()));
        folder = std::filesystem::current_path();
    }
    tambor::ui::TMainForm mainForm({folder});
    QObject::connect(terminationSignals, &tambor::ui::TerminationSignals::received, &mainForm, &QWidget::close);
    mainForm.show();
    return app.exec();
}
