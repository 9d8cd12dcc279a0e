#include "ui/common/wait_form.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QWindow>

#include "ui/common/fonts.h"

namespace tambor::ui {
namespace {
const char* const kWaitText = "しばらくお待ち下さい...";

// The gauge: a blue fill on white with the percentage in its middle, the
// text black over the white part and white over the blue, so it reads at
// every value. A gauge without a range is the style's busy indicator.
class Gauge : public QProgressBar {
public:
    explicit Gauge(QWidget* parent) : QProgressBar(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override {
        if (maximum() <= minimum()) {
            QProgressBar::paintEvent(event);
            return;
        }
        QPainter p(this);
        const QRect all = rect();
        const int filled = static_cast<int>(static_cast<qint64>(all.width()) * (value() - minimum()) /
                                            (maximum() - minimum()));
        const QRect fill(all.left(), all.top(), filled, all.height());
        p.fillRect(all, Qt::white);
        p.fillRect(fill, Qt::blue);
        const QString percent = text();
        p.setClipRect(all);
        p.setPen(Qt::black);
        p.drawText(all, Qt::AlignCenter, percent);
        p.setClipRect(fill);
        p.setPen(Qt::white);
        p.drawText(all, Qt::AlignCenter, percent);
    }
};

}  // namespace

TWaitForm::TWaitForm(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), owner_(owner) {
    setObjectName(QStringLiteral("TWaitForm"));
    setFont(windowFont());
    setFixedSize(353, 41);
    auto* border = new QFrame(this);
    border->setFrameShape(QFrame::Box);
    border->setGeometry(0, 0, 353, 41);

    waitLabel_ = new QLabel(QString::fromUtf8(kWaitText), this);
    waitLabel_->setObjectName(QStringLiteral("WaitLabel"));
    waitLabel_->setAlignment(Qt::AlignCenter);
    waitLabel_->setGeometry(0, 14, 353, 14);

    gaugePanel_ = new QFrame(this);
    gaugePanel_->setObjectName(QStringLiteral("GaugePanel"));
    gaugePanel_->setFrameShape(QFrame::Box);
    gaugePanel_->setGeometry(16, 8, 321, 25);
    gauge_ = new Gauge(gaugePanel_);
    gauge_->setObjectName(QStringLiteral("CGauge"));
    gauge_->setRange(0, 100);
    gauge_->setAlignment(Qt::AlignCenter);
    gauge_->setTextVisible(true);
    gauge_->setGeometry(1, 1, 319, 23);
    gaugePanel_->hide();
}

void TWaitForm::begin(bool withGauge) {
    if (owner_) {
        const QRect area = owner_->frameGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    cancelRequested_ = false;
    gauge_->setRange(0, 100);
    gauge_->setValue(0);
    gaugePanel_->setVisible(withGauge);
    show();
    raise();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The window system shows a new window only after a round of events,
    // and the work that follows leaves none: wait (briefly) until it is on
    // screen and paint it now, so it never shows as an empty box.
    QElapsedTimer waited;
    waited.start();
    while (windowHandle() && !windowHandle()->isExposed() && waited.elapsed() < 250)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    repaint();
}

void TWaitForm::setGauge(int percent) {
    if (gauge_->maximum() == 0) gauge_->setRange(0, 100);
    const int value = std::clamp(percent, 0, 100);
    if (value == gauge_->value()) return;
    gauge_->setValue(value);
    // Painted at once: the work does not return to the event loop.
    gauge_->repaint();
}
int TWaitForm::gauge() const { return gauge_->value(); }

void TWaitForm::setGaugeVisible(bool visible) { gaugePanel_->setVisible(visible); }
bool TWaitForm::gaugeVisible() const { return !gaugePanel_->isHidden(); }

void TWaitForm::setGaugeUnknown() { gauge_->setRange(0, 0); }
bool TWaitForm::gaugeUnknown() const { return gauge_->maximum() == 0; }

void TWaitForm::end() {
    gaugePanel_->hide();
    waitLabel_->setText(QString::fromUtf8(kWaitText));
    waitLabel_->repaint();
    QApplication::restoreOverrideCursor();
    hide();
}

void TWaitForm::setLabelText(const QString& text) { waitLabel_->setText(text); }
QString TWaitForm::labelText() const { return waitLabel_->text(); }

void TWaitForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        requestCancel();
        return;
    }
    QWidget::keyPressEvent(event);
}

LongOperation::LongOperation(TWaitForm& waitForm, bool withGauge) : waitForm_(waitForm) {
    if (waitForm_.busy()) return;
    started_ = true;
    waitForm_.begin(withGauge);
    sinceEvents_.start();
    QCoreApplication::processEvents();
}

LongOperation::~LongOperation() {
    if (started_) waitForm_.end();
}

bool LongOperation::advance(int percent) {
    if (!started_) return true;
    if (sinceEvents_.elapsed() >= 20) {
        waitForm_.setGauge(percent);
        QCoreApplication::processEvents();
        sinceEvents_.restart();
    }
    return !waitForm_.cancelRequested();
}

}  // namespace tambor::ui
