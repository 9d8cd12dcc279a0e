#include "session/recent_files.h"

#include <algorithm>

#include "session/options.h"

namespace tambor {

void addRecentFile(std::vector<std::string>& list, const std::string& path) {
    if (path.empty()) return;
    std::erase(list, path);
    list.insert(list.begin(), path);
    if (list.size() > static_cast<std::size_t>(kRecentFileCount)) list.resize(kRecentFileCount);
}

}  // namespace tambor
