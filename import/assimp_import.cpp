#include "import/assimp_import.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <limits>

#include "import/assimp_process.h"
#include "import/finish_object.h"
#include "import/metasequoia_object.h"

namespace korvane {
namespace {

constexpr const char* kHelperName = "korvane-assimp";

bool Executable(const std::filesystem::path& path) {
    return ::access(path.c_str(), X_OK) == 0 && !std::filesystem::is_directory(path);
}

// Whether this process may read the file, and it is a regular one (not a folder, a device or a
// pipe, on which the helper would wait until its time ran out); without blocking on a pipe.
ImportStatus OpenStatus(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return ImportStatus::kCannotOpen;
    }
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return regular ? ImportStatus::kImported : ImportStatus::kNotRegularFile;
}

std::string MiB(std::uint64_t bytes) {
    return std::to_string(bytes >> 20) + " MiB";
}

std::string Seconds(std::chrono::milliseconds time) {
    const auto ms = time.count();
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

std::size_t OutputLimit(std::uint64_t memoryLimit) {
    // The hand-back cannot be larger than the memory the helper was allowed to build it in, nor
    // than the budget of one import allows.
    const std::uint64_t limit =
        memoryLimit == 0 ? HandBackByteLimit() : std::min(memoryLimit, HandBackByteLimit());
    return static_cast<std::size_t>(
        std::min<std::uint64_t>(limit, std::numeric_limits<std::size_t>::max()));
}

struct HelperOutcome {
    ImportStatus status = ImportStatus::kImported;
    std::string detail;
};

// What the helper's end says; kImported when it exited normally with a hand-back to decode.
HelperOutcome Classify(const HelperRun& run, const AssimpImportOptions& options) {
    switch (run.end) {
        case HelperRun::End::kCannotStart:
            return {ImportStatus::kImporterMissing,
                    "the assimp helper could not run: " + run.error};
        case HelperRun::End::kTimedOut:
            return {
                ImportStatus::kImporterTimedOut,
                "assimp did not finish within " + Seconds(options.timeout) + " and was stopped"};
        case HelperRun::End::kTooMuchOutput:
            return {ImportStatus::kImporterOutOfMemory, "assimp handed back more than " +
                                                            MiB(OutputLimit(options.memoryLimit)) +
                                                            " and was stopped"};
        case HelperRun::End::kSignalled: {
            // sigdescr_np, unlike strsignal, is safe on the desktop's worker thread.
            const char* name = ::sigdescr_np(run.signal);
            return {ImportStatus::kImporterCrashed, "assimp crashed (signal " +
                                                        std::to_string(run.signal) + ", " +
                                                        (name != nullptr ? name : "unknown") + ")"};
        }
        case HelperRun::End::kExited:
            break;
    }
    if (run.exitCode == kHelperExitOutOfMemory) {
        return {
            ImportStatus::kImporterOutOfMemory,
            "assimp needed more than " + MiB(options.memoryLimit) + " of memory and was stopped"};
    }
    if (run.exitCode != 0) {
        return {ImportStatus::kImporterCrashed,
                "the assimp helper failed with exit status " + std::to_string(run.exitCode)};
    }
    return {};
}

void FillMesh(const HandBackMesh& source, float scale, PolyMesh& mesh) {
    mesh.name.assign(source.name);
    if (source.hasMaterial) {
        mesh.colour =
            PackMetasequoiaColour(source.diffuse[0], source.diffuse[1], source.diffuse[2]);
    }
    mesh.SetVertexCount(static_cast<std::int32_t>(source.vertexCount));
    for (std::uint32_t v = 0; v < source.vertexCount; ++v) {
        float p[3];
        HandBackPosition(source, v, p);
        mesh.positions[static_cast<std::int32_t>(v)].Set(scale * p[0], scale * p[1],
                                                         -(scale * p[2]));
    }
    mesh.SetFaceCount(static_cast<std::int32_t>(source.faceCount));
    std::uint32_t next = 0;
    for (std::uint32_t f = 0; f < source.faceCount; ++f) {
        MeshFace& face = mesh.faces[static_cast<std::int32_t>(f)];
        face.cornerCount = static_cast<std::int32_t>(HandBackCornerCount(source, f));
        for (std::int32_t k = 0; k < face.cornerCount; ++k) {
            const auto corner = static_cast<std::int32_t>(HandBackCorner(source, next++));
            if (k < 4) {
                face.corners[k] = corner;
            }
            if (face.cornerCount > 4) {
                mesh.outlineCorners.push_back(corner);
            }
        }
    }
    mesh.SplitFaces();
}

void AddCapped(std::int32_t& total, std::int32_t added) {
    const std::int32_t room = std::numeric_limits<std::int32_t>::max() - total;
    total += added < room ? added : room;
}

std::string HelperFor(const AssimpImportOptions& options) {
    return options.helperPath.empty() ? FindAssimpHelper() : options.helperPath;
}

}  // namespace

ImportResult ImportThroughAssimp(const std::string& path, ObjectSink& sink,
                                 const AssimpImportOptions& options, std::string* detail) {
    ImportResult result;
    std::string why;
    if (const ImportStatus opened = OpenStatus(path); opened != ImportStatus::kImported) {
        result.status = opened;
    } else if (const std::string helper = HelperFor(options); helper.empty()) {
        result.status = ImportStatus::kImporterMissing;
        why = std::string("the assimp helper ") + kHelperName + " is not installed";
    } else {
        const HelperRun run =
            RunHelper(helper, {"--memory-limit", std::to_string(options.memoryLimit), "--", path},
                      options.timeout, OutputLimit(options.memoryLimit));
        HelperOutcome outcome = Classify(run, options);
        if (outcome.status == ImportStatus::kImported) {
            return ImportHandBack(run.output, std::filesystem::path(path).stem().string(),
                                  options.scale, sink, detail);
        }
        result.status = outcome.status;
        why = std::move(outcome.detail);
    }
    if (detail != nullptr) {
        *detail = std::move(why);
    }
    return result;
}

ImportResult ImportHandBack(std::string_view bytes, const std::string& title, float scale,
                            ObjectSink& sink, std::string* detail, const HandBackBudget& budget) {
    ImportResult result;
    std::string why;
    const HandBack handBack = DecodeHandBack(bytes, budget);
    result.sideFilesRefused = static_cast<std::int32_t>(handBack.sideFilesRefused.size());
    for (const std::string_view line : handBack.sideFilesRefused) {
        (why += why.empty() ? "" : "; ") += line;
    }
    if (!handBack.error.empty()) {
        result.status = ImportStatus::kImporterCrashed;
        why = "the assimp helper handed back damaged data: " + handBack.error;
    } else if (handBack.refused) {
        result.status = ImportStatus::kAssimpRefused;
        (why += why.empty() ? "" : "; ") += handBack.refusal;
    } else if (handBack.tooLarge) {
        result.status = ImportStatus::kImporterOutOfMemory;
        (why += why.empty() ? "" : "; ") += handBack.overBudget;
    } else {
        for (const HandBackMesh& source : handBack.meshes) {
            PolyMesh mesh;
            FillMesh(source, scale, mesh);
            if (mesh.name.empty()) {
                mesh.name = title;
            }
            const FinishedObject finished = FinishObject(mesh, sink);
            AddCapped(result.droppedFaces, finished.droppedFaces);
            AddCapped(result.outlineFaces, finished.outlineFaces);
            ++result.objectsAdded;
        }
    }
    if (detail != nullptr) {
        *detail = std::move(why);
    }
    return result;
}

std::vector<std::string> AssimpExtensions(const AssimpImportOptions& options) {
    std::vector<std::string> extensions;
    const std::string helper = HelperFor(options);
    if (helper.empty()) {
        return extensions;
    }
    const HelperRun run =
        RunHelper(helper, {"--extensions"}, options.timeout, OutputLimit(options.memoryLimit));
    if (run.end != HelperRun::End::kExited || run.exitCode != 0) {
        return extensions;
    }
    const HandBack handBack = DecodeHandBack(run.output);
    std::string_view rest = handBack.extensions;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find(';'), rest.size());
        std::string item(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
        for (char& c : item) {
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
        if (!item.empty()) {
            extensions.push_back(std::move(item));
        }
    }
    return extensions;
}

std::string FindAssimpHelper() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const auto beside = self.parent_path() / kHelperName;
        if (Executable(beside)) {
            return beside.string();
        }
    }
#ifdef KORVANE_ASSIMP_HELPER_BUILD_PATH
    if (Executable(KORVANE_ASSIMP_HELPER_BUILD_PATH)) {
        return KORVANE_ASSIMP_HELPER_BUILD_PATH;
    }
#endif
    return {};
}

}  // namespace korvane
