#include "export/text_lines.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

// The number forms of the exported text files.

namespace korvane {
namespace {

TEST(TextLinesTest, DecimalsDropTrailingZerosAndKeepTheSign) {
    const std::pair<std::int64_t, const char*> millionths[] = {
        {0, "0"},           {1'000'000, "1"},          {-1'000'000, "-1"},   {-250'000, "-0.25"},
        {1, "0.000001"},    {-1, "-0.000001"},         {75'901, "0.075901"}, {908'663, "0.908663"},
        {1'500'000, "1.5"}, {-12'000'010, "-12.00001"}};
    for (const auto& [scaled, text] : millionths) {
        EXPECT_EQ(TextLines("\n").Decimal(scaled, 6).Take(), text) << scaled;
    }
    EXPECT_EQ(TextLines("\n").Decimal(std::numeric_limits<std::int64_t>::min(), 6).Take(),
              "-9223372036854.775808");
    EXPECT_EQ(TextLines("\n").Decimal(-7, 0).Take(), "-7");
}

// Floats come back from their text exactly, in the shortest form that does so; what is not a
// finite number is written as 0.
TEST(TextLinesTest, NumbersAreTheShortestTextOfTheirFloat) {
    const std::pair<float, const char*> floats[] = {
        {0.1f, "0.1"},    {-0.0f, "-0"},           {6.6f, "6.6"},
        {1e-7f, "1e-07"}, {-44.9997f, "-44.9997"}, {16777216.0f, "16777216"}};
    for (const auto& [value, text] : floats) {
        EXPECT_EQ(TextLines("\n").Number(value).Take(), text) << text;
    }
    EXPECT_EQ(TextLines("\r\n").Integer(-3).Space().Text("a").End().Line("b").Take(),
              "-3 a\r\nb\r\n");
}

}  // namespace
}  // namespace korvane
