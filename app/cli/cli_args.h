#pragma once
// Argument helpers shared by the commands of tambor-cli. Every bad argument
// throws UsageError (exit code 2) with a Japanese message.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli_command.h"
#include "core/game.h"
#include "core/whole_number.h"

namespace tambor::cli {

// Numbers on the command line are plain digits: no blanks, no sign.
inline constexpr WholeNumberSyntax kDigitsOnly{false, false, false, false};

// "mini" -> ミニロト, "loto6" -> ロト６.
GameMode parseGame(const std::string& value);

// Writes a table as the windows show it: one line per row, cells joined by tabs.
void writeTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows);

// The arguments of one command after walking them with parseArgs.
struct ParsedArgs {
    std::map<std::string, std::string> values;  // "--game" -> "mini"; the last one given wins
    std::set<std::string> flags;                // "--force"
    std::vector<std::string> positional;

    bool has(const std::string& name) const { return values.count(name) != 0 || flags.count(name) != 0; }
    std::optional<std::string> value(const std::string& name) const;
    // The --game value, or fallback when absent.
    GameMode game(GameMode fallback = GameMode::MiniLoto) const;
    // The --data folder, or programFolder() when absent; its history is
    // brought up to the built-in one first (bringHistoryUpToDate).
    std::filesystem::path dataFolder() const;
    // The same folder with its history left exactly as it is (the update,
    // which must leave the file untouched when it fails or is stopped).
    std::filesystem::path dataFolderAsIs() const;
};

// Walks args: "--opt VALUE" and "--opt=VALUE" for the names in
// valueOptions, "--flag" for the names in flagOptions, everything else not
// starting with "--" positional; after "--" everything is positional. An
// unknown option, a missing value or a value given to a flag is a UsageError.
// Positionals are accepted only up to maxPositional.
ParsedArgs parseArgs(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
                     const std::vector<std::string>& flagOptions = {}, std::size_t maxPositional = 0);

// Checks, before any file is read, an option whose limits depend on the
// game (numbers up to the game's largest, conditions of a game): check
// must pass for at least one game, since the file's header decides the
// game later and the command checks the value again for it then. A value
// that no game takes is the first game's UsageError, so a bad option is
// always said (exit code 2) before a missing file (exit code 1).
void checkForSomeGame(const std::function<void(GameMode)>& check);

// "1,5,23" -> {1, 5, 23} in the given order. Each item is a decimal number
// of 1..MaxNumber of the game (blanks around it allowed); an empty list, an
// empty item, junk, an out-of-range or a repeated number is a UsageError.
std::vector<int> parseNumberList(const std::string& text, GameMode mode);

// Adds to folder's lotodata.txt the built-in draws newer than its newest,
// once per folder and run, saying so (or why not) on standard error.
void bringHistoryUpToDate(const std::filesystem::path& folder);

// The program's folder for its files, as the windows use it: the folder of
// the running executable when writable, otherwise the user's data folder.
std::filesystem::path programFolder();

}  // namespace tambor::cli
