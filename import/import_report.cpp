#include "import/import_report.h"

namespace korvane {

std::int32_t ImportReport::Count(ImportWarningKind kind) const {
    for (const ImportWarning& warning : warnings) {
        if (warning.kind == kind) {
            return warning.count;
        }
    }
    return 0;
}

std::vector<ImportWarning> WarningsOf(const ImportResult& result) {
    const std::pair<ImportWarningKind, std::int32_t> counts[] = {
        {ImportWarningKind::kDroppedFaces, result.droppedFaces},
        {ImportWarningKind::kLathesLeftOut, result.lathesLeftOut},
        {ImportWarningKind::kMirrorsLeftOut, result.mirrorsLeftOut},
        {ImportWarningKind::kTruncated, result.truncated ? 1 : 0},
        {ImportWarningKind::kOutlineFaces, result.outlineFaces},
        // One model in an archive is what an archive holds: only more are worth a word.
        {ImportWarningKind::kOtherArchiveModels,
         result.archiveModels > 1 ? result.archiveModels : 0},
        {ImportWarningKind::kVertexBlocksMismatched, result.vertexBlocksMismatched},
        {ImportWarningKind::kSideFilesRefused, result.sideFilesRefused},
    };
    std::vector<ImportWarning> warnings;
    for (const auto& [kind, count] : counts) {
        if (count > 0) {
            warnings.push_back({kind, count});
        }
    }
    return warnings;
}

}  // namespace korvane
