#pragma once
// Card printing: the list on the lottery's mark cards through the print
// dialog, the preview, the test page and the printer's margins. The
// commands find their controls by name in the main window (the pick tab's
// button, the menu items, the print options of the options tab) and are
// wired up here, so the window only creates this and runs its start-up.

#include <QObject>
#include <optional>
#include <vector>

#include "io/card_print.h"
#include "ui/print/card_painter.h"

class QListView;
class QPrinter;
class QWidget;

namespace tambor {
class CombinationList;
}

namespace tambor::ui {

class MarginFields;
class SessionModel;

class CardPrinting : public QObject {
    Q_OBJECT
public:
    CardPrinting(SessionModel& model, QWidget* window, QListView* pickListBox);

    // Takes the printer's page metrics and its offsets as the margins; the
    // margins' limits follow the printable size. Nothing without a printer;
    // a printer whose metrics cannot be read disables printing.
    void FetchPrinterMargins();
    // Disables every printing control.
    void DisablePrinting();
    // The printer the user chose last (the settings' name), while it is
    // installed; otherwise the system's default.
    QString chosenPrinter() const;
    // The user picked printer name in the print dialog: its margins come
    // into use (its stored ones, or its offsets), the ones in use are kept
    // for the printer left, and the name is remembered.
    void usePrinter(const QString& name);
    // The metrics were taken from a printer (printing is possible).
    bool printerReady() const { return stored_.has_value(); }

    void PrintClick();
    // The cards on postcard pages, fitted to the window, with the card's
    // boxes and each mark's number; no printer is needed.
    void PrintPreviewClick();
    // The same cards as a PDF file of postcard pages, through the same
    // painting; no printer is needed.
    void SavePdfClick();
    void PrintTestBitBtnClick();
    void GetMarginBitBtnClick();

private:
    struct StoredPrinter {
        PageMetrics metrics;
        double dpiX = 0.0;
        double dpiY = 0.0;
        // The printable area's corner on the paper, in device pixels: pages
        // are printed full-page and moved by this, so that no margin set in
        // the print dialog can move a mark.
        double originX = 0.0;
        double originY = 0.0;
    };
    // Enables the card commands for a game whose card is measured (and a
    // ready printer); otherwise disables them with a hint that says why.
    void followGame();
    // Names the printer the margins belong to on the options tab.
    void showPrinterName();
    CardPaintOptions paintOptions(bool outlines) const;
    // Painting on a postcard page (the preview, the PDF file): the card's
    // millimetres with no margins.
    static CardPaintOptions cardPageOptions(bool outlines);
    // The cards a print would take first: the selected lines when there
    // are any, otherwise the whole list.
    std::vector<Card> firstCards(const CombinationList& list) const;

    // The printer as it is now, set up for a job; nothing (after telling
    // the user) when it is gone.
    bool preparePrinter(QPrinter& printer, const char* jobTitle);
    // The list to print, with its page in front; nothing while the program
    // is busy, or (after telling the user) when the list is empty.
    const CombinationList* printableList();
    static std::vector<Card> planListCards(const CombinationList& list, const CardRequest& request,
                                           const std::vector<std::size_t>& selected);
    CardMargins margins() const;
    std::vector<std::size_t> selectedPositions() const;
    // Paints pages on printer inside the wait window and reports a failure.
    void printPages(QPrinter& printer, const std::vector<PageDrawing>& pages);
    void reportFailure(QPrinter& printer);

    SessionModel& model_;
    QWidget* window_;
    QListView* pickListBox_;
    MarginFields* marginFields_ = nullptr;
    std::optional<StoredPrinter> stored_;
};

}  // namespace tambor::ui
