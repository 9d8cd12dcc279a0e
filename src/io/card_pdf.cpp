#include "io/card_pdf.h"

#include <charconv>
#include <cstdio>

#include "io/text_file.h"

namespace tambor {
namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;

void appendInt(std::string& out, long long value) {
    char buf[24];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, result.ptr);
}

void appendReal(std::string& out, double value) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.9g", value);
    out += buf;
}

// The page's drawing in PDF operators: device pixels mapped onto points
// with y running downwards, then one "re" per rectangle and one fill.
std::string contentStream(const PageDrawing& page, const PageMetrics& metrics, double pageHeightPt) {
    std::string s;
    s.reserve(64 + page.fillCount() * 24);
    s += "q\n";
    appendReal(s, metrics.widthMm * kPointsPerMm / metrics.widthPx);
    s += " 0 0 ";
    appendReal(s, -metrics.heightMm * kPointsPerMm / metrics.heightPx);
    s += " 0 ";
    appendReal(s, pageHeightPt);
    s += " cm\n0 g\n";
    bool any = false;
    for (const MarkGroup& group : page.groups) {
        for (const DeviceRect& r : group.fills) {
            if (r.width() <= 0 || r.height() <= 0) continue;
            appendInt(s, r.left);
            s += ' ';
            appendInt(s, r.top);
            s += ' ';
            appendInt(s, r.width());
            s += ' ';
            appendInt(s, r.height());
            s += " re\n";
            any = true;
        }
    }
    if (any) s += "f\n";
    s += "Q\n";
    return s;
}

}  // namespace

PageMetrics pdfCardMetrics() {
    return {kPdfCardWidthMm * 100.0, kPdfCardHeightMm * 100.0, kPdfCardWidthMm, kPdfCardHeightMm};
}

std::string formatCardPdf(const std::vector<PageDrawing>& pages, const PageMetrics& metrics) {
    const std::vector<PageDrawing> blank(1);
    const std::vector<PageDrawing>& all = pages.empty() ? blank : pages;
    const double widthPt = metrics.widthMm * kPointsPerMm;
    const double heightPt = metrics.heightMm * kPointsPerMm;
    const std::size_t pageCount = all.size();
    // Objects: 1 catalog, 2 page tree, then a page and its content per card.
    const std::size_t objectCount = 2 + 2 * pageCount;
    std::vector<std::size_t> offsets(objectCount + 1, 0);

    std::string out;
    out.reserve(256 + pageCount * 1024);
    out += "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    auto beginObject = [&](std::size_t number) {
        offsets[number] = out.size();
        appendInt(out, static_cast<long long>(number));
        out += " 0 obj\n";
    };
    beginObject(1);
    out += "<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";
    beginObject(2);
    out += "<< /Type /Pages /Count ";
    appendInt(out, static_cast<long long>(pageCount));
    out += " /Kids [";
    for (std::size_t i = 0; i < pageCount; ++i) {
        if (i) out += ' ';
        appendInt(out, static_cast<long long>(3 + 2 * i));
        out += " 0 R";
    }
    out += "] >>\nendobj\n";
    for (std::size_t i = 0; i < pageCount; ++i) {
        const std::size_t pageObject = 3 + 2 * i;
        beginObject(pageObject);
        out += "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 ";
        appendReal(out, widthPt);
        out += ' ';
        appendReal(out, heightPt);
        out += "] /Resources << >> /Contents ";
        appendInt(out, static_cast<long long>(pageObject + 1));
        out += " 0 R >>\nendobj\n";
        const std::string content = contentStream(all[i], metrics, heightPt);
        beginObject(pageObject + 1);
        out += "<< /Length ";
        appendInt(out, static_cast<long long>(content.size()));
        out += " >>\nstream\n";
        out += content;
        out += "endstream\nendobj\n";
    }
    const std::size_t xref = out.size();
    out += "xref\n0 ";
    appendInt(out, static_cast<long long>(objectCount + 1));
    out += "\n0000000000 65535 f \n";
    for (std::size_t n = 1; n <= objectCount; ++n) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offsets[n]);
        out += entry;
    }
    out += "trailer\n<< /Size ";
    appendInt(out, static_cast<long long>(objectCount + 1));
    out += " /Root 1 0 R >>\nstartxref\n";
    appendInt(out, static_cast<long long>(xref));
    out += "\n%%EOF\n";
    return out;
}

void writeCardPdf(const std::filesystem::path& path, const std::vector<PageDrawing>& pages,
                  const PageMetrics& metrics) {
    writeFileBytesAtomic(path, formatCardPdf(pages, metrics));
}

}  // namespace tambor
