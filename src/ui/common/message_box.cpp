#include "ui/common/message_box.h"
#include "ui/common/printer.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QQueue>

namespace tambor::ui {
namespace {

const char* const kCaption = "タンボル";

struct Seams {
    QQueue<QMessageBox::StandardButton> answers;
    QQueue<QString> fileNames;
    QQueue<QString> filters;
    FileDialogOffer lastFileOffer;
    QStringList shown;
    QQueue<PrintDialogAnswer> printAnswers;
    QQueue<std::function<void(QPrintPreviewDialog&)>> previews;
    PrintDialogOffer lastOffer;
    std::function<void(const QString&)> unanswered;  // set in tests
};

Seams& seams() {
    static Seams s;
    return s;
}

// In test mode, reports the dialog nobody answered; true when it must not show.
bool refuseUnanswered(const QString& what) {
    if (!seams().unanswered) return false;
    seams().unanswered(what);
    return true;
}

}  // namespace

QMessageBox::StandardButton MessageBox::show(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                             QMessageBox::StandardButtons buttons, QMessageBox::StandardButton cancel) {
    seams().shown.append(text);
    if (!seams().answers.isEmpty()) return seams().answers.dequeue();
    if (refuseUnanswered(QStringLiteral("message box: ") + text)) return cancel;
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

bool MessageBox::questionYesNo(QWidget* parent, const QString& text) {
    return show(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton answer) { seams().answers.enqueue(answer); }
QStringList MessageBox::shownTexts() { return seams().shown; }
void MessageBox::clearShownTexts() { seams().shown.clear(); }

namespace {

// The extension a file type gives ("テキストファイル(*.txt)" → "txt"); empty
// for a type of every file.
QString filterSuffix(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.([A-Za-z0-9]+)\\)"));
    const QRegularExpressionMatch m = pattern.match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString withSuffix(const QString& fileName, const QString& filter, const QString& defaultSuffix) {
    if (fileName.isEmpty() || !QFileInfo(fileName).suffix().isEmpty()) return fileName;
    const QString suffix = filterSuffix(filter);
    const QString added = suffix.isEmpty() ? defaultSuffix : suffix;
    return added.isEmpty() ? fileName : fileName + QLatin1Char('.') + added;
}

}  // namespace

QString FileDialog::getSaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                    const QString& defaultSuffix, const QString& folder, QString* selectedFilter) {
    const QString preselected = selectedFilter && !selectedFilter->isEmpty()
                                    ? *selectedFilter
                                    : filter.section(QStringLiteral(";;"), 0, 0);
    seams().lastFileOffer = {folder, preselected};
    if (!seams().fileNames.isEmpty()) {
        const QString chosen = seams().filters.isEmpty() ? preselected : seams().filters.dequeue();
        if (selectedFilter) *selectedFilter = chosen;
        return withSuffix(seams().fileNames.dequeue(), chosen, defaultSuffix);
    }
    if (refuseUnanswered(QStringLiteral("save dialog: ") + caption)) return {};
    QFileDialog dialog(parent, caption, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectNameFilter(preselected);
    // The type chosen gives the extension, so the dialog asks about the
    // file that will really be written before replacing it.
    auto suffixFor = [defaultSuffix](const QString& type) {
        const QString suffix = filterSuffix(type);
        return suffix.isEmpty() ? defaultSuffix : suffix;
    };
    dialog.setDefaultSuffix(suffixFor(preselected));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, suffixFor](const QString& type) { dialog.setDefaultSuffix(suffixFor(type)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    if (selectedFilter) *selectedFilter = dialog.selectedNameFilter();
    return withSuffix(dialog.selectedFiles().constFirst(), dialog.selectedNameFilter(), defaultSuffix);
}

QString FileDialog::getOpenFileName(QWidget* parent, const QString& caption, const QString& filter,
                                    const QString& folder) {
    seams().lastFileOffer = {folder, filter.section(QStringLiteral(";;"), 0, 0)};
    if (!seams().fileNames.isEmpty()) return seams().fileNames.dequeue();
    if (refuseUnanswered(QStringLiteral("open dialog: ") + caption)) return {};
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QStringList FileDialog::getOpenFileNames(QWidget* parent, const QString& caption, const QString& filter) {
    if (!seams().fileNames.isEmpty()) {
        const QString names = seams().fileNames.dequeue();
        return names.isEmpty() ? QStringList() : names.split(QLatin1Char('\n'));
    }
    if (refuseUnanswered(QStringLiteral("open dialog: ") + caption)) return {};
    return QFileDialog::getOpenFileNames(parent, caption, QString(), filter);
}

void FileDialog::setNextFileName(const QString& fileName) { seams().fileNames.enqueue(fileName); }
void FileDialog::setNextFilter(const QString& filter) { seams().filters.enqueue(filter); }
FileDialogOffer FileDialog::lastOffer() { return seams().lastFileOffer; }
void FileDialog::setNextFileNames(const QStringList& fileNames) {
    seams().fileNames.enqueue(fileNames.join(QLatin1Char('\n')));
}

bool PrintDialog::exec(QPrintDialog& dialog) {
    PrintDialogOffer& offer = seams().lastOffer;
    offer.minPage = dialog.minPage();
    offer.maxPage = dialog.maxPage();
    offer.fromPage = dialog.fromPage();
    offer.toPage = dialog.toPage();
    offer.selectionOffered = dialog.testOption(QAbstractPrintDialog::PrintSelection);
    offer.range = dialog.printRange();
    if (!seams().printAnswers.isEmpty()) {
        const PrintDialogAnswer answer = seams().printAnswers.dequeue();
        if (!answer.accepted) return false;
        QPrinter* printer = dialog.printer();
        if (!answer.printerName.isEmpty()) {
            setUpPrinter(*printer, answer.printerName);
            setTestDialogPrinter(answer.printerName);
        }
        printer->setPrintRange(static_cast<QPrinter::PrintRange>(answer.range));
        if (answer.range == QAbstractPrintDialog::PageRange) printer->setFromTo(answer.fromPage, answer.toPage);
        printer->setCopyCount(answer.copies);
        if (!answer.outputFileName.isEmpty()) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(answer.outputFileName);
        }
        if (answer.pageMarginsMm) printer->setPageMargins(*answer.pageMarginsMm, QPageLayout::Millimeter);
        return true;
    }
    if (refuseUnanswered(QStringLiteral("print dialog: ") + dialog.windowTitle())) return false;
    return dialog.exec() == QDialog::Accepted;
}

void PrintDialog::execPreview(QPrintPreviewDialog& dialog) {
    if (!seams().previews.isEmpty()) {
        const auto inspect = seams().previews.dequeue();
        dialog.show();
        QCoreApplication::processEvents();
        if (inspect) inspect(dialog);
        dialog.close();
        return;
    }
    if (refuseUnanswered(QStringLiteral("print preview"))) return;
    dialog.exec();
}

void PrintDialog::setNextAnswer(const PrintDialogAnswer& answer) { seams().printAnswers.enqueue(answer); }
PrintDialogOffer PrintDialog::lastOffer() { return seams().lastOffer; }
void PrintDialog::setNextPreview(std::function<void(QPrintPreviewDialog&)> inspect) {
    seams().previews.enqueue(std::move(inspect));
}

void setDialogTestMode(std::function<void(const QString&)> unanswered) { seams().unanswered = std::move(unanswered); }

void resetDialogAnswers() {
    seams().answers.clear();
    seams().fileNames.clear();
    seams().filters.clear();
    seams().lastFileOffer = {};
    seams().shown.clear();
    seams().printAnswers.clear();
    seams().previews.clear();
    seams().lastOffer = {};
}

}  // namespace tambor::ui
