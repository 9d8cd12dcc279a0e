#pragma once
// The program's own files in its data folder (the draw history, its backup
// and the settings) are never overwritten by a saved list: saving over
// lotodata.txt would leave every statistic empty at the next start.

#include <filesystem>

namespace tambor {

// True when target (followed through symbolic links, "." and "..") is
// lotodata.txt, lotodata.bak, Tambor.ini or Tambor.ini.bak in dataFolder; the names are
// compared without regard to ASCII case.
bool isProgramFile(const std::filesystem::path& target, const std::filesystem::path& dataFolder);

// Throws FileError with a Japanese message naming the file when
// isProgramFile(target, dataFolder).
void refuseProgramFile(const std::filesystem::path& target, const std::filesystem::path& dataFolder);

}  // namespace tambor
