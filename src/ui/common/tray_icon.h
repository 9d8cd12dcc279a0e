#pragma once
// The notification-area icon the main window hides in when ESC minimises
// it, with its menu ("元のサイズに戻す(&R)", "終了(&X)").

#include <QObject>

class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace tambor::ui {

class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(QWidget* window);

    bool shown() const { return shown_; }
    void show(const QString& tip);
    void hide();
    void setTip(const QString& tip);

signals:
    void restoreRequested();  // the default item, or a double click on the icon
    void exitRequested();

private:
    QSystemTrayIcon* icon_ = nullptr;
    QMenu* menu_ = nullptr;
    bool shown_ = false;
};

}  // namespace tambor::ui
