// The settings reader and writer: any file reads into settings that write
// out and read back as the same settings, directly and through the cp932
// bytes of the file.

#include <string>

#include "fuzz_support.h"
#include "io/cp932.h"
#include "session/settings_file.h"

using namespace tambor;
using tambor::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    // With or without an installed printer (an A4 page's printable area).
    const PrinterInfo a4{"EPSON PX-105", 203.2, 271.1};
    const PrinterInfo* printer = (input.byte() & 1) != 0 ? &a4 : nullptr;

    const DecodedLines file = decodeLinesSkippingBad(input.rest());
    const StoredSettings defaults;
    const StoredSettings read = parseSettings(file.lines, defaults, printer);
    const Options& o = read.options;
    require(o.defaultDrawCount >= kDefaultDrawCountMin && o.defaultDrawCount <= kDefaultDrawCountMax,
            "draw count out of range");
    require(o.horzMargin >= 0.0 && o.vertMargin >= 0.0, "negative margin");
    if (printer) require(o.horzMargin <= a4.pageWidthMm && o.vertMargin <= a4.pageHeightMm, "margin beyond the page");

    const std::vector<std::string> lines = settingsLines(read, printer);
    require(parseSettings(lines, defaults, printer) == read, "written settings read back differently");

    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    try {
        const std::string bytes = utf8ToCp932(text, "Tambor.ini");
        const DecodedLines again = decodeLinesSkippingBad(bytes);
        require(again.skipped.empty(), "the written file has an undecodable line");
        require(again.lines == lines, "the written file reads back as other lines");
    } catch (const TextEncodingError&) {
        // A text cp932 cannot hold: the writer refuses before touching the file.
    }
    return 0;
}
