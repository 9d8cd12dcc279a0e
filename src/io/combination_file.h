#pragma once
// Combination files: the list saved as CSV (one combination a line) or in the
// card-shaped text layout (five a line, page separators), and read back by
// scanning any text file for combinations.
//
// Both layouts start with the header line "[ミニロト]" or "[ロト６]" and an
// empty line; files are cp932 with CR LF after every line.
//
// Loading is split in two so that the caller can run the game switch (and ask
// whether to save unsaved work first) between reading and appending:
//
//   CombinationFile file = readCombinationFile(path);        // may throw
//   if (auto game = file.gameToSwitchTo(list.mode())) {
//       // ask to save if list.changed() && !list.empty(); on cancel stop
//       // run the full game switch to *game (it clears the list)
//   }
//   appendCombinationFile(list, file, progress);             // never fails
//
// Saving: saveCombinationFile(path, list, pageCount, progress) picks the
// layout from the file name, writes through a temporary file that replaces
// the target only when complete, and clears the changed flag only then.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/combination_list.h"
#include "core/progress.h"
#include "io/text_file.h"

namespace tambor {

enum class FileLayout { Csv, Text };

// The save-format option: which layout the file dialogs offer first (the
// stored value is the enum value).
enum class SaveFormat : int { Csv = 0, Text = 1 };

// The layout a file name selects: the CSV layout when the extension (from the
// last "." after the last path separator) is ".csv" in any letter case, the
// text layout for every other extension and for no extension.
FileLayout layoutForFileName(std::string_view fileName);

// The save format as the default extension and filter order of the file
// dialogs.
struct FileDialogFilter {
    const char* defaultExtension;  // "csv" or "txt"
    const char* filter;            // "…(*.csv)|*.csv|…" alternating caption|pattern
};
FileDialogFilter fileDialogFilter(SaveFormat format);

// The page count as typed in the page-count edit: a whole number (optional
// leading blanks and sign). Text that is not a whole number, 0 and negative
// numbers all give 1, so a save always has at least one page.
int pageCountFromText(std::string_view text);

// How many combinations page `page` (from 0) receives when `total`
// combinations are split into `pages` pages: whole cards of five go one each
// to the first pages, the last partial card to the page after them.
// pages <= 0 is treated as 1.
int PageItemCount(int page, int pages, int total);

// The complete file contents (cp932 bytes, CR LF line ends) for the list in
// the given layout. Precondition: the list is not empty. progress gets
// 0..100 only when the value changes; a save is not stopped (its answer is
// not read), since the file is replaced only when complete anyway.
std::string formatCombinationFile(const CombinationList& list, FileLayout layout, int pages,
                                  const ProgressCallback& progress = {});

// "数字の組み合わせがないので保存できません。"
extern const char* const kNothingToSaveMessage;

// Saves the list under path in the layout its name selects, split into
// `pages` pages (<= 0 means 1). The file is written to a temporary file in
// the same folder and renamed over the target, so a failure never leaves a
// half-written file in place of a good one. On success the list's changed
// flag is cleared; on failure it throws FileError (file name and the
// system's reason) and the flag and any existing file stay as they were.
// An empty list throws FileError with kNothingToSaveMessage and writes nothing.
void saveCombinationFile(const std::string& path, CombinationList& list, int pages,
                         const ProgressCallback& progress = {});

// saveCombinationFile for work that may be stopped (the command line's
// Ctrl+C): progress gets 0..100 over formatting and writing, and a false
// answer stops the save, leaves any existing file as it was (the temporary
// removed) and keeps the changed flag. Returns whether the file was saved.
bool saveCombinationFileUnlessStopped(const std::string& path, CombinationList& list, int pages,
                                      const ProgressCallback& progress);

// A combination file read into memory, not yet applied to a list.
struct CombinationFile {
    std::string path;
    std::string bytes;                  // the file as stored (cp932, UTF-8 or anything), UTF-16 as UTF-8
    std::optional<GameMode> headerGame;  // the game named by an exact header line

    // The game to switch to before appending: the header's game when it
    // differs from current, otherwise nothing.
    std::optional<GameMode> gameToSwitchTo(GameMode current) const {
        if (headerGame && *headerGame != current) return headerGame;
        return std::nullopt;
    }
};

// The game named by the first line when it is exactly "[ミニロト]" or
// "[ロト６]" (case-sensitive, whole line, no trimming) in cp932 or in UTF-8,
// after a UTF-8 byte-order mark if there is one; a line ends at CR, LF or
// CR LF. No lines, or any other first line, names no game. (The rest of a
// file needs no decoding: the scan reads only ASCII digits and delimiters,
// which are the same bytes in both encodings.)
std::optional<GameMode> headerGameOf(std::string_view bytes);

// Reads the whole file (UTF-16 with a byte-order mark converted to UTF-8).
// Throws FileError (file name and the system's reason) when it cannot be
// opened or read, or when it is too large to hold in memory; throws
// TextEncodingError (naming the file) for input textBytesOf refuses.
CombinationFile readCombinationFile(const std::string& path);

struct LoadResult {
    std::size_t listed = 0;      // combinations appended to the list
    std::size_t found = 0;       // combinations the file holds, listed already or not
    std::size_t lineCount = 0;   // lines in the file
    bool completed = true;       // false when the progress callback stopped the load
};

// Appends the file's combinations to the list: each line is scanned on its
// own (a combination never continues into the next line); new combinations
// are listed, repeats go once to the duplicate list. When the list was empty
// before (also after a game switch) and the whole file was read, the changed
// flag is cleared afterwards, since the list now equals the file; otherwise
// it is set when anything was appended. progress gets 0..100 when the value
// changes; a stop leaves the lines read so far in the list. Binary or
// foreign text simply yields what the scan finds.
LoadResult appendCombinationFile(CombinationList& list, const CombinationFile& file,
                                 const ProgressCallback& progress = {});

}  // namespace tambor
