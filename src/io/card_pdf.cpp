#include "io/card_pdf.h"

#include <charconv>
#include <cstdio>

#include "io/streamed_file.h"
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

namespace {

// Writes the file object by object. The page tree comes last, when the
// pages are known: its kids are the page objects 3, 5, 7, ... Offsets are
// kept for the cross-reference table (eight bytes an object).
class CardPdfWriter {
public:
    CardPdfWriter(const FileWriter& write, const PageMetrics& metrics)
        : write_(write),
          metrics_(metrics),
          widthPt_(metrics.widthMm * kPointsPerMm),
          heightPt_(metrics.heightMm * kPointsPerMm),
          offsets_(3, 0) {
        emit("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
        beginObject(1);
        emit("<< /Type /Catalog /Pages 2 0 R >>\nendobj\n");
    }

    void addPage(const PageDrawing& page) {
        const std::size_t pageObject = offsets_.size();
        std::string out;
        offsets_.push_back(0);
        offsets_.push_back(0);
        beginObject(pageObject);
        out += "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 ";
        appendReal(out, widthPt_);
        out += ' ';
        appendReal(out, heightPt_);
        out += "] /Resources << >> /Contents ";
        appendInt(out, static_cast<long long>(pageObject + 1));
        out += " 0 R >>\nendobj\n";
        emit(out);
        const std::string content = contentStream(page, metrics_, heightPt_);
        beginObject(pageObject + 1);
        out.clear();
        out += "<< /Length ";
        appendInt(out, static_cast<long long>(content.size()));
        out += " >>\nstream\n";
        out += content;
        out += "endstream\nendobj\n";
        emit(out);
    }

    void finish() {
        if (offsets_.size() == 3) addPage({});  // a PDF file needs a page
        const std::size_t pageCount = (offsets_.size() - 3) / 2;
        beginObject(2);
        std::string out = "<< /Type /Pages /Count ";
        appendInt(out, static_cast<long long>(pageCount));
        out += " /Kids [";
        for (std::size_t i = 0; i < pageCount; ++i) {
            if (i) out += ' ';
            appendInt(out, static_cast<long long>(3 + 2 * i));
            out += " 0 R";
            if (out.size() > kPiece) {
                emit(out);
                out.clear();
            }
        }
        out += "] >>\nendobj\n";
        emit(out);
        const std::size_t xref = written_;
        const std::size_t objectCount = offsets_.size() - 1;
        out = "xref\n0 ";
        appendInt(out, static_cast<long long>(objectCount + 1));
        out += "\n0000000000 65535 f \n";
        for (std::size_t n = 1; n <= objectCount; ++n) {
            char entry[24];
            std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offsets_[n]);
            out += entry;
            if (out.size() > kPiece) {
                emit(out);
                out.clear();
            }
        }
        out += "trailer\n<< /Size ";
        appendInt(out, static_cast<long long>(objectCount + 1));
        out += " /Root 1 0 R >>\nstartxref\n";
        appendInt(out, static_cast<long long>(xref));
        out += "\n%%EOF\n";
        emit(out);
        flush();
    }

private:
    static constexpr std::size_t kPiece = 1 << 16;

    // Pieces of about kPiece bytes reach the file: few system calls, little memory.
    void emit(std::string_view bytes) {
        buffer_ += bytes;
        written_ += bytes.size();
        if (buffer_.size() >= kPiece) flush();
    }
    void flush() {
        if (!buffer_.empty()) write_(buffer_);
        buffer_.clear();
    }
    void beginObject(std::size_t number) {
        offsets_[number] = written_;
        std::string out;
        appendInt(out, static_cast<long long>(number));
        out += " 0 obj\n";
        emit(out);
    }

    const FileWriter& write_;
    PageMetrics metrics_;
    double widthPt_;
    double heightPt_;
    std::vector<std::size_t> offsets_;  // by object number; [0] unused
    std::size_t written_ = 0;
    std::string buffer_;
};

}  // namespace

std::string formatCardPdf(const std::vector<PageDrawing>& pages, const PageMetrics& metrics) {
    std::string out;
    out.reserve(256 + pages.size() * 1024);
    const FileWriter write = [&out](std::string_view bytes) { out += bytes; };
    CardPdfWriter writer(write, metrics);
    for (const PageDrawing& page : pages) writer.addPage(page);
    writer.finish();
    return out;
}

void writeCardPdf(const std::filesystem::path& path, const std::vector<PageDrawing>& pages,
                  const PageMetrics& metrics) {
    writeFileBytesAtomic(path, formatCardPdf(pages, metrics));
}

bool writeCardPdfStream(const std::filesystem::path& path, const PageMetrics& metrics,
                        const std::function<bool(const CardPageSink& addPage)>& produce,
                        const ProgressCallback& progress) {
    return writeFileStreamAtomic(
        path,
        [&](const FileWriter& write) {
            CardPdfWriter writer(write, metrics);
            if (!produce([&writer](const PageDrawing& page) { writer.addPage(page); })) return false;
            writer.finish();
            return true;
        },
        progress);
}

}  // namespace tambor
