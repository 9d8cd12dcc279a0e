#pragma once
// The File menu's list of the files last opened or saved.

#include <string>
#include <vector>

namespace tambor {

// Puts path at the front of list (newest first): an earlier entry of the
// same file moves up instead of showing twice, and the list keeps at most
// kRecentFileCount entries.
void addRecentFile(std::vector<std::string>& list, const std::string& path);

}  // namespace tambor
