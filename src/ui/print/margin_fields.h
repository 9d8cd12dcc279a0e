#pragma once
// The two margin fields of the print options: what is typed is committed
// when the field is left (two decimals, cut at the page size), the spinners
// and the Up/Down keys step by 0.5 mm and never below 0.

#include <QObject>

class QLineEdit;

namespace tambor {
class Changes;
}

namespace tambor::ui {

class SessionModel;
class UpDown;

class MarginFields : public QObject {
    Q_OBJECT
public:
    MarginFields(SessionModel& model, QLineEdit* horzMemo, UpDown* horzUpDown, QLineEdit* vertMemo, UpDown* vertUpDown,
                 QObject* parent);

    // The printable size the margins are limited to; the spinners' maximums
    // follow it (they count half millimetres). 0: no limit known yet.
    void setPageSize(double widthMm, double heightMm);
    double pageWidthMm() const { return pageWidthMm_; }
    double pageHeightMm() const { return pageHeightMm_; }

    // Writes the margins into their edits ("%3.4g") and commits both, as
    // after taking them from the printer.
    void setMargins(double horz, double vert);

    // Commit what the edit holds (run when it loses the focus).
    void HorzMemoExit();
    void VertMemoExit();
    // One spinner step: +1 up, -1 down.
    void HorzUpDownClick(int direction);
    void VertUpDownClick(int direction);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Field;
    void commit(Field& field);
    void step(Field& field, int direction);
    void refresh(const tambor::Changes& changes);

    struct Field {
        QLineEdit* memo;
        UpDown* upDown;
        bool horizontal;
        double shown = -1.0;  // the margin last written into the edit
    };
    SessionModel& model_;
    Field horz_;
    Field vert_;
    double pageWidthMm_ = 0.0;
    double pageHeightMm_ = 0.0;
};

}  // namespace tambor::ui
