#include "export/spline_patch_formats.h"

#include <algorithm>
#include <cctype>

#include "export/animation_master_writer.h"
#include "export/spatch_writer.h"

namespace korvane {

std::optional<SplinePatchFormat> SplinePatchFormatOf(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) {
        return std::nullopt;
    }
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "mdl") {
        return SplinePatchFormat::kAnimationMaster;
    }
    if (extension == "spt") {
        return SplinePatchFormat::kSPatch;
    }
    return std::nullopt;
}

WriteResult WriteSplinePatchFile(const std::string& path, const ObjectList<PatchObject>& objects,
                                 SplinePatchFormat format) {
    return format == SplinePatchFormat::kAnimationMaster ? WriteAnimationMasterFile(path, objects)
                                                         : WriteSPatchFile(path, objects);
}

}  // namespace korvane
