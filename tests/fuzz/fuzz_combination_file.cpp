// The combination-file loader and writer: any file loads into a consistent
// list, and that list written in either layout on any page count loads
// back as exactly the same list in the same game.

#include <string>

#include "fuzz_support.h"
#include "io/combination_file.h"

using namespace tambor;
using tambor::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const GameMode current = input.game();
    const int pages = static_cast<int>(input.byte() % 8) - 1;  // -1..6: the writer takes any
    CombinationFile file;
    file.bytes = std::string(input.rest());
    file.headerGame = headerGameOf(file.bytes);
    const GameMode mode = file.gameToSwitchTo(current).value_or(current);
    require(!file.headerGame || mode == *file.headerGame, "header game not taken");

    // Lists kept across inputs: their bit sets are large to make anew each time.
    static CombinationList list;
    static CombinationList again;
    list.reset(mode);
    const LoadResult loaded = appendCombinationFile(list, file);
    require(loaded.completed && loaded.listed == list.size(), "load result");
    require(!list.changed(), "a list that equals its file is unchanged");
    if (list.empty()) return 0;

    for (const FileLayout layout : {FileLayout::Csv, FileLayout::Text}) {
        CombinationFile written;
        written.bytes = formatCombinationFile(list, layout, pages);
        written.headerGame = headerGameOf(written.bytes);
        require(written.headerGame == mode, "written header names another game");
        require(written.bytes.ends_with("\r\n"), "last line without CR LF");
        again.reset(mode);
        appendCombinationFile(again, written);
        require(again.items() == list.items(), "written list loads back differently");
        require(again.duplicates().empty(), "written list loads back with repeats");
    }
    return 0;
}
