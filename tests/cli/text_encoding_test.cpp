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

TEST(TextEncodingTest, HexAndJson) {
    EXPECT_EQ(HexBytes("\x83\x7E\x00z"), "837e");
    EXPECT_EQ(HexBytes(std::string("\x00\xff", 2)), "00ff");
    EXPECT_EQ(JsonString("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");
}

}  // namespace
}  // namespace korvane::cli
