#pragma once
// Writing Tambor.ini without harming what else is in it: only the values a
// window changed since it read the file are written, into the file as it
// is on disk at that moment. Every other line stays byte for byte — user
// comments, unknown keys, lines that could not be decoded, and the values
// another window or a newer copy of the program wrote in the meantime.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tambor {

// The values the program writes, as settingsLines gives them: each
// "key=value" line with the section it belongs to.
// `readLines` are the lines of the values as the window read them,
// `nowLines` those of the values it holds now. A key whose line differs
// (or that only nowLines has) is written: the first readable line with that
// key is replaced, or, when no readable line has it, the first unreadable
// one whose key is plain ASCII; failing both, the line goes at the end of
// its section (the section is added at the end of the file when missing).
// A key only readLines has is removed wherever a readable line holds it,
// and a section of the program left without any line goes with it.
// New lines are cp932 (UTF-8 in a file detectTextEncoding finds UTF-8);
// kept ones keep their bytes; every line ends CR LF.
// Returns nothing when no value changed. Throws TextEncodingError for a new
// line cp932 cannot hold.
std::optional<std::string> mergedSettingsBytes(std::string_view fileBytes, const std::vector<std::string>& readLines,
                                               const std::vector<std::string>& nowLines);

// What writing the settings did.
struct SettingsWrite {
    bool written = false;
    // The file had lines that could not be decoded; before it was
    // rewritten, its old bytes were kept as Tambor.ini.bak.
    bool backedUp = false;
};

// folder / "Tambor.ini.bak".
std::filesystem::path settingsBackupPath(const std::filesystem::path& settingsFile);

// Applies the change from readLines to nowLines to the file at path as it
// is now (mergedSettingsBytes). A missing file is written whole from
// nowLines. A file that cannot be read is left alone: FileError, so that a
// file the program cannot see into is never replaced by its defaults.
// Before rewriting a file holding undecodable lines, its bytes are saved as
// Tambor.ini.bak. Throws FileError or TextEncodingError.
SettingsWrite mergeSettingsFile(const std::filesystem::path& path, const std::vector<std::string>& readLines,
                                const std::vector<std::string>& nowLines);

}  // namespace tambor
