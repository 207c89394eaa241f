#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/object_statistics.h"
#include "cli/text_encoding.h"

namespace korvane::cli {
namespace {

ObjectCounts Object(std::string name, std::uint32_t colour, std::int64_t points) {
    ObjectCounts s;
    s.name = std::move(name);
    s.colour = colour;
    s.controlPoints = points;
    return s;
}

DocumentCounts CountsOf(std::vector<ObjectCounts> objects) {
    DocumentCounts statistics;
    for (const ObjectCounts& s : objects) {
        statistics.totals.controlPoints += s.controlPoints;
    }
    statistics.objects = std::move(objects);
    return statistics;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The terminal column where the colour cell of a row starts: after the name and its padding.
int ColourColumn(const std::string& row) {
    const std::size_t at = row.find_first_of("#-c", row.find("  "));
    return DisplayWidth(row.substr(0, at));
}

TEST(StatisticsTableTest, ColumnsStayAlignedWhateverTheNames) {
    const std::vector<std::vector<ObjectCounts>> documents = {
        {Object("a", 0, 1)},
        {Object("body", 0, 12), Object("a much longer name than the total line", 0, 3)},
        {Object("\xE3\x83\x9F\xE3\x82\xAF\xE3\x81\xAE\xE9\xAB\xAA", 0, 5),  // ミクの髪, UTF-8
         Object("\x83\x7E\x83\x4E", 0, 6),                                  // ミク, Shift_JIS
         Object("\xEF\xBE\x90\xEF\xBD\xB8", 0, 7),                          // ﾐｸ, half-width
         Object("tab\there", 0, 8)},
    };
    for (const auto& objects : documents) {
        const DocumentCounts statistics = CountsOf(objects);
        const std::vector<std::string> lines = Lines(FormatStatisticsText(statistics, {}));
        ASSERT_EQ(lines.size(), objects.size() + 2);  // header, rows, total
        const int column = ColourColumn(lines[0]);
        const int width = DisplayWidth(lines[0]);
        for (const std::string& line : lines) {
            SCOPED_TRACE(line);
            EXPECT_EQ(line.find('\t'), std::string::npos);
            EXPECT_EQ(ColourColumn(line), column);
            EXPECT_EQ(DisplayWidth(line), width) << "the counts end in the same column";
        }
    }
}

TEST(StatisticsTableTest, TotalCountsObjectsInTheRightNumber) {
    struct Case {
        int objects;
        const char* total;
    };
    for (const Case c : {Case{0, "total (0 objects)"}, Case{1, "total (1 object) "},
                         Case{2, "total (2 objects)"}}) {
        const std::vector<ObjectCounts> objects(c.objects, Object("x", 0, 1));
        const std::string text = FormatStatisticsText(CountsOf(objects), {});
        EXPECT_NE(text.find(std::string("\n") + c.total), std::string::npos) << text;
    }
}

TEST(StatisticsTableTest, ColoursAsRgbWithRedInTheLowByte) {
    struct Case {
        std::uint32_t packed;  // 0x00BBGGRR
        const char* hex;
        const char* rgb;
    };
    const Case cases[] = {
        {0x0000FF, "#FF0000", "[255, 0, 0]"}, {0x00FF00, "#00FF00", "[0, 255, 0]"},
        {0xFF0000, "#0000FF", "[0, 0, 255]"}, {0x123456, "#563412", "[86, 52, 18]"},
        {0xFF000000, "#000000", "[0, 0, 0]"},  // the unused high byte is not a colour
    };
    for (const Case& c : cases) {
        const DocumentCounts statistics = CountsOf({Object("o", c.packed, 1)});
        const std::string text = FormatStatisticsText(statistics, {});
        EXPECT_NE(text.find(std::string("  ") + c.hex + "  "), std::string::npos) << text;
        const std::string json = FormatStatisticsJson(statistics, {});
        EXPECT_NE(json.find("\"colour\": " + std::to_string(c.packed) + ", \"rgb\": " + c.rgb),
                  std::string::npos)
            << json;
    }
}

}  // namespace
}  // namespace korvane::cli
