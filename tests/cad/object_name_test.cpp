#include "export/cad/object_name.h"

#include <gtest/gtest.h>

#include <string>

namespace korvane {
namespace {

struct NameCase {
    const char* label;
    std::string bytes;
    std::size_t place;
    std::string expected;  // UTF-8
};

// Names reach the file as UTF-8 whatever code page the model held them in.
TEST(CadObjectNameTest, NamesBecomeUtf8WithoutControlCharacters) {
    const NameCase cases[] = {
        {"ASCII", "head", 0, "head"},
        {"UTF-8 stays as it is", "ミク", 0, "ミク"},
        {"Shift_JIS", "\x83\x7E\x83\x4E", 0, "ミク"},
        {"half-width katakana, single Shift_JIS bytes", "\xB6\xB0\xCC\xDE", 0, "ｶｰﾌﾞ"},
        {"a byte Shift_JIS does not use", "a\x80z", 0, "a\xEF\xBF\xBDz"},
        {"a lead byte cut off at the end", "ab\x83", 0, "ab\xEF\xBF\xBD"},
        {"control characters", "a\tb\nc\x7F", 0, "a_b_c_"},
        {"empty, third in the document", "", 2, "object3"},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(CadObjectName(c.bytes, c.place), c.expected) << c.label;
    }
}

}  // namespace
}  // namespace korvane
