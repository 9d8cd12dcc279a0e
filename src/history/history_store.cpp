#include "history/history_store.h"

#include <cmath>
#include <cstdint>
#include <new>
#include <system_error>

#include "core/number_board.h"
#include "core/whole_number.h"
#include "io/cp932.h"
#include "io/text_file.h"

namespace tambor {


std::string HistoryStore::sectionHeader(GameMode mode) {
    return std::string("[") + gameName(mode) + "当選番号]";
}

void HistoryStore::load(const std::filesystem::path& folder, GameMode mode) {
    historyPath_ = folder / kFileName;
    const std::string name = historyPath_.string();
    std::string problem;
    try {
        std::error_code ec;
        if (std::filesystem::status(historyPath_, ec).type() == std::filesystem::file_type::not_found) {
            try {
                writeFileBytesAtomic(historyPath_, embedded::builtinHistoryBytes());
            } catch (const FileError& e) {
                throw HistoryError("当選番号ファイル「" + name + "」を作成できません: " + e.reason() + "。");
            }
        } else {
            // What an update that was cut off left beside the file.
            removeStaleTemporaries(historyPath_);
        }
        std::string text = readTextFile(historyPath_);
        if (text.size() > UINT32_MAX) throw FileError(name, historyPath_, "ファイルが大きすぎます");
        text_ = std::move(text);
        fromFile_ = true;
        index(mode);
        computeStatistics(mode);
        return;
    } catch (const HistoryError& e) {
        problem = e.what();
    } catch (const FileError& e) {
        problem = "当選番号ファイル「" + name + "」を読み込めません: " + e.reason() + "。";
    } catch (const TextEncodingError& e) {
        problem = e.what();
    } catch (const std::bad_alloc&) {
        problem = "当選番号ファイル「" + name + "」を読み込めません: メモリが足りません。";
    }
    text_.clear();
    text_.shrink_to_fit();  // a failed huge file's memory goes back before the fallback
    loadBuiltin(mode);
    throw HistoryError(problem);
}

void HistoryStore::loadFromText(std::string utf8Text, GameMode mode) {
    if (utf8Text.size() > UINT32_MAX) throw HistoryError("当選番号データが大きすぎます。");
    text_ = std::move(utf8Text);
    fromFile_ = false;
    index(mode);
    computeStatistics(mode);
}

void HistoryStore::loadBuiltin(GameMode mode) {
    loadFromText(cp932ToUtf8(embedded::builtinHistoryBytes(), "lotodata.txt (内蔵)"), mode);
}

std::string HistoryStore::noDrawsMessage() const {
    if (drawCount_ > 0) return {};
    const std::string where =
        fromFile_ ? "当選番号ファイル「" + historyPath_.string() + "」" : std::string("内蔵の当選番号データ");
    return where + "に" + gameName(mode_) + "の当選番号がありません（見出しの行「" + sectionHeader(mode_) +
           (headerFound_ ? "」の次に当選番号の行がありません）。" : "」がありません）。");
}

void HistoryStore::index(GameMode mode) {
    const std::string header = sectionHeader(mode);
    section_.clear();
    lineCount_ = 0;
    headerFound_ = false;
    enum class State { BeforeHeader, InSection, After } state = State::BeforeHeader;
    forEachLine(text_, [&](std::string_view line) {
        ++lineCount_;
        switch (state) {
        case State::BeforeHeader:
            if (line == header) {
                state = State::InSection;
                headerFound_ = true;
            }
            break;
        case State::InSection:
            if (line.empty()) {
                state = State::After;
                break;
            }
            section_.push_back({static_cast<std::uint32_t>(line.data() - text_.data()),
                                static_cast<std::uint32_t>(line.size())});
            break;
        case State::After: break;
        }
    });
    section_.shrink_to_fit();
}

std::vector<std::string_view> HistoryStore::sectionLines(GameMode mode) const {
    std::vector<std::string_view> section;
    if (mode == mode_) {
        section.reserve(section_.size());
        for (const LineSpan& span : section_) section.push_back(lineAt(span));
        return section;
    }
    const std::string header = sectionHeader(mode);
    bool inSection = false;
    bool done = false;
    forEachLine(text_, [&](std::string_view line) {
        if (done) return;
        if (!inSection) {
            inSection = line == header;
        } else if (line.empty()) {
            done = true;
        } else {
            section.push_back(line);
        }
    });
    return section;
}

bool HistoryStore::drawLine(int round, std::string& line) const {
    if (round < 1 || static_cast<std::size_t>(round) > section_.size()) return false;
    line = lineAt(section_[static_cast<std::size_t>(round - 1)]);
    return true;
}

void HistoryStore::computeStatistics(GameMode mode) {
    mode_ = mode;
    const GameRules rules = rulesFor(mode);
    const int n = rules.maxNumber;
    const int k = rules.pickCount;

    hitCount_.fill(0);
    numberWeight_.fill(0);
    for (int v = 1; v <= n; ++v) numberWeight_[static_cast<std::size_t>(v)] = 1;
    numberWeight_[0] = n;
    for (auto& row : pairCount_) row.fill(0);
    deviationValue_.fill(0.0);
    drawCount_ = 0;

    for (const LineSpan& span : section_) {
        const std::string_view line = lineAt(span);
        ++drawCount_;
        const std::size_t eq = line.find('=');
        std::string_view rest = eq == std::string_view::npos ? std::string_view() : line.substr(eq + 1);
        int mains[kMaxPick];
        int mainCount = 0;
        for (int i = 0; i < k; ++i) {
            const std::size_t comma = rest.find(',');
            const int v = historyNumberOrZero(rest.substr(0, comma));
            rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
            if (v < 1 || v > n) continue;
            // A number written twice on a (malformed) line is one draw of it.
            bool seen = false;
            for (int j = 0; j < mainCount; ++j) seen = seen || mains[j] == v;
            if (seen) continue;
            mains[mainCount++] = v;
            ++numberWeight_[static_cast<std::size_t>(v)];
            ++numberWeight_[0];
            ++hitCount_[static_cast<std::size_t>(v - 1)];
        }
        for (int i = 0; i < mainCount; ++i) {
            for (int j = i + 1; j < mainCount; ++j) {
                const auto a = static_cast<std::size_t>(mains[i] - 1);
                const auto b = static_cast<std::size_t>(mains[j] - 1);
                ++pairCount_[a][b];
                ++pairCount_[b][a];
            }
        }
    }

    const double mean = static_cast<double>(drawCount_) * k / n;
    double sumSquares = 0.0;
    for (int v = 0; v < n; ++v) {
        const double d = mean - hitCount_[static_cast<std::size_t>(v)];
        sumSquares += d * d;
    }
    const double sd = std::sqrt(sumSquares / n);
    for (int v = 0; v < n; ++v) {
        // Without spread (no draws, or every number drawn equally often)
        // every number is exactly average.
        deviationValue_[static_cast<std::size_t>(v)] =
            sd > 0.0 ? (hitCount_[static_cast<std::size_t>(v)] - mean) / sd * 10.0 + 50.0 : 50.0;
    }
}

std::int32_t HistoryStore::hitCount(int number) const {
    if (number < 1 || number > kBoardSize) return 0;
    return hitCount_[static_cast<std::size_t>(number - 1)];
}

std::int32_t HistoryStore::pairCount(int a, int b) const {
    if (a < 1 || a > kBoardSize || b < 1 || b > kBoardSize) return 0;
    return pairCount_[static_cast<std::size_t>(a - 1)][static_cast<std::size_t>(b - 1)];
}

double HistoryStore::deviationValue(int number) const {
    if (number < 1 || number > kBoardSize) return 0.0;
    return deviationValue_[static_cast<std::size_t>(number - 1)];
}

bool HistoryStore::drawOnBoard(int round, int mainNumbers[kMaxPick], int& mainCount, int bonusNumbers[kMaxBonus],
                               int& bonusCount) const {
    mainCount = 0;
    bonusCount = 0;
    std::string line;
    if (!drawLine(round, line)) return false;
    readDrawNumbers(mode_, line, mainNumbers, mainCount, bonusNumbers, bonusCount);
    return true;
}

void HistoryStore::readDrawNumbers(GameMode mode, std::string_view line, int mainNumbers[kMaxPick], int& mainCount,
                                   int bonusNumbers[kMaxBonus], int& bonusCount) {
    mainCount = 0;
    bonusCount = 0;
    const GameRules& rules = rulesFor(mode);
    std::string_view rest(line);
    int found[kMaxPick];
    int foundCount = 0;
    int bonuses[kMaxBonus];
    int bonusFound = 0;
    // Read K + B numbers from the end: the bonus numbers first, then the
    // main numbers, right to left.
    for (int i = 0; i < rules.pickCount + rules.bonusCount; ++i) {
        const std::size_t delim = rest.find_last_of("=,");
        const std::string_view piece = delim == std::string_view::npos ? rest : rest.substr(delim + 1);
        rest = delim == std::string_view::npos ? std::string_view() : rest.substr(0, delim);
        const int v = historyNumberOrZero(piece);
        if (v < 1 || v > rules.maxNumber) continue;
        int* const into = i < rules.bonusCount ? bonuses : found;
        int& count = i < rules.bonusCount ? bonusFound : foundCount;
        bool seen = false;
        for (int j = 0; j < count; ++j) seen = seen || into[j] == v;
        if (!seen) into[count++] = v;
    }
    for (int j = 0; j < foundCount; ++j) mainNumbers[j] = found[foundCount - 1 - j];
    mainCount = foundCount;
    for (int j = 0; j < bonusFound; ++j) bonusNumbers[j] = bonuses[bonusFound - 1 - j];
    bonusCount = bonusFound;
}

bool ShowDrawOnBoard(const HistoryStore& history, int round, NumberBoard& board) {
    for (int v = 1; v <= kBoardSize; ++v)
        board.setState(v, static_cast<std::uint8_t>(board.state(v) & ~(kRoleBit[Main] | kRoleBit[Bonus])));
    int mains[kMaxPick];
    int mainCount = 0;
    int bonuses[kMaxBonus];
    int bonusCount = 0;
    const bool found = history.drawOnBoard(round, mains, mainCount, bonuses, bonusCount);
    for (int i = 0; i < mainCount; ++i)
        board.setState(mains[i], static_cast<std::uint8_t>(board.state(mains[i]) | kRoleBit[Main]));
    for (int i = 0; i < bonusCount; ++i)
        board.setState(bonuses[i], static_cast<std::uint8_t>(board.state(bonuses[i]) | kRoleBit[Bonus]));
    board.refreshCounts();
    return found;
}

}  // namespace tambor
