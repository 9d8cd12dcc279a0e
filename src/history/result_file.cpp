#include "history/result_file.h"

#include <algorithm>
#include <vector>

#include "core/whole_number.h"
#include "io/cp932.h"
#include "io/text_file.h"

namespace tambor {
namespace {

std::string_view trim(std::string_view text) {
    const auto blank = [](std::string_view t, bool front) {
        if (t.empty()) return std::size_t{0};
        const char c = front ? t.front() : t.back();
        if (c == ' ' || c == '\t' || c == '"') return std::size_t{1};
        // The ideographic space U+3000.
        const std::string_view ideographic = "\xE3\x80\x80";
        if (front ? t.starts_with(ideographic) : t.ends_with(ideographic)) return ideographic.size();
        return std::size_t{0};
    };
    for (std::size_t n; (n = blank(text, true)) != 0;) text.remove_prefix(n);
    for (std::size_t n; (n = blank(text, false)) != 0;) text.remove_suffix(n);
    return text;
}

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> out;
    for (;;) {
        const std::size_t comma = line.find(',');
        out.push_back(trim(line.substr(0, comma)));
        if (comma == std::string_view::npos) return out;
        line.remove_prefix(comma + 1);
    }
}

std::optional<int> numberField(std::string_view text) {
    WholeNumberSyntax syntax;
    syntax.sign = false;
    const auto value = parseWholeNumberIn(text, 0, 9999, syntax);
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
}

// A game's name as the files may write it: digits as ASCII, no blanks.
std::string nameKey(std::string_view name) { return std::string(trim(asciiDigits(name))); }

std::optional<GameMode> gameByName(std::string_view name) {
    const std::string key = nameKey(name);
    for (const GameMode mode : kAllGames)
        if (nameKey(gameName(mode)) == key) return mode;
    return std::nullopt;
}

}  // namespace

std::string asciiDigits(std::string_view text) {
    // "０" is EF BC 90 .. "９" EF BC 99 in UTF-8.
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i + 2 < text.size() && static_cast<unsigned char>(text[i]) == 0xEF &&
            static_cast<unsigned char>(text[i + 1]) == 0xBC && static_cast<unsigned char>(text[i + 2]) >= 0x90 &&
            static_cast<unsigned char>(text[i + 2]) <= 0x99) {
            out += static_cast<char>('0' + (static_cast<unsigned char>(text[i + 2]) - 0x90));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::variant<ResultFileDraw, std::string> parseResultFileText(std::string_view utf8Text) {
    const std::string text = asciiDigits(utf8Text);
    const std::vector<std::string> lines = splitLines(text);

    // The title line: "第2078回ロト６,数字選択式全国自治宝くじ,令和8年2月19日,...".
    std::optional<ResultFileDraw> result;
    std::size_t titleLine = 0;
    for (; titleLine < lines.size() && titleLine < 4; ++titleLine) {
        const std::vector<std::string_view> parts = fields(lines[titleLine]);
        const std::string_view head = parts.front();
        if (!head.starts_with("第")) continue;
        const std::size_t kai = head.find("回");
        if (kai == std::string_view::npos) continue;
        const auto round = numberField(head.substr(std::string_view("第").size(), kai - std::string_view("第").size()));
        if (!round || *round < 1) return std::string("回の番号が読めません");
        const std::optional<GameMode> mode = gameByName(head.substr(kai + std::string_view("回").size()));
        if (!mode) return "くじの名前「" + std::string(head.substr(kai + std::string_view("回").size())) + "」を知りません";
        std::optional<DrawDate> date;
        for (std::size_t i = 1; i < parts.size() && !date; ++i) date = parseJapaneseEraDate(parts[i]);
        if (!date) return std::string("抽せん日が読めません");
        result = ResultFileDraw{*mode, HistoryDraw{*round, date, {}, {}}};
        break;
    }
    if (!result) return std::string("「第…回」で始まる回の行がありません");

    const auto numbersLine = std::find_if(lines.begin() + static_cast<std::ptrdiff_t>(titleLine), lines.end(),
                                          [](const std::string& line) { return fields(line).front() == "本数字"; });
    if (numbersLine == lines.end()) return std::string("本数字の行がありません");
    const std::vector<std::string_view> parts = fields(*numbersLine);
    bool inBonus = false;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (parts[i].starts_with("ボーナス")) {
            inBonus = true;
            continue;
        }
        if (parts[i].empty()) continue;
        const std::optional<int> value = numberField(parts[i]);
        if (!value) return "本数字の行に数字でない「" + std::string(parts[i]) + "」があります";
        (inBonus ? result->draw.bonusNumbers : result->draw.mainNumbers).push_back(*value);
    }
    if (std::string problem = drawNumbersProblem(result->mode, result->draw.mainNumbers, result->draw.bonusNumbers);
        !problem.empty()) {
        if (problem.ends_with("。")) problem.resize(problem.size() - std::string_view("。").size());
        return problem;
    }
    std::sort(result->draw.mainNumbers.begin(), result->draw.mainNumbers.end());
    return *result;
}

std::variant<ResultFileDraw, std::string> readResultFile(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    const auto notResult = [&](const std::string& why) {
        return "「" + name + "」は当選番号の結果ファイルとして読めません（" + why + "）。";
    };
    std::string text;
    try {
        text = decodeText(readFileBytes(path, kMaxResultFileBytes), name);
    } catch (const FileError& e) {
        return "「" + name + "」を読み込めません: " + e.reason() + "。";
    } catch (const TextEncodingError&) {
        return notResult("cp932 でも UTF-8 でもない文字があります");
    }
    std::variant<ResultFileDraw, std::string> parsed = parseResultFileText(text);
    if (const std::string* why = std::get_if<std::string>(&parsed)) return notResult(*why);
    return parsed;
}

}  // namespace tambor
