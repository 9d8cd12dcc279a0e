#include <gtest/gtest.h>

#include "io/cp932.h"

using namespace tambor;

struct Cp932RoundTripRow {
    const char* name;
    std::string utf8;
    std::string cp932;
};

class Cp932RoundTrip : public ::testing::TestWithParam<Cp932RoundTripRow> {};

TEST_P(Cp932RoundTrip, BothDirections) {
    const Cp932RoundTripRow& row = GetParam();
    EXPECT_EQ(utf8ToCp932(row.utf8, "t.txt"), row.cp932);
    EXPECT_EQ(cp932ToUtf8(row.cp932, "t.txt"), row.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Text, Cp932RoundTrip,
    ::testing::Values(Cp932RoundTripRow{"backslash_and_tilde", "a\\b~c", "a\\b~c"},
                      Cp932RoundTripRow{"loto6", "ロト６", "\x83\x8D\x83\x67\x82\x55"},
                      Cp932RoundTripRow{"dai", "第", "\x91\xE6"},
                      Cp932RoundTripRow{"halfwidth_katakana", "ｱ", "\xB1"},
                      Cp932RoundTripRow{"crlf", "x\r\ny", "x\r\ny"},
                      Cp932RoundTripRow{"empty", "", ""}),
    [](const auto& row) { return std::string(row.param.name); });

struct Cp932BadRow {
    const char* name;
    std::string bytes;
    std::size_t offset;
};

class Cp932BadBytes : public ::testing::TestWithParam<Cp932BadRow> {};

TEST_P(Cp932BadBytes, NamesFileAndOffset) {
    const Cp932BadRow& row = GetParam();
    try {
        cp932ToUtf8(row.bytes, "/tmp/data/lotodata.txt");
        FAIL() << "no error";
    } catch (const TextEncodingError& e) {
        EXPECT_EQ(e.offset(), row.offset);
        EXPECT_EQ(e.fileName(), "/tmp/data/lotodata.txt");
        const std::string message = e.what();
        EXPECT_NE(message.find("/tmp/data/lotodata.txt"), std::string::npos) << message;
        EXPECT_NE(message.find("オフセット " + std::to_string(row.offset)), std::string::npos) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, Cp932BadBytes,
    ::testing::Values(Cp932BadRow{"ff_after_text", "ab\x91\xE6" "cd\xFF", 6},
                      Cp932BadRow{"bad_trail_byte", "x\x81\x20", 1},
                      Cp932BadRow{"byte_80", "\x80", 0},
                      Cp932BadRow{"lead_byte_cut_off", "abc\x91", 3}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Cp932Encode, CharacterOutsideCp932IsAnError) {
    // U+00E9 (é) has no cp932 code.
    EXPECT_THROW(utf8ToCp932("ok\xC3\xA9", "out.txt"), TextEncodingError);
    try {
        utf8ToCp932("ok\xC3\xA9", "out.txt");
    } catch (const TextEncodingError& e) {
        EXPECT_EQ(e.offset(), 2u);
    }
}
