#include <gtest/gtest.h>

#include <cmath>

#include "core/number_board.h"
#include "history/history_store.h"
#include "io/cp932.h"
#include "history_test_support.h"

using namespace tambor;
using namespace history_test;

// ---- First start, the file on disk and failures --------------------------

class HistoryFirstStart : public ::testing::TestWithParam<GameMode> {};

TEST_P(HistoryFirstStart, CreatesFileIdenticalToBuiltinCopy) {
    TempFolder dir;
    HistoryStore history;
    history.load(dir.path, GetParam());
    EXPECT_EQ(history.historyPath(), dir.path / "lotodata.txt");
    const std::string written = slurp(dir.path / "lotodata.txt");
    EXPECT_EQ(written, builtinFileBytes());
    EXPECT_EQ(written, std::string(embedded::builtinHistoryBytes()));
    EXPECT_EQ(history.drawCount(), GetParam() == GameMode::MiniLoto ? 1403 : 2137);
    EXPECT_EQ(history.lineCount(), 4240u);
}

INSTANTIATE_TEST_SUITE_P(Games, HistoryFirstStart, ::testing::Values(GameMode::MiniLoto, GameMode::Loto6),
                         [](const auto& row) { return row.param == GameMode::MiniLoto ? "mini" : "loto6"; });

TEST(HistoryFile, ExistingFileIsReadAndNeverRewritten) {
    TempFolder dir;
    // "[ミニロト当選番号]" and one draw, LF line ends, no final line end.
    const std::string bytes =
        "[\x83\x7E\x83\x6A\x83\x8D\x83\x67\x93\x96\x91\x49\x94\xD4\x8D\x86]\n=01,02,03,04,05,06";
    std::ofstream(dir.path / "lotodata.txt", std::ios::binary) << bytes;
    HistoryStore history;
    history.load(dir.path, GameMode::MiniLoto);
    EXPECT_EQ(history.drawCount(), 1);
    EXPECT_EQ(history.hitCount(5), 1);
    EXPECT_EQ(history.hitCount(6), 0);
    EXPECT_EQ(slurp(dir.path / "lotodata.txt"), bytes);
}

// lotodata.txt saved by a modern editor is UTF-8: read as such, with or
// without a byte-order mark, and with any line ends.
TEST(HistoryFile, Utf8FileGivesTheSameStatistics) {
    HistoryStore builtin;
    builtin.loadBuiltin(GameMode::Loto6);
    const std::string utf8 = cp932ToUtf8(builtinFileBytes(), "t");
    for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
        TempFolder dir;
        std::ofstream(dir.path / "lotodata.txt", std::ios::binary) << bom << utf8;
        HistoryStore history;
        history.load(dir.path, GameMode::Loto6);
        EXPECT_EQ(history.drawCount(), 2137);
        EXPECT_EQ(history.hitCounts(), builtin.hitCounts());
        EXPECT_EQ(history.pairCounts(), builtin.pairCounts());
        EXPECT_EQ(history.text(), utf8);
        EXPECT_EQ(slurp(dir.path / "lotodata.txt"), bom + utf8);  // never rewritten
    }
}

TEST(HistoryFile, DamagedUtf8FileFallsBackAndSaysUtf8) {
    TempFolder dir;
    std::ofstream(dir.path / "lotodata.txt", std::ios::binary)
        << "[ロト６当選番号]\r\n第  1回(H12.10. 5)=02,08,10,13,27,30,39\r\n第  2回\xE3\x81=01,02,03,04,05,06,07\r\n";
    HistoryStore history;
    try {
        history.load(dir.path, GameMode::Loto6);
        FAIL() << "no error";
    } catch (const HistoryError& e) {
        EXPECT_NE(std::string(e.what()).find("UTF-8"), std::string::npos) << e.what();
    }
    EXPECT_EQ(history.drawCount(), 2137);
}

// Every failure falls back to the built-in history, then reports.
struct HistoryFailureRow {
    const char* name;
    // Prepares the folder; returns the folder to load from.
    fs::path (*prepare)(const fs::path& dir);
    const char* expectedInMessage;
};

class HistoryFailure : public ::testing::TestWithParam<HistoryFailureRow> {};

TEST_P(HistoryFailure, FallsBackToBuiltinAndNamesFile) {
    TempFolder dir;
    const fs::path folder = GetParam().prepare(dir.path);
    HistoryStore history;
    try {
        history.load(folder, GameMode::Loto6);
        FAIL() << "no error";
    } catch (const HistoryError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find((folder / "lotodata.txt").string()), std::string::npos) << message;
        EXPECT_NE(message.find(GetParam().expectedInMessage), std::string::npos) << message;
    }
    EXPECT_EQ(history.drawCount(), 2137);
    EXPECT_EQ(history.lineCount(), 4240u);
    EXPECT_EQ(history.historyPath(), folder / "lotodata.txt");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HistoryFailure,
    ::testing::Values(
        HistoryFailureRow{"folder_missing_cannot_create", [](const fs::path& d) { return d / "missing"; }, "作成できません"},
        HistoryFailureRow{"path_is_a_folder",
                   [](const fs::path& d) {
                       fs::create_directory(d / "lotodata.txt");
                       return d;
                   },
                   "読み込めません"},
        HistoryFailureRow{"not_cp932",
                   [](const fs::path& d) {
                       std::ofstream(d / "lotodata.txt", std::ios::binary) << "abc\r\n\xFF\r\n";
                       return d;
                   },
                   "オフセット 5"}),
    [](const auto& row) { return std::string(row.param.name); });

// ---- Statistics of the built-in history -----------------------------------

class HistoryBuiltinStats : public ::testing::TestWithParam<GameMode> {};

TEST_P(HistoryBuiltinStats, MatchPlainCount) {
    const GameMode mode = GetParam();
    const GameRules rules = rulesFor(mode);
    HistoryStore history;
    history.loadBuiltin(mode);
    const PlainCount expected = plainCount(mode == GameMode::Loto6);
    ASSERT_EQ(history.drawCount(), expected.draws);
    std::int64_t weightSum = 0;
    for (int a = 1; a <= kBoardSize; ++a) {
        EXPECT_EQ(history.hitCount(a), expected.hits[static_cast<std::size_t>(a)]) << a;
        if (a <= rules.maxNumber) {
            EXPECT_EQ(history.numberWeights()[static_cast<std::size_t>(a)], history.hitCount(a) + 1);
            weightSum += history.numberWeights()[static_cast<std::size_t>(a)];
        }
        for (int b = 1; b <= kBoardSize; ++b) {
            EXPECT_EQ(history.pairCount(a, b), expected.pairs[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)])
                << a << "," << b;
            EXPECT_EQ(history.pairCount(a, b), history.pairCount(b, a));
        }
        EXPECT_EQ(history.pairCount(a, a), 0);
    }
    EXPECT_EQ(history.numberWeights()[0], weightSum);
}

TEST_P(HistoryBuiltinStats, DeviationScoresHaveMeanFiftyAndSpreadTen) {
    const GameMode mode = GetParam();
    const int n = rulesFor(mode).maxNumber;
    HistoryStore history;
    history.loadBuiltin(mode);
    double sum = 0, squares = 0;
    for (int v = 1; v <= n; ++v) sum += history.deviationValue(v);
    const double mean = sum / n;
    for (int v = 1; v <= n; ++v) squares += (history.deviationValue(v) - mean) * (history.deviationValue(v) - mean);
    EXPECT_NEAR(mean, 50.0, 1e-9);
    EXPECT_NEAR(std::sqrt(squares / n), 10.0, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Games, HistoryBuiltinStats, ::testing::Values(GameMode::MiniLoto, GameMode::Loto6),
                         [](const auto& row) { return row.param == GameMode::MiniLoto ? "mini" : "loto6"; });

TEST(HistoryBuiltinStats, MiniLotoMeanIs1403TimesFiveOver31) {
    HistoryStore history;
    history.loadBuiltin(GameMode::MiniLoto);
    int total = 0;
    for (int v = 1; v <= 31; ++v) total += history.hitCount(v);
    EXPECT_EQ(total, 1403 * 5);  // so the mean is 1403 * 5 / 31 = 226.29 and the scores average 50
    EXPECT_NEAR(total / 31.0, 226.29, 0.005);
}

// ---- Reading one draw -------------------------------------------------------

struct HistoryDrawRow {
    const char* name;
    GameMode mode;
    int round;
    bool found;
    std::vector<int> mains;
    int bonus;
};

class HistoryBuiltinDraw : public ::testing::TestWithParam<HistoryDrawRow> {};

TEST_P(HistoryBuiltinDraw, ReadsFromLineEnd) {
    const HistoryDrawRow& row = GetParam();
    HistoryStore history;
    history.loadBuiltin(row.mode);
    int mains[kMaxPick] = {};
    int bonuses[kMaxBonus] = {};
    int count = -1, bonusCount = -1;
    EXPECT_EQ(history.drawOnBoard(row.round, mains, count, bonuses, bonusCount), row.found);
    EXPECT_EQ(std::vector<int>(mains, mains + count), row.mains);
    EXPECT_EQ(bonusCount == 1 ? bonuses[0] : 0, row.bonus);
    EXPECT_EQ(bonusCount, row.found ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rounds, HistoryBuiltinDraw,
    ::testing::Values(HistoryDrawRow{"mini_first", GameMode::MiniLoto, 1, true, {1, 3, 17, 20, 25}, 26},
                      HistoryDrawRow{"mini_last", GameMode::MiniLoto, 1403, true, {8, 11, 14, 17, 19}, 24},
                      HistoryDrawRow{"mini_past_end", GameMode::MiniLoto, 1404, false, {}, 0},
                      HistoryDrawRow{"mini_zero", GameMode::MiniLoto, 0, false, {}, 0},
                      HistoryDrawRow{"mini_negative", GameMode::MiniLoto, -3, false, {}, 0},
                      HistoryDrawRow{"loto6_first", GameMode::Loto6, 1, true, {2, 8, 10, 13, 27, 30}, 39},
                      HistoryDrawRow{"loto6_last", GameMode::Loto6, 2137, true, {4, 8, 10, 25, 28, 33}, 9},
                      HistoryDrawRow{"loto6_past_end", GameMode::Loto6, 2138, false, {}, 0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(HistorySection, LinesInDrawOrder) {
    HistoryStore history;
    history.loadBuiltin(GameMode::Loto6);
    const auto mini = history.sectionLines(GameMode::MiniLoto);
    ASSERT_EQ(mini.size(), 1403u);
    EXPECT_EQ(mini.front(), "第  1回(H11. 4.13)=01,03,17,20,25,26");
    EXPECT_EQ(mini.back(), "第1403回(R08. 9. 8)=08,11,14,17,19,24");
    const auto loto6 = history.sectionLines();
    ASSERT_EQ(loto6.size(), 2137u);
    EXPECT_EQ(loto6.front(), "第  1回(H12.10. 5)=02,08,10,13,27,30,39");
    std::string line;
    ASSERT_TRUE(history.drawLine(2137, line));
    EXPECT_EQ(line, "第2137回(R08. 9.14)=04,08,10,25,28,33,09");
    EXPECT_FALSE(history.drawLine(2138, line));
}

TEST(HistoryDrawOnBoard, MarksMainAndBonusAndKeepsOtherRoles) {
    HistoryStore history;
    history.loadBuiltin(GameMode::MiniLoto);
    NumberBoard board(GameMode::MiniLoto);
    board.setState(2, kRoleBit[Fix] | kRoleBit[Main]);  // an old hand mark on 2
    board.setState(30, kRoleBit[Bonus]);
    ASSERT_TRUE(ShowDrawOnBoard(history, 1, board));  // 01,03,17,20,25 + 26
    EXPECT_EQ(board.state(2), kRoleBit[Fix]);
    EXPECT_EQ(board.state(30), 0);
    for (int v : {1, 3, 17, 20, 25}) EXPECT_EQ(board.state(v), kRoleBit[Main]) << v;
    EXPECT_EQ(board.state(26), kRoleBit[Bonus]);
    EXPECT_EQ(board.count(Main), 5);
    EXPECT_EQ(board.count(Bonus), 1);
    EXPECT_EQ(board.count(Fix), 1);

    EXPECT_FALSE(ShowDrawOnBoard(history, 1404, board));
    EXPECT_EQ(board.count(Main), 0);
    EXPECT_EQ(board.count(Bonus), 0);
    EXPECT_EQ(board.count(Fix), 1);
}
