#include "app/display_name.h"

#include "import/object_name_text.h"

namespace korvane {

QString DisplayName(const std::string& bytes) {
    return QString::fromStdString(NameForReading(bytes));
}

}  // namespace korvane
