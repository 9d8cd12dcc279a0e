#include "ui/print/card_painter.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

namespace tambor::ui {
namespace {

QRect qtRect(const DeviceRect& r) { return {r.left, r.top, r.width(), r.height()}; }

void paintPage(QPainter& painter, const PageDrawing& page, const CardPaintOptions& options,
               const std::function<bool(int)>& progress, bool& stopped) {
    if (options.outlines && !page.outlines.empty()) {
        painter.save();
        painter.setPen(QPen(QColor(0xC8, 0xC8, 0xC8), 0));  // cosmetic: one device pixel at any scale
        painter.setBrush(Qt::NoBrush);
        for (const DeviceRect& r : page.outlines)
            if (r.width() > 1 && r.height() > 1) painter.drawRect(r.left, r.top, r.width() - 1, r.height() - 1);
        painter.restore();
    }
    if (options.outlines && !page.labels.empty()) {
        painter.save();
        painter.setPen(QColor(0x80, 0x80, 0x80));
        QFont font = painter.font();
        // The digits take four fifths of the box's height.
        font.setPixelSize(std::max(1, page.labels.front().box.height() * 4 / 5));
        painter.setFont(font);
        for (const MarkLabel& label : page.labels)
            painter.drawText(qtRect(label.box), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip,
                             QString::number(label.number));
        painter.restore();
    }
    for (const MarkGroup& group : page.groups) {
        for (const DeviceRect& r : group.fills)
            if (r.width() > 0 && r.height() > 0) painter.fillRect(qtRect(r), Qt::black);
        // A stop ends the run after this page: a card is never left with
        // some of its combinations missing.
        if (!stopped && progress && !progress(group.percent)) stopped = true;
    }
}

}  // namespace

CardPaintResult paintCardPages(QPaintDevice& device, const std::vector<PageDrawing>& pages,
                               const CardPaintOptions& options, const std::function<bool(int)>& progress) {
    QPainter painter;
    if (!painter.begin(&device)) return CardPaintResult::Failed;
    if (options.sourceDpiX > 0.0 && options.sourceDpiY > 0.0 &&
        (device.logicalDpiX() != options.sourceDpiX || device.logicalDpiY() != options.sourceDpiY))
        painter.scale(device.logicalDpiX() / options.sourceDpiX, device.logicalDpiY() / options.sourceDpiY);
    painter.translate(options.originX, options.originY);
    auto* paged = dynamic_cast<QPagedPaintDevice*>(&device);
    bool stopped = false;
    for (std::size_t i = 0; i < pages.size() && !stopped; ++i) {
        if (i > 0) {
            if (!paged) break;
            if (!paged->newPage()) {
                painter.end();
                return CardPaintResult::Failed;
            }
        }
        paintPage(painter, pages[i], options, progress, stopped);
    }
    if (stopped) {
        // The job is cancelled where the printing system allows it; where
        // it does not (a PDF file), the whole cards painted so far are kept.
        auto* printer = dynamic_cast<QPrinter*>(&device);
        if (printer) printer->abort();
        painter.end();
        return CardPaintResult::Stopped;
    }
    return painter.end() ? CardPaintResult::Done : CardPaintResult::Failed;
}

}  // namespace tambor::ui
