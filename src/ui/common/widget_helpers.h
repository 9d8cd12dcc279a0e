#pragma once
// Small helpers for building the fixed-layout pages.

#include <QString>
#include <utility>

class QAction;
class QFontMetrics;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;
class QWidget;

namespace tambor::ui {

inline QString u8(const char* text) { return QString::fromUtf8(text); }

// Every control carries a hint: the pop-up tip and the status bar text.
void setHint(QWidget* widget, const char* hint);
void setHint(QAction* action, const char* hint);

QLabel* makeLabel(QWidget* parent, const char* text, int x, int y, int w, int h);
QPushButton* makeButton(QWidget* parent, const char* objectName, const char* caption, const char* hint,
                        int x, int y, int w, int h);
// A read-only, right-aligned field for counts; it takes no Tab stop.
QLineEdit* makeReadOnlyField(QWidget* parent, const char* objectName, const char* hint, int x, int y, int w, int h);

// Left and width of the blank run in a caption whose text starts at textLeft:
// the counters and fields that sit inside captions such as "固定数字     個".
std::pair<int, int> captionGap(const QFontMetrics& metrics, const QString& caption, int textLeft);

// A multi-selection list of combination lines in the fixed-pitch font.
QListView* makeCombinationListView(QWidget* parent, const char* objectName, const char* hint);

// A pop-up menu opened on its own (not from a menu bar or a button) has no
// window to show its items' hints in: this sends them to the status bar of
// owner's window while the menu is open.
void showHintsInStatusBar(QMenu* menu, QWidget* owner);

// Makes the tab page holding widget the current one (nothing when widget
// is not on a tab page).
void bringPageToFront(QWidget* widget);

}  // namespace tambor::ui
