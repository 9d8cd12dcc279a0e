#include "history/history_check.h"

#include <exception>
#include <vector>

#include "core/game.h"
#include "history/history_store.h"
#include "io/cp932.h"
#include "io/text_file.h"

namespace tambor {
namespace {

// A line quoted in a message: its first characters only.
std::string quoted(const std::string& line) {
    constexpr std::size_t kMax = 60;
    if (line.size() <= kMax) return "「" + line + "」";
    std::size_t cut = kMax;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;  // whole UTF-8 characters
    return "「" + line.substr(0, cut) + "…」";
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "第" round "回(" date ")=" K main numbers ascending, then the bonus, each
// two digits, separated by ","; the round must be the line's position.
bool drawLineValid(std::string_view line, int position, const GameRules& rules) {
    static constexpr std::string_view kDai = "第";
    static constexpr std::string_view kKai = "回(";
    if (line.substr(0, kDai.size()) != kDai) return false;
    line.remove_prefix(kDai.size());
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    long round = 0;
    std::size_t digits = 0;
    while (digits < line.size() && isDigit(line[digits]) && digits < 6) round = round * 10 + (line[digits++] - '0');
    if (digits == 0 || round != position) return false;
    line.remove_prefix(digits);
    if (line.substr(0, kKai.size()) != kKai) return false;
    const std::size_t close = line.find(")=");
    if (close == std::string_view::npos || line.substr(kKai.size(), close - kKai.size()).find(')') != std::string_view::npos)
        return false;
    line.remove_prefix(close + 2);

    const int k = rules.pickCount;
    const int n = k + rules.bonusCount;
    if (line.size() != static_cast<std::size_t>(3 * n - 1)) return false;
    int previous = 0;
    int previousBonus = 0;
    bool drawn[kBoardSize + 1] = {};
    for (int i = 0; i < n; ++i) {
        const std::size_t at = static_cast<std::size_t>(3 * i);
        if (!isDigit(line[at]) || !isDigit(line[at + 1])) return false;
        if (i < n - 1 && line[at + 2] != ',') return false;
        const int v = (line[at] - '0') * 10 + (line[at + 1] - '0');
        if (v < 1 || v > rules.maxNumber) return false;
        if (i < k) {
            if (v <= previous) return false;
            previous = v;
            drawn[v] = true;
        } else {
            // The bonus numbers are never main numbers, and come ascending.
            if (drawn[v] || v <= previousBonus) return false;
            previousBonus = v;
        }
    }
    return true;
}

HistoryFileVerdict check(std::string_view bytes) {
    HistoryFileVerdict verdict;
    if (bytes.empty()) {
        verdict.message = "ファイルが空です";
        return verdict;
    }
    std::string text;
    try {
        text = cp932ToUtf8(bytes, "lotodata.txt");
    } catch (const TextEncodingError& e) {
        verdict.message = "Shift-JIS のテキストではありません（" + std::to_string(e.offset()) + " バイト目）";
        return verdict;
    }
    const std::vector<std::string> lines = splitLines(text);
    int counts[2] = {0, 0};
    for (GameMode mode : kAllGames) {
        const std::string header = HistoryStore::sectionHeader(mode);
        std::size_t h = 0;
        while (h < lines.size() && lines[h] != header) ++h;
        if (h == lines.size()) {
            // Files written before ロト７ existed have only the first two
            // games; a section that is there is checked like the others.
            if (mode == GameMode::Loto7) continue;
            verdict.message = "「" + header + "」の節がありません";
            return verdict;
        }
        const GameRules rules = rulesFor(mode);
        int position = 0;
        for (std::size_t i = h + 1; i < lines.size() && !lines[i].empty(); ++i) {
            ++position;
            if (!drawLineValid(lines[i], position, rules)) {
                verdict.message = "「" + header + "」の " + std::to_string(position) + " 行目を読み取れません: " +
                                  quoted(lines[i]);
                return verdict;
            }
        }
        if (position == 0) {
            verdict.message = "「" + header + "」の節に当選番号がありません";
            return verdict;
        }
        if (mode != GameMode::Loto7) counts[mode == GameMode::MiniLoto ? 0 : 1] = position;
    }
    verdict.ok = true;
    verdict.miniLotoDraws = counts[0];
    verdict.loto6Draws = counts[1];
    return verdict;
}

}  // namespace

HistoryFileVerdict checkHistoryFile(std::string_view bytes) noexcept {
    try {
        return check(bytes);
    } catch (const std::exception&) {
        // Only memory can run out here; such bytes are not taken either.
        HistoryFileVerdict verdict;
        verdict.message = "ファイルを調べられません（メモリ不足）";
        return verdict;
    }
}

std::string withCrLfLineEnds(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            out += "\r\n";
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace tambor
