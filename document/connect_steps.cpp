#include "document/connect_steps.h"

#include <charconv>

namespace korvane {

std::int32_t ExaminedIn(std::string_view text, const std::string& name) {
    std::int32_t examined = 0;
    if (text.size() > name.size() + 1) {
        std::from_chars(text.data() + name.size() + 1, text.data() + text.size(), examined);
    }
    return examined;
}

}  // namespace korvane
