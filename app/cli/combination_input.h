#pragma once
// How every command that reads a combination file decides the file's game
// and checks its lines, so that a list is never read as the other game:
// a header line names the game; without one the game given by --game is
// used; without either the command stops (UsageError, exit code 2) rather
// than guess. A line whose numbers do not make whole combinations of that
// game is reported with its line number (std::runtime_error, exit code 1).

#include <optional>
#include <string>

#include "cli_args.h"
#include "io/combination_file.h"

namespace tambor::cli {

struct CombinationInput {
    CombinationFile file;
    GameMode game = GameMode::MiniLoto;
};

// The game --game gives, or nothing. Commands take it before reading the
// file, so that a bad value is refused first (UsageError).
std::optional<GameMode> gameOption(const ParsedArgs& parsed);

// Reads path (FileError when it cannot be read), then checks it as above.
CombinationInput readCombinationInput(const std::string& path, std::optional<GameMode> given);

// The game of an already read file, and the check of its lines; the
// command may run its stop test between reading and these.
GameMode combinationFileGame(const CombinationFile& file, std::optional<GameMode> given);
void requireWholeCombinationLines(const CombinationFile& file, GameMode game);

// The --game line of the commands' --help texts.
extern const char* const kGameOptionHelp;

}  // namespace tambor::cli
