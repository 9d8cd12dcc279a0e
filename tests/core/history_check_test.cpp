// The check a downloaded history file must pass, the line-end repair, and
// the served copy of the full history.

#include <gtest/gtest.h>

#include "history/history_check.h"
#include "history/history_store.h"
#include "history_test_support.h"
#include "io/cp932.h"

using namespace tambor;
using history_test::slurp;

namespace {

const char* const kMini = "[ミニロト当選番号]\n第  1回(H11. 4.13)=01,03,17,20,25,26\n第  2回(H11. 4.27)=02,11,12,21,30,28\n\n";
const char* const kLoto6 = "[ロト６当選番号]\n第  1回(H12.10. 5)=02,08,10,13,27,30,39\n\n";

std::string cp932(const std::string& utf8) { return utf8ToCp932(utf8, "test"); }

struct CheckRow {
    const char* name;
    std::string bytes;
    const char* messagePart;  // nullptr: the bytes pass
};

class HistoryCheckRows : public ::testing::TestWithParam<CheckRow> {};

TEST_P(HistoryCheckRows, Judges) {
    const CheckRow& row = GetParam();
    const HistoryFileVerdict verdict = checkHistoryFile(row.bytes);
    if (!row.messagePart) {
        EXPECT_TRUE(verdict.ok) << verdict.message;
        EXPECT_TRUE(verdict.message.empty());
        return;
    }
    EXPECT_FALSE(verdict.ok);
    EXPECT_NE(verdict.message.find(row.messagePart), std::string::npos) << verdict.message;
}

std::string both(const std::string& mini, const std::string& loto6 = kLoto6) { return cp932(mini + loto6); }

INSTANTIATE_TEST_SUITE_P(
    HistoryCheck, HistoryCheckRows,
    ::testing::Values(
        CheckRow{"both_sections", both(kMini), nullptr},
        // ロト７: seven main numbers, then two bonus numbers ascending; the
        // section may be missing (older files) but is checked when there.
        CheckRow{"loto7_section", both(kMini) + cp932("[ロト７当選番号]\n第  1回(H25. 4. 5)=07,10,12,17,23,28,34,03,15\n\n"), nullptr},
        CheckRow{"loto7_one_bonus", both(kMini) + cp932("[ロト７当選番号]\n第  1回(H25. 4. 5)=07,10,12,17,23,28,34,03\n\n"), "1 行目"},
        CheckRow{"loto7_bonus_among_main", both(kMini) + cp932("[ロト７当選番号]\n第  1回(H25. 4. 5)=07,10,12,17,23,28,34,03,34\n\n"), "1 行目"},
        CheckRow{"loto7_bonus_descending", both(kMini) + cp932("[ロト７当選番号]\n第  1回(H25. 4. 5)=07,10,12,17,23,28,34,15,03\n\n"), "1 行目"},
        CheckRow{"loto6_first_and_crlf", cp932(std::string(kLoto6) + "\r\n" + kMini), nullptr},
        CheckRow{"four_digit_round_and_reiwa",
                 both("[ミニロト当選番号]\n" + [] {
                     std::string lines;
                     for (int r = 1; r <= 1000; ++r) {
                         char line[64];
                         std::snprintf(line, sizeof line, "第%3d回(R01. 5. 7)=01,02,03,04,05,06\n", r);
                         lines += line;
                     }
                     return lines + "\n";
                 }()),
                 nullptr},
        CheckRow{"empty", "", "空"},
        CheckRow{"not_cp932", std::string(cp932(kMini)) + "\x82", "Shift-JIS"},
        CheckRow{"html_page", "<html><body><h1>Welcome</h1></body></html>\n", "[ミニロト当選番号]"},
        CheckRow{"no_loto6_section", cp932(kMini), "[ロト６当選番号]"},
        CheckRow{"header_with_trailing_blank", both("[ミニロト当選番号] \n第  1回(H11. 4.13)=01,03,17,20,25,26\n\n"),
                 "[ミニロト当選番号]」の節がありません"},
        CheckRow{"empty_section", both("[ミニロト当選番号]\n\n"), "当選番号がありません"},
        CheckRow{"round_out_of_order", both("[ミニロト当選番号]\n第  2回(H11. 4.13)=01,03,17,20,25,26\n\n"), "1 行目"},
        CheckRow{"number_above_range", both("[ミニロト当選番号]\n第  1回(H11. 4.13)=01,03,17,20,32,26\n\n"), "1 行目"},
        CheckRow{"numbers_not_ascending", both("[ミニロト当選番号]\n第  1回(H11. 4.13)=03,01,17,20,25,26\n\n"), "1 行目"},
        CheckRow{"bonus_among_mains", both("[ミニロト当選番号]\n第  1回(H11. 4.13)=01,03,17,20,25,25\n\n"), "1 行目"},
        CheckRow{"too_few_numbers", both("[ミニロト当選番号]\n第  1回(H11. 4.13)=01,03,17,20,25\n\n"), "1 行目"},
        CheckRow{"not_a_number", both("[ミニロト当選番号]\n第  1回(H11. 4.13)=01,03,xx,20,25,26\n\n"), "1 行目"},
        CheckRow{"no_equals_sign", both("[ミニロト当選番号]\n第  1回(H11. 4.13) 01,03,17,20,25,26\n\n"), "1 行目"},
        CheckRow{"torn_second_line", both("[ミニロト当選番号]\n第  1回(H11. 4.13)=01,03,17,20,25,26\n第  2回(H11. 4.27)=02,1\n\n"),
                 "2 行目"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(HistoryCheck, CountsTheDrawsOfTheRealFile) {
    const HistoryFileVerdict builtin = checkHistoryFile(embedded::builtinHistoryBytes());
    EXPECT_TRUE(builtin.ok) << builtin.message;
    EXPECT_EQ(builtin.miniLotoDraws, 1403);
    EXPECT_EQ(builtin.loto6Draws, 2137);
}

TEST(HistoryCheck, LongLinesAreQuotedShortAndWhole) {
    const std::string line = "第  1回(H11. 4.13)=" + std::string(200, 'x') + "あ";
    const HistoryFileVerdict verdict = checkHistoryFile(both("[ミニロト当選番号]\n" + line + "\n\n"));
    EXPECT_FALSE(verdict.ok);
    EXPECT_LT(verdict.message.size(), 200u);
    EXPECT_NO_THROW(cp932ToUtf8(utf8ToCp932(verdict.message, "m"), "m"));  // still valid text
}

TEST(HistoryCheck, LineEndsBecomeCrLf) {
    EXPECT_EQ(withCrLfLineEnds("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(withCrLfLineEnds("a\r\nb\r\n"), "a\r\nb\r\n");
    EXPECT_EQ(withCrLfLineEnds("a\rb\n\n"), "a\r\nb\r\n\r\n");
    EXPECT_EQ(withCrLfLineEnds("a\r\r\nb"), "a\r\n\r\nb");
    EXPECT_EQ(withCrLfLineEnds(""), "");
}

// The update server's copy is the full history with LF line ends, byte for
// byte; the program turns it back into the CR LF file.
TEST(UpdateServerData, IsTheFullHistoryWithLfLineEnds) {
    const std::string served = slurp(TAMBOR_TEST_DATA_DIR "/update/lotodata.txt");
    const std::string full = slurp(TAMBOR_BUILTIN_HISTORY_FILE);
    ASSERT_FALSE(served.empty());
    EXPECT_EQ(served.find('\r'), std::string::npos);
    EXPECT_EQ(withCrLfLineEnds(served), full);
    EXPECT_EQ(slurp(TAMBOR_TEST_DATA_DIR "/update/notify.txt"), "Version=Ver 1.2.0\r\n");
}

}  // namespace
