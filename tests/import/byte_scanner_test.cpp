#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "import/byte_scanner.h"

namespace korvane {
namespace {

TEST(ByteScannerTest, TokensAreRunsOfNonBlankBytes) {
    ByteScanner scanner(" \t\r\nObject\v\f\"a b\"{x}\n");
    EXPECT_EQ(scanner.ReadToken(), "Object");
    EXPECT_EQ(scanner.ReadToken(), "\"a");
    EXPECT_EQ(scanner.ReadToken(), "b\"{x}");
    EXPECT_EQ(scanner.ReadToken(), "");
    EXPECT_TRUE(scanner.AtEnd());
}

TEST(ByteScannerTest, LongTokenIsCutAndItsRestSkipped) {
    const std::string text = std::string(300, 'a') + " next";
    ByteScanner scanner(text);
    EXPECT_EQ(scanner.ReadToken(), std::string(127, 'a'));
    EXPECT_EQ(scanner.ReadToken(), "next");
}

TEST(ByteScannerTest, TokenPartStopsAtWidth) {
    ByteScanner scanner("  V(12 7)");
    EXPECT_EQ(scanner.ReadTokenPart(2), "V(");
    std::int32_t value = 0;
    EXPECT_TRUE(scanner.ReadInt(value));
    EXPECT_EQ(value, 12);
    EXPECT_TRUE(scanner.ReadInt(value));
    EXPECT_EQ(value, 7);
    EXPECT_EQ(scanner.ReadToken(), ")");
}

TEST(ByteScannerTest, IntegersTakeTheLongestDecimalPrefix) {
    ByteScanner scanner("-12 +7 3.9 42) 0x10");
    std::int32_t value = 0;
    const std::int32_t expected[] = {-12, 7, 3};
    for (std::int32_t number : expected) {
        ASSERT_TRUE(scanner.ReadInt(value));
        EXPECT_EQ(value, number);
    }
    EXPECT_EQ(scanner.ReadToken(), ".9");
    ASSERT_TRUE(scanner.ReadInt(value));
    EXPECT_EQ(value, 42);
    EXPECT_EQ(scanner.ReadToken(), ")");
    ASSERT_TRUE(scanner.ReadInt(value));
    EXPECT_EQ(value, 0);
    EXPECT_EQ(scanner.ReadToken(), "x10");
}

TEST(ByteScannerTest, IntegersBeyond32BitsSaturate) {
    ByteScanner scanner("99999999999 -99999999999");
    std::int32_t value = 0;
    ASSERT_TRUE(scanner.ReadInt(value));
    EXPECT_EQ(value, std::numeric_limits<std::int32_t>::max());
    ASSERT_TRUE(scanner.ReadInt(value));
    EXPECT_EQ(value, std::numeric_limits<std::int32_t>::min());
}

TEST(ByteScannerTest, FloatsAreRoundedLikeStrtof) {
    const char* const texts[] = {"0.1",
                                 "-2.5e-3",
                                 "16777217",
                                 "3.4028235e38",
                                 "1.17549435e-38",
                                 "7e-46",
                                 "+.5",
                                 "123456789012345678901234567890",
                                 "0.30000001192092895507812501",
                                 "1e-40"};
    for (const char* text : texts) {
        ByteScanner scanner(text);
        float value = 0.0f;
        ASSERT_TRUE(scanner.ReadFloat(value)) << text;
        EXPECT_EQ(value, std::strtof(text, nullptr)) << text;
        EXPECT_TRUE(scanner.AtEnd()) << text;
    }
}

TEST(ByteScannerTest, FloatsBeyondRangeBecomeInfinityOrZero) {
    ByteScanner scanner(
        "1e999 -1e999 1e-999 -0.000000000000000000000000000000000000000000000000001 "
        "100000000000000000000000000000000000000000000000000000");
    float value = 0.0f;
    ASSERT_TRUE(scanner.ReadFloat(value));
    EXPECT_EQ(value, std::numeric_limits<float>::infinity());
    ASSERT_TRUE(scanner.ReadFloat(value));
    EXPECT_EQ(value, -std::numeric_limits<float>::infinity());
    ASSERT_TRUE(scanner.ReadFloat(value));
    EXPECT_EQ(value, 0.0f);
    EXPECT_FALSE(std::signbit(value));
    ASSERT_TRUE(scanner.ReadFloat(value));
    EXPECT_EQ(value, 0.0f);
    EXPECT_TRUE(std::signbit(value));
    ASSERT_TRUE(scanner.ReadFloat(value));
    EXPECT_EQ(value, std::numeric_limits<float>::infinity());
}

TEST(ByteScannerTest, NanAndInfinityPassThrough) {
    ByteScanner scanner("nan -inf INF 1e5x");
    float value = 0.0f;
    ASSERT_TRUE(scanner.ReadFloat(value));
    EXPECT_TRUE(std::isnan(value));
    ASSERT_TRUE(scanner.ReadFloat(value));
    EXPECT_EQ(value, -std::numeric_limits<float>::infinity());
    ASSERT_TRUE(scanner.ReadFloat(value));
    EXPECT_EQ(value, std::numeric_limits<float>::infinity());
    ASSERT_TRUE(scanner.ReadFloat(value));
    EXPECT_EQ(value, 1e5f);
    EXPECT_EQ(scanner.ReadToken(), "x");
}

TEST(ByteScannerTest, FailedNumberGivesZeroAndLeavesItsBytes) {
    ByteScanner scanner("  }  +-3 - .");
    float value = 5.0f;
    EXPECT_FALSE(scanner.ReadFloat(value));
    EXPECT_EQ(value, 0.0f);
    std::int32_t integer = 5;
    EXPECT_FALSE(scanner.ReadInt(integer));
    EXPECT_EQ(integer, 0);
    EXPECT_EQ(scanner.ReadToken(), "}");
    EXPECT_FALSE(scanner.ReadFloat(value));
    EXPECT_EQ(scanner.ReadToken(), "+-3");
    EXPECT_FALSE(scanner.ReadFloat(value));
    EXPECT_EQ(scanner.ReadToken(), "-");
    EXPECT_FALSE(scanner.ReadFloat(value));
    EXPECT_EQ(scanner.ReadToken(), ".");
    EXPECT_FALSE(scanner.ReadFloat(value));
    EXPECT_TRUE(scanner.AtEnd());
}

TEST(ByteScannerTest, ByteReadsStopAtTheEnd) {
    ByteScanner scanner("a\xff\n b");
    EXPECT_EQ(scanner.ReadByte(), 'a');
    EXPECT_EQ(scanner.ReadByte(), 0xFF);
    scanner.SkipToLineFeed();
    EXPECT_EQ(scanner.ReadNonBlankByte(), 'b');
    EXPECT_EQ(scanner.ReadByte(), -1);
    EXPECT_EQ(scanner.ReadNonBlankByte(), -1);
    EXPECT_EQ(scanner.TakeBytes(10), "");
}

}  // namespace
}  // namespace korvane
