#pragma once
// The small please-wait window with its progress gauge, and the frame every
// long command runs in. The window's visibility is the program's busy flag.

#include <QElapsedTimer>
#include <QWidget>
#include <functional>

class QLabel;
class QFrame;
class QProgressBar;

namespace tambor::ui {

class TWaitForm : public QWidget {
    Q_OBJECT
public:
    explicit TWaitForm(QWidget* owner);

    bool busy() const { return isVisible(); }
    void begin(bool withGauge);
    void setGauge(int percent);  // clamped to 0..100
    int gauge() const;
    void end();
    void setLabelText(const QString& text);
    QString labelText() const;

private:
    QWidget* owner_;
    QLabel* waitLabel_;
    QFrame* gaugePanel_;
    QProgressBar* gauge_;
};

// Opens the frame on construction (unless another long command runs) and
// always runs the closing steps on destruction, even when the work throws.
class LongOperation {
public:
    LongOperation(TWaitForm& waitForm, bool withGauge);
    ~LongOperation();
    LongOperation(const LongOperation&) = delete;
    LongOperation& operator=(const LongOperation&) = delete;

    // False when another long command was running: do nothing then.
    bool started() const { return started_; }
    // Sets the gauge and lets the window process pending events, at most
    // every ~20 ms so per-item calls stay cheap.
    void advance(int percent);
    // The same as a callback for the core's long operations.
    std::function<void(int)> progress() {
        return [this](int percent) { advance(percent); };
    }
    // For work that may be stopped: this frame never stops it.
    std::function<bool(int)> keepGoing() {
        return [this](int percent) {
            advance(percent);
            return true;
        };
    }

private:
    TWaitForm& waitForm_;
    bool started_ = false;
    QElapsedTimer sinceEvents_;
};

}  // namespace tambor::ui
