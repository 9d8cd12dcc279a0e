#include "io/program_files.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "io/text_file.h"

namespace tambor {
namespace {

std::string lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::filesystem::path resolved(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
    return ec ? std::filesystem::absolute(path).lexically_normal() : full;
}

}  // namespace

bool isProgramFile(const std::filesystem::path& target, const std::filesystem::path& dataFolder) {
    if (target.empty() || dataFolder.empty()) return false;
    const std::filesystem::path file = resolved(target);
    const std::string name = lowerAscii(file.filename().string());
    if (name != "lotodata.txt" && name != "lotodata.bak" && name != "tambor.ini" && name != "tambor.ini.bak")
        return false;
    return file.parent_path() == resolved(dataFolder);
}

void refuseProgramFile(const std::filesystem::path& target, const std::filesystem::path& dataFolder) {
    if (!isProgramFile(target, dataFolder)) return;
    const std::string name = resolved(target).filename().string();
    throw FileError("「" + name + "」は『タンボル』が使うファイルです（" + dataFolder.string() +
                        "）。組み合わせの一覧は別の名前か別のフォルダーに保存してください。",
                    target, "タンボルのファイル");
}

}  // namespace tambor
