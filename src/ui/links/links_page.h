#pragma once
// The link tab: the three user links, each a title and a target, and the
// pop-up menu that copies a target's address.

#include <QWidget>
#include <array>

class QLabel;
class QMenu;

namespace tambor {
class Changes;
}

namespace tambor::ui {

class SessionModel;

class LinksPage : public QWidget {
    Q_OBJECT
public:
    explicit LinksPage(SessionModel& model, QWidget* parent = nullptr);

private:
    // Shows link slot (1..3) with its title and target.
    void SetUserLink(int slot, const QString& title, const QString& target);
    void LabelCopyClick();
    void refresh(const tambor::Changes& changes);

    SessionModel& model_;
    std::array<QLabel*, 3> titleLabels_{};
    std::array<QLabel*, 3> targetLabels_{};
    QMenu* labelPopupMenu_ = nullptr;
    QLabel* labelPopupTarget_ = nullptr;
};

}  // namespace tambor::ui
