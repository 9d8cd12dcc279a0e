#pragma once
// Every message box, file dialog and print dialog of the program goes
// through here, so tests can answer them in advance instead of blocking on
// a modal dialog.

#include <QAbstractPrintDialog>
#include <QMarginsF>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QPrintDialog;
class QPrintPreviewDialog;

namespace tambor::ui {

class MessageBox {
public:
    // Exclamation icon, OK: refusals such as an empty list.
    static void warning(QWidget* parent, const QString& text);
    // Error icon, OK: failures.
    static void error(QWidget* parent, const QString& text);
    // Information icon, OK: results.
    static void information(QWidget* parent, const QString& text);
    // Question icon with Yes / No / Cancel.
    static QMessageBox::StandardButton questionYesNoCancel(QWidget* parent, const QString& text);
    // Question icon with Yes / No (No is the default); true for Yes.
    static bool questionYesNo(QWidget* parent, const QString& text);

    // Tests: the next message boxes return these answers without showing.
    static void setNextAnswer(QMessageBox::StandardButton answer);
    // Tests: the texts of the message boxes shown (or answered) so far.
    static QStringList shownTexts();
    static void clearShownTexts();

private:
    static QMessageBox::StandardButton show(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                            QMessageBox::StandardButtons buttons, QMessageBox::StandardButton cancel);
};

// What the last file dialog was opened with (tests).
struct FileDialogOffer {
    QString folder;          // the folder it started in
    QString selectedFilter;  // the file type preselected
};

class FileDialog {
public:
    // Empty when the user cancels. The dialog starts in folder (empty: Qt's
    // choice) with *selectedFilter preselected when given, and returns the
    // file type chosen there. The name gets the extension of the type
    // chosen (defaultSuffix for 「すべてのファイル」) when it has none.
    static QString getSaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                   const QString& defaultSuffix, const QString& folder = {},
                                   QString* selectedFilter = nullptr);
    static QString getOpenFileName(QWidget* parent, const QString& caption, const QString& filter,
                                   const QString& folder = {});

    // Several files at once; empty when the user cancels.
    static QStringList getOpenFileNames(QWidget* parent, const QString& caption, const QString& filter);

    // Tests: the next dialog returns this name (an empty name = cancelled).
    static void setNextFileName(const QString& fileName);
    // Tests: the next multi-file open dialog returns these names.
    static void setNextFileNames(const QStringList& fileNames);
    // Tests: the file type the user picks in the next save dialog (else
    // the one preselected stays).
    static void setNextFilter(const QString& filter);
    static FileDialogOffer lastOffer();
};

// A test's answer to the next print dialog: what the user chose in it.
struct PrintDialogAnswer {
    bool accepted = true;  // false: the dialog was cancelled
    QAbstractPrintDialog::PrintRange range = QAbstractPrintDialog::AllPages;
    int fromPage = 0;  // with PageRange
    int toPage = 0;
    int copies = 1;
    QString outputFileName;  // print to this PDF file instead (empty: as set up)
    // Page margins typed on the dialog's properties page (millimetres;
    // nothing: left as set up).
    std::optional<QMarginsF> pageMarginsMm;
    // The (test) printer picked in the dialog (empty: the one set up).
    QString printerName;
};

// What the last print dialog offered (tests).
struct PrintDialogOffer {
    int minPage = 0;
    int maxPage = 0;
    int fromPage = 0;
    int toPage = 0;
    bool selectionOffered = false;
    QAbstractPrintDialog::PrintRange range = QAbstractPrintDialog::AllPages;
};

class PrintDialog {
public:
    // Runs the prepared dialog; true when the user chose to print, the
    // dialog's printer then holding the choices.
    static bool exec(QPrintDialog& dialog);
    // Shows the preview until the user closes it.
    static void execPreview(QPrintPreviewDialog& dialog);

    // Tests: the next print dialog returns this answer without showing.
    static void setNextAnswer(const PrintDialogAnswer& answer);
    static PrintDialogOffer lastOffer();
    // Tests: the next preview is shown without waiting; inspect looks at it
    // (its pages painted) before it closes.
    static void setNextPreview(std::function<void(QPrintPreviewDialog&)> inspect);
};

// Tests: every dialog must have been answered in advance. A dialog without
// an answer calls unanswered (the test fails there) and is cancelled instead
// of showing. resetDialogAnswers() forgets queued answers and shown texts.
void setDialogTestMode(std::function<void(const QString& what)> unanswered);
void resetDialogAnswers();

}  // namespace tambor::ui
