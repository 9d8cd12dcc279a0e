#pragma once
// Every message box and file dialog of the program goes through here, so
// tests can answer them in advance instead of blocking on a modal dialog.

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>

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

    // Tests: the next message boxes return these answers without showing.
    static void setNextAnswer(QMessageBox::StandardButton answer);
    // Tests: the texts of the message boxes shown (or answered) so far.
    static QStringList shownTexts();
    static void clearShownTexts();

private:
    static QMessageBox::StandardButton show(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                            QMessageBox::StandardButtons buttons, QMessageBox::StandardButton cancel);
};

class FileDialog {
public:
    // Empty when the user cancels.
    static QString getSaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                   const QString& defaultSuffix);
    static QString getOpenFileName(QWidget* parent, const QString& caption, const QString& filter,
                                   const QString& folder = {});

    // Tests: the next dialog returns this name (an empty name = cancelled).
    static void setNextFileName(const QString& fileName);
};

// Tests: every dialog must have been answered in advance. A dialog without
// an answer calls unanswered (the test fails there) and is cancelled instead
// of showing. resetDialogAnswers() forgets queued answers and shown texts.
void setDialogTestMode(std::function<void(const QString& what)> unanswered);
void resetDialogAnswers();

}  // namespace tambor::ui
