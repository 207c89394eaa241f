#include "export/surface_mesh_writer.h"

#include <assimp/scene.h>
#include <assimp/Exporter.hpp>
#include <assimp/IOStream.hpp>
#include <assimp/IOSystem.hpp>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <list>
#include <memory>
#include <vector>

#include "export/atomic_file_set.h"
#include "export/file_extension.h"
#include "export/surface_mesh_builder.h"

namespace korvane {
namespace {

struct FormatEntry {
    const char* extension;
    const char* exporterId;
};

constexpr FormatEntry kFormats[] = {
    {"obj", "obj"}, {"ply", "plyb"}, {"stl", "stlb"}, {"gltf", "gltf2"}, {"glb", "glb2"}};

const FormatEntry* EntryFor(const std::string& path) {
    const std::string extension = LowerCaseExtension(path);
    for (const FormatEntry& entry : kFormats) {
        if (extension == entry.extension) {
            return &entry;
        }
    }
    return nullptr;
}

// Files the exporter writes, kept in memory until it has finished, so that nothing reaches the
// disk from a failed export.
class MemoryFiles : public Assimp::IOSystem {
  public:
    struct File {
        std::string path;
        std::vector<std::uint8_t> bytes;
    };

    bool Exists(const char* path) const override { return Find(path) != nullptr; }
    char getOsSeparator() const override { return '/'; }

    Assimp::IOStream* Open(const char* path, const char* mode) override {
        if (std::strchr(mode, 'r') != nullptr) {
            return nullptr;  // the exporters only write
        }
        File* file = Find(path);
        if (file == nullptr) {
            file = &files_.emplace_back(File{path, {}});
        }
        file->bytes.clear();
        return new Stream(file->bytes);
    }

    void Close(Assimp::IOStream* stream) override { delete stream; }

    const std::list<File>& files() const { return files_; }

  private:
    // A write-only stream over a growing buffer; the binary glTF writer seeks back to fill in
    // its header.
    class Stream : public Assimp::IOStream {
      public:
        explicit Stream(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

        std::size_t Read(void*, std::size_t, std::size_t) override { return 0; }
        std::size_t Write(const void* data, std::size_t size, std::size_t count) override {
            const std::size_t length = size * count;
            if (bytes_.size() < at_ + length) {
                bytes_.resize(at_ + length);
            }
            if (length > 0) {
                std::memcpy(bytes_.data() + at_, data, length);
            }
            at_ += length;
            return count;
        }
        aiReturn Seek(std::size_t offset, aiOrigin origin) override {
            const std::size_t base = origin == aiOrigin_SET   ? 0
                                     : origin == aiOrigin_CUR ? at_
                                                              : bytes_.size();
            at_ = base + offset;
            return aiReturn_SUCCESS;
        }
        std::size_t Tell() const override { return at_; }
        std::size_t FileSize() const override { return bytes_.size(); }
        void Flush() override {}

      private:
        std::vector<std::uint8_t>& bytes_;
        std::size_t at_ = 0;
    };

    File* Find(const char* path) const {
        for (const File& file : files_) {
            if (file.path == path) {
                return const_cast<File*>(&file);
            }
        }
        return nullptr;
    }

    std::list<File> files_;  // a list, since open streams hold on to their buffers
};

// The object's name where every format can carry it: UTF-8, with '_' for white space and control
// characters (an OBJ group name ends at a space). A name in other bytes (Shift_JIS from an older
// model) is replaced by one from the object's position.
std::string MeshName(const std::string& name, std::size_t position) {
    std::string out;
    for (std::size_t i = 0; i < name.size();) {
        const auto lead = static_cast<unsigned char>(name[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x06 ? 2
                                   : (lead >> 4) == 0x0E ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        if (length == 0 || i + length > name.size()) {
            return "object" + std::to_string(position + 1);
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(name[i + k]) & 0xC0) != 0x80) {
                return "object" + std::to_string(position + 1);
            }
        }
        out += length == 1 && lead <= 0x20 ? std::string("_") : name.substr(i, length);
        i += length;
    }
    return out.empty() ? "object" + std::to_string(position + 1) : out;
}

aiMaterial* ColourMaterial(std::uint32_t colour) {
    const float red = static_cast<float>(colour & 0xFF) / 255.0f;
    const float green = static_cast<float>((colour >> 8) & 0xFF) / 255.0f;
    const float blue = static_cast<float>((colour >> 16) & 0xFF) / 255.0f;
    char name[32];
    std::snprintf(name, sizeof name, "colour_%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF,
                  (colour >> 16) & 0xFF);
    auto* material = new aiMaterial();
    const aiString materialName(name);
    material->AddProperty(&materialName, AI_MATKEY_NAME);
    const aiColor4D diffuse(red, green, blue, 1.0f);
    material->AddProperty(&diffuse, 1, AI_MATKEY_COLOR_DIFFUSE);
    return material;
}

// The mesh with z negated; the mirror reverses the turn of every triangle, so two corners swap.
aiMesh* ToAssimp(const SurfaceMesh& surface, const std::string& name, unsigned material) {
    auto* mesh = new aiMesh();
    mesh->mName = aiString(name);
    mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    mesh->mMaterialIndex = material;
    mesh->mNumVertices = static_cast<unsigned>(surface.positions.size());
    mesh->mVertices = new aiVector3D[mesh->mNumVertices];
    mesh->mNormals = new aiVector3D[mesh->mNumVertices];
    for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
        const Vec3& p = surface.positions[i];
        const Vec3& n = surface.normals[i];
        mesh->mVertices[i] = aiVector3D(p.x, p.y, -p.z);
        mesh->mNormals[i] = aiVector3D(n.x, n.y, -n.z);
    }
    mesh->mNumFaces = static_cast<unsigned>(surface.triangles.size() / 3);
    mesh->mFaces = new aiFace[mesh->mNumFaces];
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        aiFace& face = mesh->mFaces[f];
        face.mNumIndices = 3;
        face.mIndices = new unsigned[3]{surface.triangles[3 * f], surface.triangles[3 * f + 2],
                                        surface.triangles[3 * f + 1]};
    }
    return mesh;
}

// One node per mesh under the root, in object order; objects without patches are left out.
void FillScene(aiScene& scene, const ObjectList<PatchObject>& objects,
               std::int32_t surfaceResolution, bool smoothSurfaces) {
    std::vector<aiMesh*> meshes;
    std::vector<aiMaterial*> materials;
    std::vector<aiNode*> nodes;
    std::size_t position = 0;
    for (PatchObject* object : objects) {
        const SurfaceMesh surface = BuildSurfaceMesh(*object, surfaceResolution, smoothSurfaces);
        if (!surface.triangles.empty()) {
            const std::string name = MeshName(object->name, position);
            const auto index = static_cast<unsigned>(meshes.size());
            meshes.push_back(ToAssimp(surface, name, index));
            materials.push_back(ColourMaterial(object->colour));
            auto* node = new aiNode(name);
            node->mParent = scene.mRootNode;
            node->mNumMeshes = 1;
            node->mMeshes = new unsigned[1]{index};
            nodes.push_back(node);
        }
        ++position;
    }
    const auto toArray = [](auto& items, unsigned& count) {
        using Item = typename std::remove_reference_t<decltype(items)>::value_type;
        count = static_cast<unsigned>(items.size());
        auto* array = new Item[std::max<std::size_t>(items.size(), 1)];
        std::copy(items.begin(), items.end(), array);
        return array;
    };
    scene.mMeshes = toArray(meshes, scene.mNumMeshes);
    scene.mMaterials = toArray(materials, scene.mNumMaterials);
    scene.mRootNode->mChildren = toArray(nodes, scene.mRootNode->mNumChildren);
}

}  // namespace

WriteResult WriteSurfaceMesh(const std::string& path, const ObjectList<PatchObject>& objects,
                             std::int32_t surfaceResolution, bool smoothSurfaces) {
    const FormatEntry* entry = EntryFor(path);
    if (entry == nullptr) {
        return {WriteStatus::kCannotCreate,
                "not a surface mesh file name (.obj, .ply, .stl, .gltf or .glb)"};
    }
    aiScene scene;
    scene.mRootNode = new aiNode("surfaces");
    FillScene(scene, objects, surfaceResolution, smoothSurfaces);

    Assimp::Exporter exporter;
    auto* files = new MemoryFiles();  // the exporter owns it
    exporter.SetIOHandler(files);
    if (exporter.Export(&scene, entry->exporterId, path, 0) != aiReturn_SUCCESS) {
        return {WriteStatus::kWriteFailed, exporter.GetErrorString()};
    }
    // The main file names the others, so it goes last.
    std::vector<FileToWrite> set;
    const MemoryFiles::File* main = nullptr;
    for (const MemoryFiles::File& file : files->files()) {
        if (file.path == path) {
            main = &file;
        } else {
            set.push_back({file.path, file.bytes});
        }
    }
    if (main == nullptr) {
        return {WriteStatus::kWriteFailed, "the exporter wrote nothing"};
    }
    set.push_back({path, main->bytes});
    return WriteFileSetAtomically(set);
}

}  // namespace korvane
