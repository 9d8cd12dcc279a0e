#include "ui/message_box.h"

#include <QFileDialog>
#include <QQueue>

namespace tambor::ui {
namespace {

const char* const kCaption = "タンボル";

QQueue<QMessageBox::StandardButton>& answers() {
    static QQueue<QMessageBox::StandardButton> queue;
    return queue;
}

QStringList& shown() {
    static QStringList texts;
    return texts;
}

QQueue<QString>& fileNames() {
    static QQueue<QString> queue;
    return queue;
}

}  // namespace

QMessageBox::StandardButton MessageBox::show(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton fallback) {
    shown().append(text);
    if (!answers().isEmpty()) return answers().dequeue();
    // Offscreen runs without a prepared answer must not hang on a modal box.
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen")) return fallback;
    QMessageBox box(icon, QString::fromUtf8(kCaption), text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void MessageBox::warning(QWidget* parent, const QString& text) {
    show(parent, QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBox::error(QWidget* parent, const QString& text) {
    show(parent, QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBox::information(QWidget* parent, const QString& text) {
    show(parent, QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

QMessageBox::StandardButton MessageBox::questionYesNoCancel(QWidget* parent, const QString& text) {
    return show(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                QMessageBox::Cancel);
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton answer) { answers().enqueue(answer); }
QStringList MessageBox::shownTexts() { return shown(); }
void MessageBox::clearShownTexts() { shown().clear(); }

QString FileDialog::getSaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                    const QString& defaultSuffix, QString* selectedFilter) {
    if (!fileNames().isEmpty()) return fileNames().dequeue();
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen")) return {};
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontUseNativeDialog, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    if (selectedFilter) *selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

QString FileDialog::getOpenFileName(QWidget* parent, const QString& caption, const QString& filter) {
    if (!fileNames().isEmpty()) return fileNames().dequeue();
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen")) return {};
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

void FileDialog::setNextFileName(const QString& fileName) { fileNames().enqueue(fileName); }

}  // namespace tambor::ui
