// The one whole-number parser and the syntaxes its callers name.

#include <gtest/gtest.h>

#include <limits>

#include "core/whole_number.h"

using namespace tambor;

namespace {

constexpr WholeNumberSyntax kPlain{};
constexpr WholeNumberSyntax kHistory{true, true, true, false};
constexpr WholeNumberSyntax kDigits{false, false, false, false};
constexpr WholeNumberSyntax kSaturating{false, false, true, true};

struct NumberRow {
    const char* name;
    const char* text;
    WholeNumberSyntax syntax;
    std::optional<std::int64_t> expected;
};

class WholeNumberRows : public ::testing::TestWithParam<NumberRow> {};

TEST_P(WholeNumberRows, Parses) {
    const NumberRow& row = GetParam();
    EXPECT_EQ(parseWholeNumberIn(row.text, -1000, 1000, row.syntax), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    WholeNumber, WholeNumberRows,
    ::testing::Values(NumberRow{"plain", "42", kPlain, 42}, NumberRow{"leading_blanks", "  7", kPlain, 7},
                      NumberRow{"sign_minus", "-5", kPlain, -5}, NumberRow{"sign_plus", "+5", kPlain, 5},
                      NumberRow{"empty", "", kPlain, std::nullopt}, NumberRow{"blanks_only", "  ", kPlain, std::nullopt},
                      NumberRow{"sign_only", "-", kPlain, std::nullopt},
                      NumberRow{"trailing_blank", "7 ", kPlain, std::nullopt},
                      NumberRow{"decimal_point", "1.0", kPlain, std::nullopt},
                      NumberRow{"tab_not_plain", "\t7", kPlain, std::nullopt},
                      NumberRow{"tab_in_history", " \t7", kHistory, 7},
                      NumberRow{"above_range", "1001", kPlain, std::nullopt},
                      NumberRow{"below_range", "-1001", kPlain, std::nullopt},
                      NumberRow{"huge", "99999999999999999999999", kPlain, std::nullopt},
                      NumberRow{"huge_with_junk", "9999999999999999999999x", kSaturating, std::nullopt},
                      NumberRow{"digits_no_blank", " 7", kDigits, std::nullopt},
                      NumberRow{"digits_no_sign", "+7", kDigits, std::nullopt},
                      NumberRow{"saturates_high", "99999999999999999999999", kSaturating, 1000},
                      NumberRow{"saturates_low", "-5000", kSaturating, -1000}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(WholeNumber, ThirtyTwoBitRangeAndTheHistoryFields) {
    EXPECT_EQ(parseWholeNumber("2147483647"), std::numeric_limits<int>::max());
    EXPECT_EQ(parseWholeNumber("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(parseWholeNumber("2147483648"), std::nullopt);
    EXPECT_EQ(historyNumberOrZero("\t08"), 8);
    EXPECT_EQ(historyNumberOrZero("08x"), 0);
    EXPECT_EQ(historyNumberOrZero(""), 0);
}

}  // namespace
