#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "history/history_store.h"
#include "history/rate_table.h"
#include "history_test_support.h"

using namespace tambor;
using namespace history_test;

namespace {

// The table built the long way from the plain count: exchange sorts and
// snprintf, the same steps the window's fill describes.
std::vector<std::vector<std::string>> plainTable(bool loto6) {
    const PlainCount count = plainCount(loto6);
    const int n = loto6 ? 43 : 31;
    auto hits = [&](int v) { return count.hits[static_cast<std::size_t>(v)]; };
    auto pairs = [&](int a, int b) { return count.pairs[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)]; };
    std::vector<std::vector<std::string>> t(static_cast<std::size_t>(n + 1), std::vector<std::string>(static_cast<std::size_t>(n + 1)));
    char buf[64];
    t[0][0] = "出目ランキング";
    t[0][1] = "当選数字・回数";
    for (int c = 2; c <= n; ++c) t[0][static_cast<std::size_t>(c)] = "連対率" + std::to_string(c - 1) + "位";
    std::vector<int> rank;
    for (int v = 1; v <= n; ++v) rank.push_back(v);
    for (std::size_t i = 0; i + 1 < rank.size(); ++i)
        for (std::size_t j = i + 1; j < rank.size(); ++j)
            if (hits(rank[j]) > hits(rank[i]) || (hits(rank[j]) == hits(rank[i]) && rank[j] < rank[i]))
                std::swap(rank[i], rank[j]);
    for (int r = 1; r <= n; ++r) {
        const int x = rank[static_cast<std::size_t>(r - 1)];
        auto& row = t[static_cast<std::size_t>(r)];
        row[0] = "第" + std::to_string(r) + "位";
        std::snprintf(buf, sizeof buf, "%2d (%3d回)", x, hits(x));
        row[1] = buf;
        std::vector<int> partners;
        for (int y = 1; y <= n; ++y)
            if (y != x) partners.push_back(y);
        for (std::size_t i = 0; i + 1 < partners.size(); ++i)
            for (std::size_t j = i + 1; j < partners.size(); ++j) {
                const int a = partners[i], b = partners[j];
                const bool before = pairs(x, b) > pairs(x, a) ||
                                    (pairs(x, b) == pairs(x, a) && (hits(b) > hits(a) || (hits(b) == hits(a) && b < a)));
                if (before) std::swap(partners[i], partners[j]);
            }
        for (std::size_t k = 0; k < partners.size(); ++k) {
            const int y = partners[k];
            std::snprintf(buf, sizeof buf, "%2d (%3d%%)", y, hits(x) == 0 ? 0 : pairs(x, y) * 100 / hits(x));
            row[k + 2] = buf;
        }
    }
    return t;
}

}  // namespace

class RateTableBuiltin : public ::testing::TestWithParam<GameMode> {};

TEST_P(RateTableBuiltin, MatchesTableBuiltThePlainWay) {
    const GameMode mode = GetParam();
    HistoryStore history;
    history.loadBuiltin(mode);
    const auto table = buildRateTable(history, mode);
    const std::size_t size = mode == GameMode::MiniLoto ? 32 : 44;
    ASSERT_EQ(table.size(), size);
    for (const auto& row : table) ASSERT_EQ(row.size(), size);
    EXPECT_EQ(table, plainTable(mode == GameMode::Loto6));
    EXPECT_EQ(table[0].back(), mode == GameMode::MiniLoto ? "連対率30位" : "連対率42位");
}

TEST_P(RateTableBuiltin, RatesNeverIncreaseAlongARow) {
    const GameMode mode = GetParam();
    HistoryStore history;
    history.loadBuiltin(mode);
    const auto table = buildRateTable(history, mode);
    for (std::size_t r = 1; r < table.size(); ++r) {
        int previous = 100;
        for (std::size_t c = 2; c < table[r].size(); ++c) {
            const int rate = std::atoi(table[r][c].c_str() + 4);
            EXPECT_LE(rate, previous) << "row " << r << " col " << c << " " << table[r][c];
            previous = rate;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Games, RateTableBuiltin, ::testing::Values(GameMode::MiniLoto, GameMode::Loto6),
                         [](const auto& row) { return row.param == GameMode::MiniLoto ? "mini" : "loto6"; });

// The first draws of the built-in ミニロト history as a history text.
std::string firstMiniDraws(std::size_t count) {
    HistoryStore all;
    all.loadBuiltin(GameMode::MiniLoto);
    const auto lines = all.sectionLines(GameMode::MiniLoto);
    std::string text = HistoryStore::sectionHeader(GameMode::MiniLoto) + "\n";
    for (std::size_t i = 0; i < count && i < lines.size(); ++i) text += std::string(lines[i]) + "\n";
    return text + "\n";
}

// Cells checked by hand against the first 175 draws (to 2002-11-19): 11 is
// drawn 39 times, 2 37 times (11 of them with 11), 10 and 24 34 times each.
TEST(RateTableMini, FirstRowsOfTheFirstDraws) {
    HistoryStore history;
    history.loadFromText(firstMiniDraws(175), GameMode::MiniLoto);
    const auto t = buildRateTable(history, GameMode::MiniLoto);
    EXPECT_EQ(t[0][0], "出目ランキング");
    EXPECT_EQ(t[0][1], "当選数字・回数");
    EXPECT_EQ(t[0][2], "連対率1位");
    EXPECT_EQ(t[1][0], "第1位");
    EXPECT_EQ(t[1][1], "11 ( 39回)");
    EXPECT_EQ(t[1][2], " 2 ( 28%)");  // 11 * 100 / 39
    EXPECT_EQ(t[2][1], " 2 ( 37回)");
    EXPECT_EQ(t[2][2], "11 ( 29%)");  // 11 * 100 / 37
    // Equal counts: the smaller number ranks first.
    EXPECT_EQ(t[3][1], "10 ( 34回)");
    EXPECT_EQ(t[4][1], "24 ( 34回)");
    EXPECT_EQ(t[31][0], "第31位");
}

// Tie-breaking and the never-drawn number, on hand-made counts.
TEST(RateTableOrder, TiesAndNeverDrawn) {
    HitCountTable hits{};
    PairCountTable pairs{};
    auto pair = [&](int a, int b, int c) {
        pairs[static_cast<std::size_t>(a - 1)][static_cast<std::size_t>(b - 1)] = c;
        pairs[static_cast<std::size_t>(b - 1)][static_cast<std::size_t>(a - 1)] = c;
    };
    hits[4] = 3;  // 5: three draws
    hits[6] = 3;  // 7: three draws
    hits[2] = 2;  // 3
    hits[8] = 1;  // 9
    pair(5, 3, 2);
    pair(5, 9, 1);
    pair(5, 7, 1);
    const auto rank = rankNumbers(hits, GameMode::MiniLoto);
    ASSERT_EQ(rank.size(), 31u);
    EXPECT_EQ((std::vector<int>(rank.begin(), rank.begin() + 6)), (std::vector<int>{5, 7, 3, 9, 1, 2}));
    // Partners of 5: 3 (2 pairs), then 7 and 9 with 1 pair: 7 has more hits;
    // then the rest by hits (none) and number.
    const auto partners = partnerOrder(hits, pairs, GameMode::MiniLoto, 5);
    ASSERT_EQ(partners.size(), 30u);
    EXPECT_EQ((std::vector<int>(partners.begin(), partners.begin() + 5)), (std::vector<int>{3, 7, 9, 1, 2}));
    EXPECT_EQ(pairRate(hits, pairs, 5, 3), 66);  // 200 / 3 truncated

    const auto t = buildRateTable(hits, pairs, GameMode::MiniLoto);
    EXPECT_EQ(t[1][1], " 5 (  3回)");
    EXPECT_EQ(t[1][2], " 3 ( 66%)");
    EXPECT_EQ(t[1][3], " 7 ( 33%)");
    // 31 was never drawn: last rank, every rate 0.
    EXPECT_EQ(t[31][1], "31 (  0回)");
    for (std::size_t c = 2; c < t[31].size(); ++c) EXPECT_EQ(t[31][c].substr(2), " (  0%)") << c;
}

// The command line: runs the built program on a fresh folder.
namespace {

int runCli(const std::string& arguments, std::string& firstLine) {
    const std::string command = std::string("'") + TAMBOR_CLI_PATH + "' " + arguments + " 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    char buf[4096];
    firstLine.clear();
    bool first = true;
    while (std::fgets(buf, sizeof buf, pipe) != nullptr) {
        if (first) firstLine = buf;
        first = false;
    }
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(StatsCommand, PrintsTableAndRejectsBadArguments) {
    TempFolder dir;
    std::string line;
    EXPECT_EQ(runCli("stats --data '" + dir.path.string() + "'", line), 0);
    std::string expected = "出目ランキング\t当選数字・回数";
    for (int rank = 1; rank <= 30; ++rank) expected += "\t連対率" + std::to_string(rank) + "位";
    EXPECT_EQ(line, expected + "\n");
    EXPECT_EQ(slurp(dir.path / "lotodata.txt"), builtinFileBytes());

    EXPECT_EQ(runCli("stats --game=loto6 --data='" + dir.path.string() + "'", line), 0);
    EXPECT_NE(line.find("\t連対率42位\n"), std::string::npos);

    EXPECT_EQ(runCli("stats --game bingo --data '" + dir.path.string() + "'", line), 2);
    EXPECT_EQ(runCli("stats --data", line), 2);
    EXPECT_EQ(runCli("stats extra --data '" + dir.path.string() + "'", line), 2);
    EXPECT_EQ(runCli("stats --data '" + (dir.path / "missing").string() + "'", line), 1);
    EXPECT_EQ(line, "");
}
