#pragma once
// Where the program keeps its own files (lotodata.txt, Tambor.ini): beside
// the executable when that folder is writable, otherwise in the user's data
// folder, so an installation in a system folder still works.

#include <filesystem>
#include <functional>
#include <string>

namespace tambor {

// True when this process may create files in folder (access(2) with W_OK).
bool isFolderWritable(const std::filesystem::path& folder);

// The per-user data folder: $XDG_DATA_HOME/tambor when XDG_DATA_HOME is an
// absolute path, else $HOME/.local/share/tambor (HOME from the password
// database when unset). Not created here. Throws FileError when no home
// folder can be found.
std::filesystem::path userDataFolder();
// The same from given values (nullptr = unset), for tests.
std::filesystem::path userDataFolder(const char* xdgDataHome, const char* home);

// True for the folders a package or a system-wide install puts programs in
// (/usr/..., /bin, /sbin, /opt/...): the program never writes there, even
// when it could (as root), so each user keeps their own files.
bool isSystemProgramFolder(const std::filesystem::path& folder);

// The folder for the program's files: executableFolder if writable(it) and
// not a system program folder, otherwise userFolder, created (with its parents) when missing. Throws
// FileError naming the folder when it cannot be created.
std::filesystem::path programDataFolder(const std::filesystem::path& executableFolder,
                                        const std::filesystem::path& userFolder,
                                        const std::function<bool(const std::filesystem::path&)>& writable);
// With isFolderWritable and userDataFolder().
std::filesystem::path programDataFolder(const std::filesystem::path& executableFolder);

// The folder of the running executable (/proc/self/exe). Throws FileError.
std::filesystem::path executableFolder();

}  // namespace tambor
