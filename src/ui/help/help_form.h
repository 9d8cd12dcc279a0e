#pragma once
// The help window: the help's contents at the left, the page at the right,
// back and forward through the pages seen, and a search within the page.
// Links to help pages open here; links to the web or to mail go to the
// desktop's programs.

#include <QUrl>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;

namespace tambor::ui {

class SessionModel;

// One entry of the help's contents: a caption and the page it opens.
struct HelpEntry {
    QString caption;
    QString page;  // relative to the help folder, e.g. "board.htm"
};

// The entries of the 「目次」 list of the help's start page (the links
// between its <h2>目次</h2> heading and the next heading), the start page
// itself first.
QList<HelpEntry> helpContents(const QString& indexPath);

class THelpForm : public QWidget {
    Q_OBJECT
public:
    // places: the help start pages looked for, in order; the first that
    // exists is used, and when none does the window lists them all.
    THelpForm(SessionModel& model, QStringList places, QWidget* owner);

    // Shows the window on page (relative to the help folder; empty: the
    // start page) and brings it to the front.
    void showPage(const QString& page);

    // The page shown, or an empty URL while the help is missing.
    QUrl currentPage() const;
    // The folder the help was found in, or empty.
    QString helpFolder() const { return folder_; }

private:
    void ContentsListClick();
    void BrowserAnchorClick(const QUrl& link);
    void BrowserSourceChange(const QUrl& source);
    void FindClick();
    void showMissing();

    QStringList places_;
    QString folder_;
    QList<HelpEntry> entries_;
    QListWidget* contentsList_ = nullptr;
    QTextBrowser* browser_ = nullptr;
    QPushButton* backBitBtn_ = nullptr;
    QPushButton* forwardBitBtn_ = nullptr;
    QLineEdit* findEdit_ = nullptr;
    QPushButton* findBitBtn_ = nullptr;
    QLabel* findLabel_ = nullptr;
};

}  // namespace tambor::ui
