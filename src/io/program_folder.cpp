#include "io/program_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <vector>

#include "io/system_error_text.h"
#include "io/text_file.h"

namespace tambor {

bool isFolderWritable(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::filesystem::path userDataFolder(const char* xdgDataHome, const char* home) {
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') return std::filesystem::path(xdgDataHome) / "tambor";
    if (home != nullptr && home[0] != '\0') return std::filesystem::path(home) / ".local" / "share" / "tambor";
    throw FileError("利用者のデータフォルダーが見つかりません（HOME が設定されていません）。");
}

std::filesystem::path userDataFolder() {
    const char* home = std::getenv("HOME");
    std::string fromPasswd;
    if (home == nullptr || home[0] == '\0') {
        long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
        std::vector<char> buf(static_cast<std::size_t>(size > 0 ? size : 16384));
        passwd pw{};
        passwd* found = nullptr;
        if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found != nullptr &&
            found->pw_dir != nullptr) {
            fromPasswd = found->pw_dir;
            home = fromPasswd.c_str();
        }
    }
    return userDataFolder(std::getenv("XDG_DATA_HOME"), home);
}

bool isSystemProgramFolder(const std::filesystem::path& folder) {
    const std::filesystem::path normal = folder.lexically_normal();
    auto it = normal.begin();
    if (it == normal.end() || *it != "/") return false;
    if (++it == normal.end()) return false;
    return *it == "usr" || *it == "bin" || *it == "sbin" || *it == "opt";
}

std::filesystem::path programDataFolder(const std::filesystem::path& executableFolder,
                                        const std::filesystem::path& userFolder,
                                        const std::function<bool(const std::filesystem::path&)>& writable) {
    if (!isSystemProgramFolder(executableFolder) && writable(executableFolder)) return executableFolder;
    std::error_code ec;
    std::filesystem::create_directories(userFolder, ec);
    if (ec || !std::filesystem::is_directory(userFolder))
    {
        const std::string why = ec ? systemErrorText(ec.value()) : std::string("フォルダーではありません");
        throw FileError("フォルダー「" + userFolder.string() + "」を作成できません: " + why, userFolder, why);
    }
    return userFolder;
}

std::filesystem::path programDataFolder(const std::filesystem::path& executableFolder) {
    if (!isSystemProgramFolder(executableFolder) && isFolderWritable(executableFolder)) return executableFolder;
    return programDataFolder(executableFolder, userDataFolder(), isFolderWritable);
}

std::filesystem::path executableFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) throw FileError("実行ファイルの場所を取得できません: " + systemErrorText(ec.value()));
    return exe.parent_path();
}

}  // namespace tambor
