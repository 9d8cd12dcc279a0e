#pragma once
// The options tab: how the program behaves. Every control shows one option
// of the session and hands its changes to it.

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tambor {
class Changes;
struct Options;
struct PrinterInfo;
}  // namespace tambor

namespace tambor::ui {

class MarginFields;
class SessionModel;
class UpDown;

class OptionsPage : public QWidget {
    Q_OBJECT
public:
    explicit OptionsPage(SessionModel& model, QWidget* parent = nullptr);

    // The page count a save reads (it is not an option kept in the file).
    QLineEdit* splitMemo() const { return splitMemo_; }
    UpDown* splitUpDown() const { return splitUpDown_; }

    // Takes the margins as typed, as when their edits lose the focus, cut
    // at the printer's printable size.
    void commitMargins(const tambor::PrinterInfo& printer);

private:
    void SaveRadioButtonClick(int tag);
    void PopupHintCheckBoxClick();
    void ESC_Action_CheckBoxClick();
    void ProxyCheckBoxClick();
    void ProxyEditChange();
    void UpdateUrlEditChange();
    void PrizeRadioButtonClick(int tag);
    void DefMemoChange();
    void LotModeComboBoxChange();
    void PastRemoveCheckBoxClick();
    void RSystemCheckBoxClick();
    void ArrangeModeComboBoxChange();
    void changeOptions(const std::function<void(tambor::Options&)>& edit);
    void refresh(const tambor::Changes& changes);

    SessionModel& model_;
    bool refreshing_ = false;
    QRadioButton* csvRadioButton_ = nullptr;
    QRadioButton* textRadioButton_ = nullptr;
    QLineEdit* splitMemo_ = nullptr;
    UpDown* splitUpDown_ = nullptr;
    QCheckBox* popupHintCheckBox_ = nullptr;
    QCheckBox* escActionCheckBox_ = nullptr;
    QCheckBox* proxyCheckBox_ = nullptr;
    QLabel* proxyAddressLabel_ = nullptr;
    QLineEdit* proxyAddressEdit_ = nullptr;
    QLabel* proxyPortLabel_ = nullptr;
    QLineEdit* proxyPortEdit_ = nullptr;
    QLineEdit* updateUrlEdit_ = nullptr;
    QRadioButton* reciprocalRadioButton_ = nullptr;
    QRadioButton* fractionRadioButton_ = nullptr;
    QLineEdit* horzMemo_ = nullptr;
    QLineEdit* vertMemo_ = nullptr;
    MarginFields* marginFields_ = nullptr;
    QPushButton* getMarginBitBtn_ = nullptr;
    QPushButton* printTestBitBtn_ = nullptr;
    QLineEdit* defMemo_ = nullptr;
    UpDown* defUpDown_ = nullptr;
    QComboBox* lotModeComboBox_ = nullptr;
    QCheckBox* pastRemoveCheckBox_ = nullptr;
    QCheckBox* rSystemCheckBox_ = nullptr;
    QLabel* arrangeModeLabel_ = nullptr;
    QComboBox* arrangeModeComboBox_ = nullptr;
};

}  // namespace tambor::ui
