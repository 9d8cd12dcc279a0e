// Tambor.ini: the options are read once when the window is first shown and
// written once when it closes.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPageSize>
#include <QPrinterInfo>
#include <QRadioButton>

#include "io/print_margin.h"
#include "io/settings.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/up_down.h"

namespace tambor::ui {
namespace {

std::optional<PrinterInfo> currentPrinter() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) return std::nullopt;
    const QSizeF size = printer.defaultPageSize().size(QPageSize::Millimeter);
    return PrinterInfo{printer.printerName().toStdString(), size.width(), size.height()};
}

}  // namespace

Settings TMainForm::currentSettings() const {
    Settings s;
    s.game = session_.mode();
    s.saveFormat = saveFormat_;
    s.popupHint = popupHintCheckBox_->isChecked();
    s.escAction = escActionCheckBox_->isChecked();
    s.useProxy = proxyCheckBox_->isChecked();
    s.proxyAddress = proxyAddressEdit_->text().toStdString();
    s.proxyPort = proxyPortEdit_->text().toStdString();
    s.prizeViewMethod = prizeViewMethod_;
    s.horzMargin = horzMargin_;
    s.vertMargin = vertMargin_;
    s.defTimes = defUpDown_->position();
    s.lotMode = lotModeComboBox_->currentIndex();
    s.rSystem = rSystemCheckBox_->isChecked();
    s.arrangeMode = arrangeModeComboBox_->currentIndex();
    s.pastRemove = pastRemoveCheckBox_->isChecked();
    for (std::size_t i = 0; i < 3; ++i)
        s.links[i] = {userLinkTitles_[i]->text().toStdString(), userLinkTargets_[i]->text().toStdString()};
    return s;
}

void TMainForm::applySettings(const Settings& s) {
    // The order matters: the game first (it reloads the history that the
    // past-winner option reads), the R system before the roles it converts.
    LotoRadioButtonClick(static_cast<int>(s.game));
    (s.saveFormat == 1 ? textRadioButton_ : csvRadioButton_)->setChecked(true);
    SaveRadioButtonClick(s.saveFormat);
    popupHintCheckBox_->setChecked(s.popupHint);
    PopupHintCheckBoxClick();
    escActionCheckBox_->setChecked(s.escAction);
    proxyCheckBox_->setChecked(s.useProxy);
    ProxyCheckBoxClick();
    proxyAddressEdit_->setText(QString::fromStdString(s.proxyAddress));
    proxyPortEdit_->setText(QString::fromStdString(s.proxyPort));
    (s.prizeViewMethod == 1 ? fractionRadioButton_ : reciprocalRadioButton_)->setChecked(true);
    PrizeRadioButtonClick(s.prizeViewMethod);
    horzMargin_ = s.horzMargin;
    vertMargin_ = s.vertMargin;
    horzMemo_->setText(QString::fromStdString(formatMargin(horzMargin_)));
    vertMemo_->setText(QString::fromStdString(formatMargin(vertMargin_)));
    defUpDown_->setPosition(s.defTimes);
    lotUpDown_->setPosition(defUpDown_->position());
    lotModeComboBox_->setCurrentIndex(s.lotMode);
    rSystemCheckBox_->setChecked(s.rSystem);  // runs the R-system switch when it changes
    arrangeModeComboBox_->setCurrentIndex(s.arrangeMode);
    pastRemoveCheckBox_->setChecked(s.pastRemove);  // rebuilds the past winners when it changes
    for (std::size_t i = 0; i < 3; ++i)
        SetUserLink(static_cast<int>(i) + 1, QString::fromStdString(s.links[i].title),
                    QString::fromStdString(s.links[i].target));
}

void TMainForm::SetUserLink(int slot, const QString& title, const QString& target) {
    userLinkTitles_[static_cast<std::size_t>(slot - 1)]->setText(title);
    userLinkTargets_[static_cast<std::size_t>(slot - 1)]->setText(target);
}

void TMainForm::ReadSettings() {
    const std::optional<PrinterInfo> printer = currentPrinter();
    const PrinterInfo* p = printer ? &*printer : nullptr;
    const std::filesystem::path path = settingsPath(session_.dataFolder());
    const Settings current = currentSettings();
    Settings settings = current;
    try {
        ensureSettingsFile(path, current, p);
        settings = readSettingsFile(path, current, p);
    } catch (const std::exception& e) {
        // Reported once; the program goes on with the defaults.
        MessageBox::error(this, QString::fromStdString(e.what()));
    }
    applySettings(settings);
}

void TMainForm::WriteSettings() {
    const std::optional<PrinterInfo> printer = currentPrinter();
    if (printer) {
        // The margin edits are committed as if they had lost the focus.
        horzMargin_ = ParseMargin(horzMemo_->text().toStdString(), printer->pageWidthMm, horzMargin_);
        vertMargin_ = ParseMargin(vertMemo_->text().toStdString(), printer->pageHeightMm, vertMargin_);
    }
    try {
        writeSettingsFile(settingsPath(session_.dataFolder()), currentSettings(), printer ? &*printer : nullptr);
    } catch (const std::exception& e) {
        MessageBox::error(this, QString::fromStdString(e.what()));
    }
}

}  // namespace tambor::ui
