// korvane-assimp: reads one model file through assimp and hands its welded meshes back to Korvane
// on file descriptor 3, in the layout of import/assimp_handback.h. Korvane starts it for every
// file that is not of its own kinds, so that a crash, an endless loop or a runaway allocation in a
// third-party parser ends this process and never the document. assimp opens only regular files
// in the model's folder (model_folder_io.h), and a model beyond the hand-back budget is refused,
// as a whole, with a line that says by how much.
//
//   korvane-assimp [--memory-limit BYTES] [--] FILE
//   korvane-assimp --extensions
//
// Exit status 0 after a whole hand-back (a refusal is one), kHelperExitOutOfMemory when an
// allocation failed under the memory limit, 2 for wrong usage or a pipe that cannot be written.
// KORVANE_ASSIMP_FAULT makes it misbehave on purpose, for the tests of Korvane's guards: "abort"
// or "hang" after the meshes but before the end record, "hog" allocates until the limit stops it,
// "garbage" hands back bytes that are no hand-back. KORVANE_ASSIMP_BUDGET lowers the budget for
// the tests of it: "MESHES VERTICES FACES CORNERS NAME_BYTES", each number used only when it is
// below the default.

#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <assimp/Importer.hpp>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "import/assimp_handback.h"
#include "import/assimp_weld.h"
#include "tools/assimp_import/model_folder_io.h"
#include "tools/assimp_import/placed_meshes.h"
#include "tools/assimp_import/scene_budget.h"

namespace {

using namespace korvane;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// Writes everything or ends the process: a parent that stopped reading has given up on us.
void WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(kHandBackFd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            ::_exit(2);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

// Without destructors: freeing the scene costs time and the parent waits for the exit.
[[noreturn]] void Finish(std::string_view bytes) {
    WriteAll(bytes);
    ::close(kHandBackFd);
    ::_exit(0);
}

void OutOfMemory() {
    ::_exit(kHelperExitOutOfMemory);
}

// The limit covers the address space: a failing allocation calls OutOfMemory before assimp could
// catch the exception and call it a malformed file. The sanitizers reserve terabytes of address
// space for themselves and cannot run under such a limit.
void LimitResources(std::uint64_t memoryLimit) {
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    if (memoryLimit > 0 && !kSanitized) {
        const rlimit space{memoryLimit, memoryLimit};
        ::setrlimit(RLIMIT_AS, &space);
    }
    std::set_new_handler(OutOfMemory);
}

// Deliberate faults for the tests; see the comment at the top.
std::string_view Fault() {
    const char* fault = std::getenv("KORVANE_ASSIMP_FAULT");
    return fault != nullptr ? fault : "";
}

HandBackBudget Budget() {
    HandBackBudget budget;
    const char* text = std::getenv("KORVANE_ASSIMP_BUDGET");
    std::string_view rest = text != nullptr ? text : "";
    for (std::uint64_t* field :
         {&budget.meshes, &budget.vertices, &budget.faces, &budget.corners, &budget.nameBytes}) {
        rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
        std::uint64_t value = 0;
        const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
        if (error != std::errc()) {
            break;
        }
        *field = std::min(*field, value);
        rest.remove_prefix(static_cast<std::size_t>(end - rest.data()));
    }
    return budget;
}

void HogMemory(std::uint64_t memoryLimit) {
    std::vector<char*> blocks;
    for (std::uint64_t taken = 0; taken <= 2 * memoryLimit; taken += 64u << 20) {
        blocks.push_back(new char[64u << 20]);
    }
    ::_exit(3);  // the limit did not hold
}

// The material's diffuse colour, or none for a material that assimp made up for a file without
// one: named AI_DEFAULT_MATERIAL_NAME (OBJ, STL, a scene without materials) or not named at all
// (PLY, OFF, DirectX; a DirectX file's own nameless materials get numbered names).
bool DiffuseColour(const aiScene& scene, const aiMesh& mesh, float rgb[3]) {
    if (mesh.mMaterialIndex >= scene.mNumMaterials) {
        return false;
    }
    const aiMaterial& material = *scene.mMaterials[mesh.mMaterialIndex];
    aiString name;
    aiColor4D colour;
    if (material.Get(AI_MATKEY_NAME, name) != AI_SUCCESS || name.length == 0 ||
        std::string_view(name.C_Str()) == AI_DEFAULT_MATERIAL_NAME ||
        material.Get(AI_MATKEY_COLOR_DIFFUSE, colour) != AI_SUCCESS) {
        return false;
    }
    rgb[0] = colour.r;
    rgb[1] = colour.g;
    rgb[2] = colour.b;
    return true;
}

// glTF holds triangles only. A file that declares FB_ngon_encoding (assimp's own exporter writes
// it for the polygons it triangulates) marks each polygon as a fan of consecutive triangles with
// the same first index; assimp 5.2 reads them as plain triangles, and MeshWriter joins the fans
// again, so that a quad of such a file stays a quad.
bool DeclaresNgonFans(const char* path) {
    static constexpr std::string_view kMarker = "\"FB_ngon_encoding\"";
    std::ifstream in(path, std::ios::binary);
    char head[20] = {};
    in.read(head, sizeof head);
    const std::string_view start(head, static_cast<std::size_t>(in.gcount()));
    std::uint64_t limit = UINT64_MAX;  // a text glTF is JSON to its end
    if (start.size() == sizeof head && start.starts_with("glTF") && start.substr(16) == "JSON") {
        std::uint32_t length = 0;  // a binary glTF's JSON chunk
        std::memcpy(&length, head + 12, sizeof length);
        limit = length;
    } else if (const std::size_t first = start.find_first_not_of(" \t\r\n");
               first == std::string_view::npos || start[first] != '{') {
        return false;
    }
    // A block at a time, keeping the end of the last in case the marker straddles two.
    std::string window(start.starts_with("glTF") ? std::string_view() : start);
    std::vector<char> block(1 << 20);
    while (window.find(kMarker) == std::string::npos) {
        window.erase(0, window.size() - std::min(window.size(), kMarker.size() - 1));
        in.read(block.data(),
                static_cast<std::streamsize>(std::min<std::uint64_t>(block.size(), limit)));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0) {
            return false;
        }
        limit -= got;
        window.append(block.data(), got);
    }
    return true;
}

// The longest text the helper writes: the side files and the refusal of one import stay within
// the budget's text bytes.
constexpr std::size_t kMaxTextBytes = 4096;
static_assert((ModelFolderIOSystem::kMaxRefusals + 1) * (kMaxTextBytes + 5) <=
              kHandBackBudget.textBytes);

void AppendText(std::string& out, char tag, std::string_view text) {
    if (text.size() > kMaxTextBytes) {
        text = text.substr(0, kMaxTextBytes);
        while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) {
            text.remove_suffix(1);  // not inside a UTF-8 sequence
        }
    }
    AppendHandBackText(out, tag, text);
}

class MeshWriter {
  public:
    MeshWriter(const aiScene& scene, bool ngonFans, const HandBackBudget& budget)
        : scene_(scene), ngonFans_(ngonFans), budget_(budget) {
        AppendHandBackHeader(out_);
    }

    // Every placed mesh, until the vertices would go beyond the budget: then a 'T' record says so.
    void AllMeshes() {
        ForEachPlacedMesh(
            scene_, *scene_.mRootNode, aiMatrix4x4(),
            [this](unsigned index, const aiMatrix4x4& transform, const aiString& name) {
                if (overBudget_) {
                    return;
                }
                Mesh(*scene_.mMeshes[index], transform, name);
            });
    }

    std::uint32_t meshCount() const { return meshes_; }
    std::string& bytes() { return out_; }

  private:
    // One mesh instance: the vertices its lines and faces use, transformed and welded.
    void Mesh(const aiMesh& mesh, const aiMatrix4x4& transform, const aiString& name) {
        const unsigned vertexCount = mesh.mNumVertices;
        std::vector<std::uint32_t> compact(vertexCount, UINT32_MAX);
        counts_.clear();
        corners_.clear();
        ForEachPolygon(
            mesh, ngonFans_,
            [&](const aiFace& face) {
                for (unsigned k = 0; k < face.mNumIndices; ++k) {
                    compact[face.mIndices[k]] = 0;
                }
                counts_.push_back(face.mNumIndices);
                corners_.insert(corners_.end(), face.mIndices, face.mIndices + face.mNumIndices);
            },
            [&](unsigned corner) {
                compact[corner] = 0;
                corners_.push_back(corner);
                ++counts_.back();
            });
        if (counts_.empty()) {
            return;
        }
        xyz_.clear();
        std::uint32_t used = 0;
        for (unsigned v = 0; v < vertexCount; ++v) {
            if (compact[v] != UINT32_MAX) {
                compact[v] = used++;
                const aiVector3D p = transform * mesh.mVertices[v];
                xyz_.insert(xyz_.end(), {p.x, p.y, p.z});
            }
        }
        WeldPositions(xyz_, welded_, remap_);
        vertices_ += welded_.size() / 3;
        if (vertices_ > budget_.vertices) {
            overBudget_ = true;
            AppendText(out_, 'T', VerticesOverBudget(vertices_, meshes_ + 1, budget_));
            return;
        }
        for (std::uint32_t& corner : corners_) {
            corner = remap_[compact[corner]];
        }
        float rgb[3];
        const bool hasColour = DiffuseColour(scene_, mesh, rgb);
        AppendHandBackMesh(out_, std::string_view(name.C_Str(), name.length),
                           hasColour ? rgb : nullptr, welded_, counts_, corners_);
        ++meshes_;
        // Each mesh leaves at once, so that the hand-back never sits whole in this process.
        WriteAll(out_);
        out_.clear();
    }

    const aiScene& scene_;
    const bool ngonFans_;
    const HandBackBudget& budget_;
    std::string out_;
    std::uint32_t meshes_ = 0;
    std::uint64_t vertices_ = 0;
    bool overBudget_ = false;
    std::vector<std::uint32_t> counts_, corners_, remap_;
    std::vector<float> xyz_, welded_;
};

// The side files that were not opened, one record each.
void AppendSideFiles(std::string& out, const ModelFolderIOSystem& files) {
    for (const std::string& refusal : files.refusals()) {
        AppendText(out, 'S', refusal);
    }
}

// A hand-back without meshes: assimp's refusal ('R') or a model beyond the budget ('T').
[[noreturn]] void Refuse(char tag, std::string_view why, const ModelFolderIOSystem& files) {
    std::string out;
    AppendHandBackHeader(out);
    AppendSideFiles(out, files);
    AppendText(out, tag, why);
    AppendHandBackEnd(out, 0);
    Finish(out);
}

[[noreturn]] void ListExtensions() {
    Assimp::Importer importer;
    aiString list;  // "*.3ds;*.obj;..."
    importer.GetExtensionList(list);
    std::string extensions;
    for (std::string_view rest(list.C_Str(), list.length); !rest.empty();) {
        const std::size_t end = std::min(rest.find(';'), rest.size());
        std::string_view item = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (item.starts_with("*.")) {
            item.remove_prefix(2);
        }
        if (!item.empty()) {
            extensions += extensions.empty() ? "" : ";";
            extensions += item;
        }
    }
    std::string out;
    AppendHandBackHeader(out);
    AppendHandBackText(out, 'X', extensions);
    AppendHandBackEnd(out, 0);
    Finish(out);
}

[[noreturn]] void Import(const char* path, std::uint64_t memoryLimit) {
    const std::string_view fault = Fault();
    if (fault == "hog") {
        HogMemory(memoryLimit);
    }
    if (fault == "garbage") {
        Finish("this is not a hand-back");
    }
    Assimp::Importer importer;
    // The importer owns it; this process ends without destructors anyway.
    auto* files = new ModelFolderIOSystem(path);
    importer.SetIOHandler(files);
    // No triangulation and no join: the weld below joins by position alone.
    const aiScene* scene = importer.ReadFile(path, aiProcess_ValidateDataStructure);
    if (scene == nullptr || scene->mRootNode == nullptr) {
        Refuse('R', importer.GetErrorString(), *files);
    }
    const bool fans = DeclaresNgonFans(path);
    const HandBackBudget budget = Budget();
    if (const std::string beyond = SceneOverBudget(*scene, fans, budget); !beyond.empty()) {
        Refuse('T', beyond, *files);
    }
    MeshWriter writer(*scene, fans, budget);
    AppendSideFiles(writer.bytes(), *files);
    writer.AllMeshes();
    if (fault == "abort") {
        WriteAll(writer.bytes());
        std::abort();
    }
    if (fault == "hang") {
        WriteAll(writer.bytes());
        for (;;) {
            ::pause();
        }
    }
    AppendHandBackEnd(writer.bytes(), writer.meshCount());
    Finish(writer.bytes());
}

int Usage() {
    static constexpr std::string_view kUsage =
        "usage: korvane-assimp [--memory-limit BYTES] [--] FILE | --extensions\n"
        "Reads FILE through assimp and writes its welded meshes to file descriptor 3.\n";
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, kUsage.data(), kUsage.size());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // A helper left behind by a parent that died would loop on in a bad file for nobody.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() == 1) {
        return 2;
    }
    std::uint64_t memoryLimit = 0;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--extensions" && argc == 2) {
            LimitResources(0);
            ListExtensions();
        } else if (argument == "--memory-limit" && i + 1 < argc) {
            const std::string_view value = argv[++i];
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), memoryLimit);
            if (error != std::errc() || end != value.data() + value.size()) {
                return Usage();
            }
        } else if (argument == "--" && i + 2 == argc) {
            path = argv[++i];
        } else if (argument.starts_with("-") || i + 1 != argc) {
            return Usage();
        } else {
            path = argv[i];
        }
    }
    if (path == nullptr) {
        return Usage();
    }
    LimitResources(memoryLimit);
    Import(path, memoryLimit);
}
