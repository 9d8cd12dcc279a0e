#pragma once
// Whether a history file from the update server keeps every draw of the
// local one. The server's file replaces the whole local file, so a shorter
// file on the server, or a draw the user typed in before the server had it,
// would be lost without this check; a draw with another result on the
// server is not taken either. Works on every game's section the program
// knows, so a new game needs nothing here.

#include <string>
#include <vector>

namespace tambor {

// One sentence per game whose draws the server's file would drop or
// change, naming the game and the rounds (Japanese, lines joined by "\n");
// empty when the server's file keeps every draw of the local one. Both are
// the files' lines (UTF-8). A local line that does not read as a draw has
// nothing to keep.
std::string lostDrawProblem(const std::vector<std::string>& localLines, const std::vector<std::string>& serverLines);

}  // namespace tambor
