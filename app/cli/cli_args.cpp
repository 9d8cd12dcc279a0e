#include "cli_args.h"

#include <algorithm>
#include <iostream>
#include <ostream>
#include <set>

#include "history/builtin_merge.h"
#include "history/history_store.h"
#include "io/program_folder.h"

namespace tambor::cli {

GameMode parseGame(const std::string& value) {
    for (const GameMode mode : kAllGames)
        if (value == rulesFor(mode).cliName) return mode;
    throw UsageError{"ゲームは mini、loto6 か loto7 で指定してください: " + value};
}

void checkForSomeGame(const std::function<void(GameMode)>& check) {
    std::optional<UsageError> first;
    for (const GameMode game : kAllGames) {
        try {
            check(game);
            return;
        } catch (const UsageError& e) {
            if (!first) first = e;
        }
    }
    if (first) throw *first;
}

std::optional<std::string> ParsedArgs::value(const std::string& name) const {
    const auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
}

GameMode ParsedArgs::game(GameMode fallback) const {
    const auto v = value("--game");
    return v ? parseGame(*v) : fallback;
}

std::filesystem::path ParsedArgs::dataFolderAsIs() const {
    const auto v = value("--data");
    if (v && v->empty()) throw UsageError{"--data にはフォルダーを指定してください。"};
    return v ? std::filesystem::path(*v) : programFolder();
}

std::filesystem::path ParsedArgs::dataFolder() const {
    const std::filesystem::path folder = dataFolderAsIs();
    bringHistoryUpToDate(folder);
    return folder;
}

void bringHistoryUpToDate(const std::filesystem::path& folder) {
    // Once per folder and run: a command may ask for its folder more than once.
    static std::set<std::filesystem::path> done;
    if (!done.insert(folder).second) return;
    const std::filesystem::path history = folder / HistoryStore::kFileName;
    const BuiltinMergeResult result = mergeNewerBuiltinDraws(history, embedded::builtinHistoryBytes());
    if (!result.error.empty()) std::cerr << result.error << "\n";
    if (result.conflict) std::cerr << result.conflictMessage(history) << "\n";
    if (result.changed()) std::cerr << result.notice() << "\n";
}

ParsedArgs parseArgs(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
                     const std::vector<std::string>& flagOptions, std::size_t maxPositional) {
    auto listed = [](const std::vector<std::string>& names, const std::string& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    ParsedArgs parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.rfind("--", 0) != 0) {
            parsed.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        if (listed(valueOptions, name)) {
            if (eq != std::string::npos) {
                parsed.values[name] = arg.substr(eq + 1);
            } else {
                if (i + 1 >= args.size()) throw UsageError{"オプション " + name + " には値が必要です。"};
                parsed.values[name] = args[++i];
            }
        } else if (listed(flagOptions, name)) {
            if (eq != std::string::npos) throw UsageError{"オプション " + name + " は値を取りません。"};
            parsed.flags.insert(name);
        } else {
            throw UsageError{"不明なオプションです: " + name};
        }
    }
    if (parsed.positional.size() > maxPositional)
        throw UsageError{"余分な引数があります: " + parsed.positional[maxPositional]};
    return parsed;
}

std::vector<int> parseNumberList(const std::string& text, GameMode mode) {
    const int maxNumber = rulesFor(mode).maxNumber;
    std::vector<int> numbers;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const std::size_t first = item.find_first_not_of(' ');
        const std::size_t last = item.find_last_not_of(' ');
        item = first == std::string::npos ? std::string() : item.substr(first, last - first + 1);
        if (item.empty()) throw UsageError{"数字のリストに空の項目があります: \"" + text + "\""};
        if (!std::all_of(item.begin(), item.end(), [](char c) { return c >= '0' && c <= '9'; }))
            throw UsageError{"数字ではありません: \"" + item + "\""};
        const std::optional<std::int64_t> parsed = parseWholeNumberIn(item, 1, maxNumber, kDigitsOnly);
        if (!parsed) throw UsageError{"数字は 1 から " + std::to_string(maxNumber) + " までです: " + item};
        const int v = static_cast<int>(*parsed);
        if (std::find(numbers.begin(), numbers.end(), v) != numbers.end())
            throw UsageError{"数字が重複しています: " + item};
        numbers.push_back(v);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return numbers;
}

std::filesystem::path programFolder() { return programDataFolder(executableFolder()); }

void writeTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0) out << '\t';
            out << row[c];
        }
        out << '\n';
    }
}

}  // namespace tambor::cli
