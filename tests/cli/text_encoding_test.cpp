#include <gtest/gtest.h>

#include "cli/text_encoding.h"

namespace korvane::cli {
namespace {

TEST(TextEncodingTest, Utf8Validation) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("\xE3\x83\x9F\xE3\x82\xAF"));  // ミク
    EXPECT_FALSE(IsValidUtf8("\x83\x7E\x83\x4E"));         // ミク in Shift_JIS
    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));                 // overlong NUL
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));             // surrogate
    EXPECT_FALSE(IsValidUtf8("\xE3\x83"));                 // cut short
}

TEST(TextEncodingTest, NamesDecodeFromShiftJisUnlessUtf8) {
    EXPECT_EQ(NameForReading("\x83\x7E\x83\x4E"), "\xE3\x83\x9F\xE3\x82\xAF");
    EXPECT_EQ(NameForReading("\xE3\x83\x9F"), "\xE3\x83\x9F");
    EXPECT_EQ(NameForReading("body"), "body");
    // A lone lead byte cannot be decoded; it becomes a replacement character, nothing is lost
    // silently and the result is still valid UTF-8.
    const std::string broken = NameForReading("a\x83");
    EXPECT_TRUE(IsValidUtf8(broken));
    EXPECT_EQ(broken.substr(0, 1), "a");
    EXPECT_GT(broken.size(), 1u);
}

TEST(TextEncodingTest, DisplayWidthCountsTerminalColumns) {
    struct Case {
        const char* text;
        int width;
    };
    const Case cases[] = {
        {"", 0},
        {"body", 4},
        {"\xE3\x83\x9F\xE3\x82\xAF", 4},  // ミク: wide
        {"\xEF\xBE\x90\xEF\xBD\xB8", 2},  // ﾐｸ: half-width katakana
        {"\xEF\xBC\xA1", 2},              // Ａ: full-width Latin
        {"\xEA\xB0\x80", 2},              // 가: Hangul
        {"e\xCC\x81", 1},                 // e and a combining acute accent
        {"\xE3\x81\x8B\xE3\x82\x99", 2},  // か and a combining voiced mark
        {"\xC3\xA9t\xC3\xA9", 3},         // été: two bytes, one column each
        {"\xF0\xA0\x80\x8B", 2},          // an ideograph beyond the first plane
        {"a\xFF\xFE", 3},                 // bytes that are no UTF-8 count one each
        {"\xE3\x83", 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DisplayWidth(c.text), c.width) << HexBytes(c.text);
    }
}

TEST(TextEncodingTest, HexAndJson) {
    EXPECT_EQ(HexBytes("\x83\x7E\x00z"), "837e");
    EXPECT_EQ(HexBytes(std::string("\x00\xff", 2)), "00ff");
    EXPECT_EQ(JsonString("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");
}

}  // namespace
}  // namespace korvane::cli
