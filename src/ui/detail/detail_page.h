#pragma once
// The detail tab: the duplicate list, the random draw's weighting report
// and the winning lines of the last prize check.

#include <QWidget>

#include "ui/common/growth.h"

class QListView;
class QPushButton;

namespace tambor {
class Changes;
}

namespace tambor::ui {

class CombinationListModel;
class SessionModel;
class TextLinesModel;

class DetailPage : public QWidget {
    Q_OBJECT
public:
    explicit DetailPage(SessionModel& model, QWidget* parent = nullptr);

    QListView* dupListBox() const { return dupListBox_; }
    QListView* resultListBox() const { return resultListBox_; }
    QListView* searchListBox() const { return searchListBox_; }
    // The window is delta larger than its smallest size: the lists grow
    // down, the check results' list also to the right.
    void growBy(QSize delta) { growth_.growBy(delta); }

private:
    void DupClearBitBtnClick();
    void refresh(const tambor::Changes& changes);

    SessionModel& model_;
    Growth growth_;
    QListView* dupListBox_ = nullptr;
    CombinationListModel* dupModel_ = nullptr;
    QPushButton* dupClearBitBtn_ = nullptr;
    QListView* resultListBox_ = nullptr;
    TextLinesModel* resultModel_ = nullptr;
    QListView* searchListBox_ = nullptr;
    TextLinesModel* searchModel_ = nullptr;
};

}  // namespace tambor::ui
