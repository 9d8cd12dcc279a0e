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

// UTF-16 with a byte-order mark, in either byte order, as UTF-8; "ロト６" is
// U+30ED U+30C8 U+FF16, "😀" a surrogate pair.
TEST(TextBytes, Utf16WithAMarkIsDecoded) {
    const std::string le("\xFF\xFE" "[\0\xED\x30\xC8\x30\x16\xFF]\0\r\0\n\0" "1\0,\0" "\x3D\xD8\x00\xDE", 24);
    const std::string be("\xFE\xFF" "\0[\x30\xED\x30\xC8\xFF\x16\0]\0\r\0\n" "\0" "1\0,\xD8\x3D\xDE\x00", 24);
    EXPECT_EQ(textBytesOf(le, "u.txt"), "[ロト６]\r\n1,\xF0\x9F\x98\x80");
    EXPECT_EQ(textBytesOf(be, "u.txt"), "[ロト６]\r\n1,\xF0\x9F\x98\x80");
    EXPECT_EQ(decodeText(le, "u.txt"), "[ロト６]\r\n1,\xF0\x9F\x98\x80");
    EXPECT_EQ(textBytesOf(std::string("\xFF\xFE", 2), "u.txt"), "");
    // Text without NUL bytes is left exactly as it was.
    EXPECT_EQ(textBytesOf("\x83\x8D 1,2\r\n", "u.txt"), "\x83\x8D 1,2\r\n");
}

struct NotTextRow {
    const char* name;
    std::string bytes;
    std::size_t offset;
};

class NotText : public ::testing::TestWithParam<NotTextRow> {};

// What cannot be text is refused with the file's name and where, never
// read as something else.
TEST_P(NotText, IsRefusedNamingTheFile) {
    const NotTextRow& row = GetParam();
    for (const bool decode : {false, true}) {
        try {
            if (decode)
                (void)decodeText(row.bytes, "/data/list.csv");
            else
                (void)textBytesOf(row.bytes, "/data/list.csv");
            FAIL() << "no error";
        } catch (const TextEncodingError& e) {
            EXPECT_EQ(e.offset(), row.offset);
            EXPECT_NE(std::string(e.what()).find("「/data/list.csv」"), std::string::npos) << e.what();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, NotText,
    ::testing::Values(NotTextRow{"utf16le_without_mark", std::string("1\0,\0" "2\0", 6), 1},
                      NotTextRow{"binary", std::string("PK\x03\x04\0\0", 6), 4},
                      NotTextRow{"utf16_cut_off", std::string("\xFF\xFE" "1\0" "2", 5), 4},
                      NotTextRow{"utf16_lone_surrogate", std::string("\xFF\xFE" "1\0\x3D\xD8" "2\0", 8), 4},
                      NotTextRow{"utf16_nul_character", std::string("\xFF\xFE" "1\0\0\0", 6), 4},
                      NotTextRow{"utf32le_with_mark", std::string("\xFF\xFE\0\0" "1\0\0\0", 8), 2}),
    [](const auto& row) { return std::string(row.param.name); });
