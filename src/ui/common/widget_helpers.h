#pragma once
// Small helpers for building the fixed-layout pages.

#include <QString>
#include <utility>

class QAction;
class QFontMetrics;
class QLabel;
class QLineEdit;
class QListView;
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

// Makes the tab page holding widget the current one (nothing when widget
// is not on a tab page).
void bringPageToFront(QWidget* widget);

}  // namespace tambor::ui
