#pragma once
// The pick tab: the game, the combination list and the commands that fill,
// reorder, save and load it, the prize-check group and the number board.

#include <QWidget>

#include "core/game.h"
#include "ui/common/growth.h"

class QLineEdit;
class QListView;
class QPushButton;
class QRadioButton;

namespace tambor {
class Changes;
}

namespace tambor::ui {

class CombinationListModel;
class FileCommands;
class NumberBoardWidget;
class PrizeGroup;
class SessionModel;
class UpDown;

class PickPage : public QWidget {
    Q_OBJECT
public:
    PickPage(SessionModel& model, FileCommands& files, QWidget* parent = nullptr);

    QListView* listBox() const { return pickListBox_; }
    // The window is delta larger than its smallest size: the list grows
    // down, its count and clear button move with it, the rest stays.
    void growBy(QSize delta) { growth_.growBy(delta); }
    PrizeGroup* prizeGroup() const { return prizeGroup_; }

signals:
    // The statistics window was asked for.
    void rateFormWanted();
    // The grid editor was asked for (the list is not empty).
    void editFormWanted();
    // The filter conditions' window was asked for.
    void filterFormWanted();
    // The number analysis window was asked for.
    void analysisFormWanted();
    // The history window was asked for.
    void historyFormWanted();

private:
    void LotoRadioButtonClick(int gameTag);
    void ClearBitBtnClick();
    void LotBitBtnClick();
    void CombiBitBtnClick();
    void SortBitBtnClick();
    void EditBitBtnClick();
    // While the grid editor is open, the commands that change the list are off.
    void listEditingChanged(bool editing);
    void RecordBitBtnClick();
    // The filter button shows whether conditions are on (bold) and whether
    // the R system keeps the builder from using them (struck through).
    void showFilterState();
    // After a command filled or reordered the list: the list shows, and the
    // command's button keeps the focus.
    void finishListCommand(QWidget* commandButton);
    void refresh(const tambor::Changes& changes);
    // The radio button of a game.
    QRadioButton* gameRadioButton(tambor::GameMode mode) const;

    SessionModel& model_;
    FileCommands& files_;
    Growth growth_;
    QRadioButton* miniLotoRadioButton_ = nullptr;
    QRadioButton* loto6RadioButton_ = nullptr;
    QRadioButton* loto7RadioButton_ = nullptr;
    QListView* pickListBox_ = nullptr;
    CombinationListModel* pickModel_ = nullptr;
    QLineEdit* pickMemo_ = nullptr;
    QPushButton* clearBitBtn_ = nullptr;
    QPushButton* lotBitBtn_ = nullptr;
    QLineEdit* lotMemo_ = nullptr;
    UpDown* lotUpDown_ = nullptr;
    QPushButton* combiBitBtn_ = nullptr;
    QLineEdit* combiMemo_ = nullptr;
    QPushButton* sortBitBtn_ = nullptr;
    QPushButton* editBitBtn_ = nullptr;
    QPushButton* saveBitBtn_ = nullptr;
    QPushButton* loadBitBtn_ = nullptr;
    QPushButton* printBitBtn_ = nullptr;
    QPushButton* savePdfBitBtn_ = nullptr;
    QPushButton* rateBitBtn_ = nullptr;
    QPushButton* recordBitBtn_ = nullptr;
    QPushButton* filterBitBtn_ = nullptr;
    QPushButton* analysisBitBtn_ = nullptr;
    PrizeGroup* prizeGroup_ = nullptr;
    NumberBoardWidget* board_ = nullptr;
};

}  // namespace tambor::ui
