#pragma once

namespace korvane {

// The language of the menus and messages, chosen at the first start.
enum class Language { kJapanese, kEnglish };

}  // namespace korvane
