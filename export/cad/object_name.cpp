#include "export/cad/object_name.h"

#include "import/object_name_text.h"

namespace korvane {

std::string CadObjectName(std::string_view bytes, std::size_t place) {
    if (bytes.empty()) {
        return "object" + std::to_string(place + 1);
    }
    std::string name = NameForReading(bytes);
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '_';
        }
    }
    return name;
}

}  // namespace korvane
