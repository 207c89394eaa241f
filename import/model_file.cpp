#include "import/model_file.h"

#include <filesystem>
#include <utility>

#include "import/lightwave_reader.h"
#include "import/metasequoia_reader.h"
#include "import/rvp_reader.h"

namespace korvane {
namespace {

std::string FileTitle(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

ImportReport ReportOf(ImportResult result, ModelFormat format, std::string detail = {}) {
    ImportReport report;
    report.status = result.status;
    report.format = format;
    report.warnings = WarningsOf(result);
    report.detail = std::move(detail);
    report.archiveModelRead = std::move(result.archiveModelRead);
    report.objectsAdded = result.objectsAdded;
    return report;
}

ImportReport ReadThroughAssimp(const std::string& path, ObjectSink& sink,
                               const AssimpImportOptions& options) {
    std::string detail;
    ImportResult result = ImportThroughAssimp(path, sink, options, &detail);
    return ReportOf(std::move(result), ModelFormat::kUnknown, std::move(detail));
}

ImportReport ReadRuvoPatch(std::string_view bytes, ObjectSink& sink) {
    RvpReadResult read = ImportRvpBytes(bytes, sink);
    ImportReport report;
    report.format = ModelFormat::kRuvoPatch;
    report.status = read.error.empty() ? ImportStatus::kImported : ImportStatus::kMalformed;
    report.detail = std::move(read.error);
    report.objectsAdded = read.objectsAdded;
    return report;
}

ModelFormat FormatFor(ModelReader reader, std::string_view bytes) {
    switch (reader) {
        case ModelReader::kMetasequoia:
            return ModelFormat::kMetasequoia;
        case ModelReader::kLightWave:
            return ModelFormat::kLightWave;
        case ModelReader::kAssimp:
            return ModelFormat::kUnknown;
        case ModelReader::kByContent:
            break;
    }
    return DetectModelFormat(bytes);
}

}  // namespace

ImportReport ImportModelFile(const std::string& path, ObjectSink& sink,
                             const ImportOptions& options) {
    // assimp opens the file itself, in its helper, which refuses what is not a regular file.
    if (options.reader == ModelReader::kAssimp) {
        return ReadThroughAssimp(path, sink, options.assimp);
    }
    std::string bytes;
    if (const FileRead read = ReadFileBytes(path, bytes); read.status != FileReadStatus::kRead) {
        ImportReport report;
        report.status = ImportStatusOf(read);
        report.format = FormatFor(options.reader, {});
        report.file = read;
        return report;
    }
    switch (const ModelFormat format = FormatFor(options.reader, bytes)) {
        case ModelFormat::kMetasequoia:
            return ReportOf(ImportMetasequoiaBytes(bytes, sink), format);
        case ModelFormat::kLightWave:
            return ReportOf(ImportLightWaveBytes(bytes, FileTitle(path), sink), format);
        case ModelFormat::kRuvoPatch:
            return ReadRuvoPatch(bytes, sink);
        case ModelFormat::kUnknown:
            break;
    }
    std::string().swap(bytes);  // assimp reads the file itself: no need to hold it twice
    return ReadThroughAssimp(path, sink, options.assimp);
}

}  // namespace korvane
