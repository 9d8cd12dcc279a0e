#include "ui/print/card_printing.h"

#include <QAction>
#include <QActionGroup>
#include <QBuffer>
#include <QFile>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QPaintEngine>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <algorithm>

#include "io/card_pdf.h"
#include "io/text_file.h"
#include "session/settings_file.h"
#include "ui/common/message_box.h"
#include "ui/common/printer.h"
#include "ui/common/session_model.h"
#include "ui/common/wait_form.h"
#include "ui/common/widget_helpers.h"
#include "ui/print/card_painter.h"
#include "ui/print/margin_fields.h"

namespace tambor::ui {
namespace {

// Every control that needs a printer, by name.
// The preview and the PDF file need none: they show the card on its own page.
const char* const kPrintingControls[] = {
    "Print",    "PrintToolButton", "PrintBitBtn",    "mmPageXMarginLabel", "mmPageYMarginLabel",
    "HorzMemo", "VertMemo",        "HorzUpDown",     "VertUpDown",         "mmXLabel",
    "mmYLabel", "PrintTestBitBtn", "GetMarginBitBtn"};

// Added to the hints of the disabled printing controls, so that a pointer
// resting on one of them says why it does nothing.
const char* const kNoPrinterHint = "（プリンタがインストールされていないため使えません。「PDF に保存」はできます。）";
const char* const kUnreadablePrinterHint =
    "（プリンタの用紙の大きさを読み取れないため使えません。「PDF に保存」はできます。）";

// The commands that print the list on cards.
const char* const kCardCommands[] = {"Print", "PrintToolButton", "PrintBitBtn", "PrintPreview"};
// Where a card command keeps its own hint and state while the game has no card.
const char* const kDesignHint = "tamborDesignHint";
const char* const kDesignEnabled = "tamborDesignEnabled";

// The preview shows at most this many cards: a list of a million lines
// would otherwise be rendered page by page into memory before it shows.
constexpr int kPreviewCardLimit = 200;

const char* const kPrinterGoneMessage = "プリンタが見つかりません。プリンタの接続と設定を確かめてください。";

// Why a PDF file cannot be written, as the file system says; nothing is
// left behind by asking.
QString fileProblem(const QString& fileName) {
    QFile file(fileName);
    const bool existed = file.exists();
    if (!file.open(existed ? QIODevice::ReadWrite | QIODevice::Append : QIODevice::WriteOnly | QIODevice::NewOnly))
        return file.errorString();
    file.close();
    if (!existed) file.remove();
    return {};
}

// The preview is for looking: its own print and page-setup buttons would
// print past the wait window and the error report, and its orientation
// buttons would turn the page the marks were placed for. They are the
// preview's last action group and its group of two checkable unnamed
// actions; anything else stays.
void hideLayoutAndPrintActions(QPrintPreviewDialog& dialog) {
    const QList<QActionGroup*> groups = dialog.findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly);
    for (QActionGroup* group : groups) {
        const QList<QAction*> actions = group->actions();
        const bool unnamedPair =
            actions.size() == 2 && actions[0]->objectName().isEmpty() && actions[1]->objectName().isEmpty();
        const bool orientation = unnamedPair && actions[0]->isCheckable() && actions[1]->isCheckable();
        if (unnamedPair && (orientation || group == groups.constLast()))
            for (QAction* a : actions) a->setVisible(false);
    }
}

// "ロト６ 申込カード（5 口／枚）、全 N 枚": the cards to load, and how many.
QString previewTitle(GameMode mode, std::size_t allCards, std::size_t shown) {
    QString title = u8("%1 申込カード（%2 口／枚）、全 %3 枚").arg(u8(gameName(mode))).arg(kCardBlocks).arg(allCards);
    if (shown < allCards) title += u8("（先頭 %1 枚を表示）").arg(shown);
    return title;
}

// Moves through the cards with Page Up / Page Down (also the arrow keys
// left and right) and Home / End; the view shows one whole card at a time.
class PreviewPaging : public QObject {
public:
    PreviewPaging(QPrintPreviewWidget* preview, QObject* parent) : QObject(parent), preview_(preview) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        const int page = preview_->currentPage();
        int to = 0;
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_PageDown:
        case Qt::Key_Right: to = page + 1; break;
        case Qt::Key_PageUp:
        case Qt::Key_Left: to = page - 1; break;
        case Qt::Key_Home: to = 1; break;
        case Qt::Key_End: to = preview_->pageCount(); break;
        default: return QObject::eventFilter(watched, event);
        }
        preview_->setCurrentPage(std::clamp(to, 1, std::max(1, preview_->pageCount())));
        return true;
    }

private:
    QPrintPreviewWidget* preview_;
};

// One card at a time, fitted to the window, the keys paging through them.
void showWholeCards(QPrintPreviewDialog& dialog) {
    auto* preview = dialog.findChild<QPrintPreviewWidget*>();
    if (!preview) return;
    preview->setViewMode(QPrintPreviewWidget::SinglePageView);
    preview->setZoomMode(QPrintPreviewWidget::FitInView);
    auto* paging = new PreviewPaging(preview, &dialog);
    preview->installEventFilter(paging);
    for (QWidget* child : preview->findChildren<QWidget*>()) child->installEventFilter(paging);
    preview->setFocus();
}

}  // namespace

CardPrinting::CardPrinting(SessionModel& model, QWidget* window, QListView* pickListBox)
    : QObject(window), model_(model), window_(window), pickListBox_(pickListBox) {
    setObjectName(QStringLiteral("CardPrinting"));
    marginFields_ = window_->findChild<MarginFields*>(QStringLiteral("MarginFields"));
    const auto onAction = [this](const char* name, void (CardPrinting::*handler)()) {
        if (auto* action = window_->findChild<QAction*>(QString::fromLatin1(name)))
            connect(action, &QAction::triggered, this, handler);
    };
    const auto onButton = [this](const char* name, void (CardPrinting::*handler)()) {
        if (auto* button = window_->findChild<QPushButton*>(QString::fromLatin1(name)))
            connect(button, &QPushButton::clicked, this, handler);
    };
    onAction("Print", &CardPrinting::PrintClick);
    onAction("PrintPreview", &CardPrinting::PrintPreviewClick);
    onAction("SavePdf", &CardPrinting::SavePdfClick);
    onButton("SavePdfBitBtn", &CardPrinting::SavePdfClick);
    onButton("PrintBitBtn", &CardPrinting::PrintClick);
    onButton("PrintTestBitBtn", &CardPrinting::PrintTestBitBtnClick);
    onButton("GetMarginBitBtn", &CardPrinting::GetMarginBitBtnClick);
    connect(&model_, &SessionModel::changed, this, [this](const Changes& changes) {
        if (changes.has(Change::Game)) followGame();
    });
    // Before the printer is set up only a game without a card acts.
    if (!cardLayoutKnown(model_.session().mode())) followGame();
}

void CardPrinting::followGame() {
    // A game whose card is not measured prints no cards: the card commands
    // are disabled and their hint says why; the test page stays. Back in a
    // game with a card they return to the state and hint they had.
    const GameMode mode = model_.session().mode();
    const bool known = cardLayoutKnown(mode);
    const QString unknownHint = QString::fromStdString(cardLayoutUnknownMessage(mode));
    auto follow = [&](QObject* control, auto setEnabled, auto setHintText, bool enabled, const QString& hint) {
        const bool held = control->property(kDesignHint).isValid();
        if (!known) {
            if (!held) {
                control->setProperty(kDesignHint, hint);
                control->setProperty(kDesignEnabled, enabled);
            }
            setEnabled(false);
            setHintText(unknownHint);
        } else if (held) {
            setEnabled(control->property(kDesignEnabled).toBool());
            setHintText(control->property(kDesignHint).toString());
            control->setProperty(kDesignHint, QVariant());
            control->setProperty(kDesignEnabled, QVariant());
        }
    };
    for (const char* name : kCardCommands) {
        const QString objectName = QString::fromLatin1(name);
        for (QAction* action : window_->findChildren<QAction*>(objectName))
            follow(
                action, [action](bool on) { action->setEnabled(on); },
                [action](const QString& text) {
                    action->setStatusTip(text);
                    action->setToolTip(text);
                },
                action->isEnabled(), action->statusTip());
        for (QWidget* widget : window_->findChildren<QWidget*>(objectName))
            follow(
                widget, [widget](bool on) { widget->setEnabled(on); },
                [widget](const QString& text) {
                    widget->setStatusTip(text);
                    widget->setToolTip(text);
                },
                widget->isEnabled(), widget->statusTip());
    }
}

QString CardPrinting::chosenPrinter() const { return QString::fromStdString(model_.session().options().printerName); }

void CardPrinting::FetchPrinterMargins() {
    QPrinter printer(QPrinter::HighResolution);
    if (!setUpPrinter(printer, chosenPrinter())) return;
    const PageMetrics metrics = printerMetrics(printer);
    if (!metrics.valid()) {
        stored_.reset();
        DisablePrinting();
        return;
    }
    // The printable area's offset from the paper's corner.
    const QPointF offset =
        printer.pageRect(QPrinter::DevicePixel).topLeft() - printer.paperRect(QPrinter::DevicePixel).topLeft();
    stored_ = StoredPrinter{metrics, static_cast<double>(printer.logicalDpiX()),
                            static_cast<double>(printer.logicalDpiY()), offset.x(), offset.y()};
    const double horz = offset.x() * metrics.widthMm / metrics.widthPx;
    const double vert = offset.y() * metrics.heightMm / metrics.heightPx;
    if (marginFields_) {
        marginFields_->setPageSize(metrics.widthMm, metrics.heightMm);
        marginFields_->setMargins(horz, vert);
    }
    showPrinterName();
}

void CardPrinting::showPrinterName() {
    auto* group = window_->findChild<QGroupBox*>(QStringLiteral("PrintGroupBox"));
    if (!group) return;
    const QString title = u8("印刷オプション");
    if (!stored_) {
        group->setTitle(title);
        return;
    }
    const QString name = currentPrinterName(chosenPrinter());
    const QString elided = group->fontMetrics().elidedText(name, Qt::ElideMiddle, group->width() / 2);
    group->setTitle(title + u8(" ― 余白（%1）").arg(elided));
}

void CardPrinting::usePrinter(const QString& name) {
    if (name.isEmpty() || name == currentPrinterName(chosenPrinter())) return;
    const std::optional<PrinterInfo> from = currentPrinter(chosenPrinter());
    const Options before = model_.session().options();
    model_.run([&](Session& s) { return s.changeOptions([&](Options& o) { o.printerName = name.toStdString(); }); });
    const std::optional<PrinterInfo> to = currentPrinter(name);
    if (!to) return;
    FetchPrinterMargins();  // the new printer's metrics, its offsets as margins
    model_.run([&](Session& s) {
        return s.changeOptions([&](Options& o) {
            const double offsetH = o.horzMargin;
            const double offsetV = o.vertMargin;
            o.horzMargin = before.horzMargin;
            o.vertMargin = before.vertMargin;
            if (!switchPrinterMargins(o, from ? &*from : nullptr, *to)) {
                o.horzMargin = offsetH;
                o.vertMargin = offsetV;
            }
        });
    });
}

CardPaintOptions CardPrinting::paintOptions(bool outlines) const {
    return {outlines, stored_->dpiX, stored_->dpiY, stored_->originX, stored_->originY};
}

CardPaintOptions CardPrinting::cardPageOptions(bool outlines) {
    // pdfCardMetrics' device pixels are hundredths of a millimetre.
    constexpr double kCardDpi = 2540.0;
    return {outlines, kCardDpi, kCardDpi, 0.0, 0.0};
}

void CardPrinting::DisablePrinting() {
    const QString why = u8(anyPrinterInstalled() ? kUnreadablePrinterHint : kNoPrinterHint);
    // The hint as the control was made, kept aside so that the reason is
    // added once however often printing is disabled.
    const auto explain = [&why](QObject* control, const QString& tip, auto setTips) {
        QVariant plain = control->property("plainHint");
        if (!plain.isValid()) {
            plain = tip;
            control->setProperty("plainHint", plain);
        }
        setTips(plain.toString() + why);
    };
    for (const char* name : kPrintingControls) {
        const QString objectName = QString::fromLatin1(name);
        for (QAction* action : window_->findChildren<QAction*>(objectName)) {
            action->setEnabled(false);
            explain(action, action->statusTip(), [action](const QString& hint) {
                action->setToolTip(hint);
                action->setStatusTip(hint);
            });
        }
        for (QWidget* widget : window_->findChildren<QWidget*>(objectName)) {
            widget->setEnabled(false);
            // A tool button shows its action's hint, changed above.
            if (widget->statusTip().isEmpty() && !widget->property("plainHint").isValid()) continue;
            explain(widget, widget->statusTip(), [widget](const QString& hint) {
                widget->setToolTip(hint);
                widget->setStatusTip(hint);
            });
        }
    }
}

void CardPrinting::GetMarginBitBtnClick() {
    if (model_.refuseWhenBusy()) return;
    FetchPrinterMargins();
    if (!stored_) DisablePrinting();
}

CardMargins CardPrinting::margins() const {
    const Options& o = model_.session().options();
    return {o.horzMargin, o.vertMargin};
}

bool CardPrinting::preparePrinter(QPrinter& printer, const char* jobTitle) {
    if (!stored_ || !setUpPrinter(printer, chosenPrinter())) {
        MessageBox::error(window_, u8(kPrinterGoneMessage));
        return false;
    }
    printer.setDocName(u8(jobTitle));
    return true;
}

std::vector<std::size_t> CardPrinting::selectedPositions() const {
    std::vector<std::size_t> positions;
    if (!pickListBox_ || !pickListBox_->selectionModel()) return positions;
    for (const QModelIndex& index : pickListBox_->selectionModel()->selectedIndexes())
        if (index.row() >= 0) positions.push_back(static_cast<std::size_t>(index.row()));
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return positions;
}

const CombinationList* CardPrinting::printableList() {
    if (model_.refuseWhenBusy()) return nullptr;
    bringPageToFront(pickListBox_);
    const CombinationList& list = model_.session().list();
    if (list.empty()) {
        MessageBox::warning(window_, QString::fromUtf8(kNothingToPrintMessage));
        return nullptr;
    }
    return &list;
}

std::vector<Card> CardPrinting::planListCards(const CombinationList& list, const CardRequest& request,
                                              const std::vector<std::size_t>& selected) {
    return planCards(
        list.mode(), list.size(), [&list](std::size_t i) { return list.combinationAt(i); }, request, selected);
}

void CardPrinting::PrintClick() {
    if (!cardLayoutKnown(model_.session().mode())) return;
    const CombinationList* listToPrint = printableList();
    if (!listToPrint) return;
    const CombinationList& list = *listToPrint;
    QPrinter printer(QPrinter::HighResolution);
    if (!preparePrinter(printer, "タンボル")) return;
    printer.setCollateCopies(false);
    printer.setCopyCount(1);

    const int maxPage = cardPageCount(list.size());
    const std::vector<std::size_t> selected = selectedPositions();
    QPrintDialog dialog(&printer, window_);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, !selected.empty());
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setMinMax(1, maxPage);
    dialog.setFromTo(1, maxPage);
    dialog.setPrintRange(selected.empty() ? QAbstractPrintDialog::AllPages : QAbstractPrintDialog::Selection);
    if (!PrintDialog::exec(dialog)) return;
    usePrinter(dialogPrinterName(printer));
    if (!stored_) return;

    CardRequest request;
    switch (printer.printRange()) {
    case QPrinter::Selection: request.range = CardRange::Selection; break;
    case QPrinter::PageRange:
        request = {CardRange::Pages, printer.fromPage(), printer.toPage() > 0 ? printer.toPage() : maxPage};
        break;
    default: request.range = CardRange::All; break;
    }
    const std::vector<Card> cards = planListCards(list, request, selected);
    printPages(printer, cardPages(cards, stored_->metrics, margins()));
}

std::vector<Card> CardPrinting::firstCards(const CombinationList& list) const {
    // What a print would take first: the selected lines when there are any.
    const std::vector<std::size_t> selected = selectedPositions();
    const CardRequest request{selected.empty() ? CardRange::All : CardRange::Selection, 1, 1};
    return planListCards(list, request, selected);
}

void CardPrinting::PrintPreviewClick() {
    if (!cardLayoutKnown(model_.session().mode())) return;
    const CombinationList* listToPrint = printableList();
    if (!listToPrint) return;
    const CombinationList& list = *listToPrint;
    std::vector<Card> cards = firstCards(list);
    const auto allCards = cards.size();
    if (cards.size() > static_cast<std::size_t>(kPreviewCardLimit)) cards.resize(kPreviewCardLimit);
    // The page is the card itself, as the PDF file has it: the player sees
    // the card to load, not the sheet of some printer.
    const PageMetrics card = pdfCardMetrics();
    std::vector<PageDrawing> pages = cardPages(cards, card, {});
    for (std::size_t i = 0; i < pages.size(); ++i) {
        addCardOutline(pages[i], list.mode(), card, {});
        addMarkLabels(pages[i], cards[i], card, {});
    }

    QPrinter printer(QPrinter::HighResolution);
    setUpCardPage(printer);
    QPrintPreviewDialog dialog(&printer, window_);
    dialog.setObjectName(QStringLiteral("PrintPreviewDialog"));
    dialog.setWindowTitle(previewTitle(list.mode(), allCards, cards.size()));
    hideLayoutAndPrintActions(dialog);
    showWholeCards(dialog);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter* target) {
        // The outlines and numbers go on the screen's pages only (the
        // preview paints into pictures), never to a printer.
        const bool screen = target->paintEngine() && target->paintEngine()->type() == QPaintEngine::Picture;
        target->setFullPage(true);
        paintCardPages(*target, pages, cardPageOptions(screen));
    });
    PrintDialog::execPreview(dialog);
}

void CardPrinting::SavePdfClick() {
    const CombinationList* listToPrint = printableList();
    if (!listToPrint) return;
    const CombinationList& list = *listToPrint;
    const QString fileName =
        FileDialog::getSaveFileName(window_, u8("PDF に保存"), u8("PDF ファイル (*.pdf)"), QStringLiteral("pdf"));
    if (fileName.isEmpty()) return;
    const std::vector<PageDrawing> pages = cardPages(firstCards(list), pdfCardMetrics(), {});
    QString failure;
    {
        LongOperation op(model_.waitForm(), true);
        if (!op.started()) return;
        const auto progress = op.progress();
        // Painted whole into memory, then saved through a temporary file:
        // a stop or a failure leaves the file that was there before.
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        CardPaintResult result;
        {
            QPdfWriter writer(&buffer);
            setUpCardPage(writer, list.mode());
            result = paintCardPages(writer, pages, cardPageOptions(false),
                                    [&progress](int percent) { return progress(percent * 9 / 10); });
        }
        if (result == CardPaintResult::Stopped) return;
        if (result == CardPaintResult::Failed) {
            failure = u8("PDF ファイルを作れませんでした。");
        } else {
            try {
                writeFileBytesAtomic(fileName.toStdString(),
                                     std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                                     [&progress](int percent) { return progress(90 + percent / 10); });
            } catch (const FileError& e) {
                failure = QString::fromStdString(e.what());
            }
        }
        model_.waitForm().setGauge(100);
    }
    if (!failure.isEmpty()) MessageBox::error(window_, failure);
}

void CardPrinting::PrintTestBitBtnClick() {
    if (model_.refuseWhenBusy()) return;
    QPrinter printer(QPrinter::HighResolution);
    if (!preparePrinter(printer, "印刷テスト")) return;
    printPages(printer, {testPage(stored_->metrics, printerMetrics(printer), margins())});
}

void CardPrinting::printPages(QPrinter& printer, const std::vector<PageDrawing>& pages) {
    CardPaintResult result;
    {
        LongOperation op(model_.waitForm(), true);
        if (!op.started()) return;
        // Full-page: the painter's origin is the paper's corner whatever
        // margins the dialog was given, and the pages move to the printable
        // area's corner as it was measured.
        printer.setFullPage(true);
        result = paintCardPages(printer, pages, paintOptions(false), op.progress());
        model_.waitForm().setGauge(100);
    }
    if (result == CardPaintResult::Failed) reportFailure(printer);
}

void CardPrinting::reportFailure(QPrinter& printer) {
    const QString file = printer.outputFileName();
    QString text = u8("印刷できませんでした。\n");
    if (!file.isEmpty()) {
        text += file;
        const QString reason = fileProblem(file);
        if (!reason.isEmpty()) text += u8(": ") + reason;
    } else {
        text += u8("プリンタ「%1」が印刷を受け付けませんでした。").arg(printer.printerName());
    }
    MessageBox::error(window_, text);
}

}  // namespace tambor::ui
