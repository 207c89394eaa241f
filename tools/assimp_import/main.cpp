// korvane-assimp: reads one model file through assimp and hands its welded meshes back to Korvane
// on file descriptor 3, in the layout of import/assimp_handback.h. Korvane starts it for every
// file that is not of its own kinds, so that a crash, an endless loop or a runaway allocation in a
// third-party parser ends this process and never the document.
//
//   korvane-assimp [--memory-limit BYTES] [--] FILE
//   korvane-assimp --extensions
//
// Exit status 0 after a whole hand-back (a refusal is one), kHelperExitOutOfMemory when an
// allocation failed under the memory limit, 2 for wrong usage or a pipe that cannot be written.
// KORVANE_ASSIMP_FAULT makes it misbehave on purpose, for the tests of Korvane's guards: "abort"
// or "hang" after the meshes but before the end record, "hog" allocates until the limit stops it,
// "garbage" hands back bytes that are no hand-back.

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

// assimp names the roots it makes up for formats without nodes "<OFFRoot>", "<3DSRoot>", ...
bool OwnName(const aiString& name) {
    return name.length > 0 && !(name.data[0] == '<' && name.data[name.length - 1] == '>');
}

class MeshWriter {
  public:
    MeshWriter(const aiScene& scene, bool ngonFans) : scene_(scene), ngonFans_(ngonFans) {
        AppendHandBackHeader(out_);
    }

    void Node(const aiNode& node, const aiMatrix4x4& parent) {
        const aiMatrix4x4 global = parent * node.mTransformation;
        for (unsigned i = 0; i < node.mNumMeshes; ++i) {
            if (node.mMeshes[i] < scene_.mNumMeshes) {
                const aiMesh& mesh = *scene_.mMeshes[node.mMeshes[i]];
                // Neither named: empty, and Korvane names the object after the file.
                Mesh(mesh, global,
                     OwnName(node.mName)   ? node.mName
                     : OwnName(mesh.mName) ? mesh.mName
                                           : aiString());
            }
        }
        for (unsigned i = 0; i < node.mNumChildren; ++i) {
            Node(*node.mChildren[i], global);
        }
    }

    std::uint32_t meshCount() const { return meshes_; }
    std::string& bytes() { return out_; }

  private:
    // One mesh instance: the vertices its lines and faces use, transformed and welded; points and
    // faces that name a vertex the mesh lacks are left out.
    void Mesh(const aiMesh& mesh, const aiMatrix4x4& transform, const aiString& name) {
        const unsigned vertexCount = mesh.mNumVertices;
        std::vector<std::uint32_t> compact(vertexCount, UINT32_MAX);
        const bool fans = ngonFans_ && mesh.mPrimitiveTypes == aiPrimitiveType_TRIANGLE;
        counts_.clear();
        corners_.clear();
        std::size_t lastStart = 0;
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            bool inRange = face.mNumIndices >= 2;
            for (unsigned k = 0; inRange && k < face.mNumIndices; ++k) {
                inRange = face.mIndices[k] < vertexCount;
            }
            if (!inRange) {
                continue;
            }
            for (unsigned k = 0; k < face.mNumIndices; ++k) {
                compact[face.mIndices[k]] = 0;
            }
            // The next triangle of a fan: same first corner, and it goes on from the last side.
            if (fans && face.mNumIndices == 3 && !counts_.empty() &&
                corners_[lastStart] == face.mIndices[0] && corners_.back() == face.mIndices[1]) {
                corners_.push_back(face.mIndices[2]);
                ++counts_.back();
                continue;
            }
            lastStart = corners_.size();
            counts_.push_back(face.mNumIndices);
            corners_.insert(corners_.end(), face.mIndices, face.mIndices + face.mNumIndices);
        }
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
    std::string out_;
    std::uint32_t meshes_ = 0;
    std::vector<std::uint32_t> counts_, corners_, remap_;
    std::vector<float> xyz_, welded_;
};

[[noreturn]] void Refuse(std::string_view why) {
    std::string out;
    AppendHandBackHeader(out);
    AppendHandBackText(out, 'R', why);
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
    // No triangulation and no join: the weld below joins by position alone.
    const aiScene* scene = importer.ReadFile(path, aiProcess_ValidateDataStructure);
    if (scene == nullptr || scene->mRootNode == nullptr) {
        Refuse(importer.GetErrorString());
    }
    MeshWriter writer(*scene, DeclaresNgonFans(path));
    writer.Node(*scene->mRootNode, aiMatrix4x4());
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
