// The settings reader and writer: any file reads into settings that write
// out and read back as the same settings, directly and through the cp932
// bytes of the file; and a window's changes written into any file read back
// as the values the window holds, whatever else the file keeps.

#include <string>

#include "fuzz_support.h"
#include "io/cp932.h"
#include "session/settings_file.h"
#include "session/settings_merge.h"

using namespace tambor;
using tambor::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    // With or without an installed printer (an A4 page's printable area).
    const PrinterInfo a4{"EPSON PX-105", 203.2, 271.1};
    const PrinterInfo* printer = (input.byte() & 1) != 0 ? &a4 : nullptr;

    const std::uint8_t changes = input.byte();
    const std::string bytes = std::string(input.rest());
    const DecodedLines file = decodeLinesSkippingBad(bytes);
    const StoredSettings defaults;
    const StoredSettings read = parseSettings(file.lines, defaults, printer);
    const Options& o = read.options;
    require(o.defaultDrawCount >= kDefaultDrawCountMin && o.defaultDrawCount <= kDefaultDrawCountMax,
            "draw count out of range");
    require(o.horzMargin >= 0.0 && o.vertMargin >= 0.0, "negative margin");
    if (printer) require(o.horzMargin <= a4.pageWidthMm && o.vertMargin <= a4.pageHeightMm, "margin beyond the page");

    const std::vector<std::string> lines = settingsLines(read, printer);
    // Recent files whose names cp932 cannot hold are left out on writing.
    StoredSettings written = read;
    std::erase_if(written.options.recentFiles, [](const std::string& name) {
        try {
            utf8ToCp932(name, "Tambor.ini");
            return false;
        } catch (const TextEncodingError&) {
            return true;
        }
    });
    require(parseSettings(lines, defaults, printer) == written, "written settings read back differently");

    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    try {
        const std::string written = utf8ToCp932(text, "Tambor.ini");
        const DecodedLines again = decodeLinesSkippingBad(written);
        require(again.skipped.empty(), "the written file has an undecodable line");
        require(again.lines == lines, "the written file reads back as other lines");
    } catch (const TextEncodingError&) {
        // A text cp932 cannot hold: the writer refuses before touching the file.
    }

    // A window that read this file changes some values (plain ASCII ones)
    // and writes them into it.
    StoredSettings now = read;
    if (changes & 1) now.game = static_cast<GameMode>((static_cast<int>(read.game) + 1) % kGameCount);
    if (changes & 2) now.options.popupHint = !read.options.popupHint;
    if (changes & 4) now.options.updateUrl = read.options.updateUrl.empty() ? "https://a.example/" : "";
    if (changes & 8) now.options.recentFiles = {"/tmp/a.csv"};
    try {
        const std::optional<std::string> merged = mergedSettingsBytes(bytes, settingsLines(read, printer), settingsLines(now, printer));
        require(merged.has_value() || now == read, "a change was not written");
        // A cp932 file whose lines valid in both encodings become the
        // majority once a changed line is gone is read as UTF-8 from then
        // on, which is what most of it is: its other values may read
        // differently, so only the files that keep their encoding count.
        if (merged && detectTextEncoding(*merged) == detectTextEncoding(bytes))
            require(parseSettings(decodeLinesSkippingBad(*merged).lines, defaults, printer) == now,
                    "the merged file reads back as other settings");
    } catch (const TextEncodingError&) {
        // A kept text cp932 cannot hold, written again unchanged: refused.
    }
    return 0;
}
