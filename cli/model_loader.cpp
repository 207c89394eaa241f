#include "cli/model_loader.h"

#include <cstring>
#include <filesystem>
#include <new>
#include <stdexcept>

#include "cli/text_encoding.h"
#include "import/file_bytes.h"
#include "import/lightwave_reader.h"
#include "import/metasequoia_reader.h"
#include "import/model_format.h"
#include "import/mqoz_archive.h"
#include "import/rvp_reader.h"

namespace korvane::cli {
namespace {

std::string WhyUnreadable(const FileRead& read) {
    switch (read.status) {
        case FileReadStatus::kNotRegularFile:
            switch (read.kind) {
                case FileKind::kFolder:
                    return "is a folder, not a model file";
                case FileKind::kPipe:
                    return "cannot be read: a pipe (FIFO), not a regular file";
                case FileKind::kSocket:
                    return "cannot be read: a socket, not a regular file";
                default:
                    return "cannot be read: a device, not a regular file";
            }
        case FileReadStatus::kTooLarge:
            return "cannot be read: larger than a model file can be";
        default:
            return std::string("cannot be read: ") + std::strerror(read.systemError);
    }
}

std::string FileTitle(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

void AddWarnings(const std::string& path, const ImportResult& result,
                 std::vector<std::string>& messages) {
    if (result.droppedFaces > 0) {
        messages.push_back(path + ": " + std::to_string(result.droppedFaces) +
                           " faces that name vertices the object does not have were left out");
    }
    if (result.lathesLeftOut > 0) {
        messages.push_back(path + ": " + std::to_string(result.lathesLeftOut) +
                           " objects were kept without their lathe, which would not fit in memory");
    }
    if (result.mirrorsLeftOut > 0) {
        messages.push_back(path + ": " + std::to_string(result.mirrorsLeftOut) +
                           " objects were kept without their mirror, whose mode is not 0, 1 or 2");
    }
    if (result.truncated) {
        messages.push_back(path +
                           ": the file ends early; what it held before the end was imported");
    }
    if (result.outlineFaces > 0) {
        messages.push_back(path + ": " + std::to_string(result.outlineFaces) +
                           " faces with more than four corners were kept as outlines without "
                           "patches");
    }
    if (result.archiveModels > 1) {
        messages.push_back(path + ": the archive holds " + std::to_string(result.archiveModels) +
                           " Metasequoia (.mqo) files; only " +
                           NameForReading(result.archiveModelRead) + " was read");
    }
    if (result.vertexBlocksMismatched > 0) {
        messages.push_back(path + ": " + std::to_string(result.vertexBlocksMismatched) +
                           " binary vertex blocks hold another number of vertices than they "
                           "declare; only the whole vertices that both allow were read");
    }
}

// Why a file of a known kind gave no model, in one line.
std::string WhyNotImported(ImportStatus status) {
    switch (status) {
        case ImportStatus::kArchiveWithoutModel:
            return "a zip archive with no Metasequoia (.mqo) file in it";
        case ImportStatus::kArchiveDamaged:
            return "a damaged zip archive (cut short or corrupt), or its .mqo file is encrypted "
                   "or packed by a method that cannot be read";
        case ImportStatus::kArchiveTooLarge:
            return "the .mqo file in this zip archive unpacks to more than " +
                   std::to_string(kMqozLimits.maxBytes >> 20) + " MiB or more than " +
                   std::to_string(kMqozLimits.maxRatio) +
                   " times its packed size (a zip bomb?); it was not read";
        case ImportStatus::kArchiveTooManyMembers:
            return "a zip archive of more than " + std::to_string(kMaxArchiveMembers) +
                   " files, not a model archive; it was not read";
        default:
            return "not a readable model file";
    }
}

// A line of assimp's, or of the helper's, as part of one line of ours.
std::string OneLine(std::string text) {
    for (char& c : text) {
        c = c == '\n' || c == '\r' ? ' ' : c;
    }
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

// Reads a file of no kind of our own through assimp; returns why it cannot, or nothing.
std::string LoadThroughAssimp(const std::string& path, ObjectStore& store,
                              const AssimpImportOptions& options,
                              std::vector<std::string>& messages) {
    std::string detail;
    const ImportResult result = ImportThroughAssimp(path, store, options, &detail);
    switch (result.status) {
        case ImportStatus::kImported:
            AddWarnings(path, result, messages);
            if (result.sideFilesRefused > 0) {
                messages.push_back(path + ": " + OneLine(detail) +
                                   "; the model was imported without them");
            }
            return {};
        case ImportStatus::kAssimpRefused:
            if (result.sideFilesRefused > 0) {
                return "assimp could not read it: " + OneLine(detail);
            }
            return "not a Metasequoia (.mqo), LightWave (.lwo) or ruvoPatch (.rvp) file, and "
                   "assimp does not read it: " +
                   OneLine(detail);
        case ImportStatus::kCannotOpen:
            return "cannot be read";  // it could a moment before: changed meanwhile
        case ImportStatus::kNotRegularFile:
            return "cannot be read: not a regular file";  // it was one a moment before
        default:
            return OneLine(detail) + "; nothing was imported from it";
    }
}

// Imports one file's bytes by their kind; returns why it cannot, or nothing.
std::string LoadModel(const std::string& path, std::string& bytes, ObjectStore& store,
                      const AssimpImportOptions& assimp, std::vector<std::string>& messages) {
    ImportResult result;
    switch (DetectModelFormat(bytes)) {
        case ModelFormat::kMetasequoia:
            result = ImportMetasequoiaBytes(bytes, store);
            break;
        case ModelFormat::kLightWave:
            result = ImportLightWaveBytes(bytes, FileTitle(path), store);
            break;
        case ModelFormat::kRuvoPatch: {
            const RvpReadResult read = ImportRvpBytes(bytes, store);
            return read.error.empty() ? std::string()
                                      : "not a readable ruvoPatch file: " + read.error;
        }
        case ModelFormat::kUnknown:
            bytes = {};  // assimp reads the file itself
            return LoadThroughAssimp(path, store, assimp, messages);
    }
    if (result.status != ImportStatus::kImported) {
        return WhyNotImported(result.status);
    }
    AddWarnings(path, result, messages);
    return {};
}

// LoadModel, except that a model too big for the memory left fails like a malformed one and
// leaves the store as it was before it.
std::string LoadModelWithinMemory(const std::string& path, std::string& bytes, ObjectStore& store,
                                  const AssimpImportOptions& assimp,
                                  std::vector<std::string>& messages) {
    const std::int32_t before = store.objects.GetCount();
    try {
        return LoadModel(path, bytes, store, assimp, messages);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    bytes = {};
    store.DeleteObjectsAfter(before);
    return "the model does not fit in the memory left; nothing was imported from it";
}

}  // namespace

LoadOutcome LoadModels(const std::vector<std::string>& paths, ObjectStore& store,
                       const AssimpImportOptions& assimp) {
    LoadOutcome outcome;
    for (const std::string& path : paths) {
        std::string bytes;
        if (const FileRead read = ReadFileBytes(path, bytes);
            read.status != FileReadStatus::kRead) {
            outcome.ok = false;
            outcome.failure = path + ": " + WhyUnreadable(read);
            return outcome;
        }
        const std::string reason =
            LoadModelWithinMemory(path, bytes, store, assimp, outcome.messages);
        if (!reason.empty()) {
            outcome.ok = false;
            outcome.failure = path + ": " + reason;
            return outcome;
        }
    }
    return outcome;
}

}  // namespace korvane::cli
