#pragma once
// The small please-wait window with its progress gauge, and the frame every
// long command runs in. The window's visibility is the program's busy flag;
// Esc while it shows asks the running command to stop.

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
    // Shows or hides the gauge over the label while the window shows.
    void setGaugeVisible(bool visible);
    bool gaugeVisible() const;
    // A gauge that says the work goes on without a percentage (a download
    // of unknown length); the next setGauge or begin() shows percentages again.
    void setGaugeUnknown();
    bool gaugeUnknown() const;
    void end();
    void setLabelText(const QString& text);
    QString labelText() const;

    // The user asked the running command to stop (Esc); cleared by begin().
    void requestCancel() { cancelRequested_ = true; }
    bool cancelRequested() const { return cancelRequested_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* owner_;
    QLabel* waitLabel_;
    QFrame* gaugePanel_;
    QProgressBar* gauge_;
    bool cancelRequested_ = false;
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
    // every ~20 ms so per-item calls stay cheap. False once the user asked
    // to stop.
    bool advance(int percent);
    // The core's progress callback: the gauge, and the user's answer.
    std::function<bool(int)> progress() {
        return [this](int percent) { return advance(percent); };
    }

private:
    TWaitForm& waitForm_;
    bool started_ = false;
    QElapsedTimer sinceEvents_;
};

}  // namespace tambor::ui
