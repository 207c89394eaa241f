#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <assimp/Exporter.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "document/object_store.h"
#include "import/assimp_import.h"
#include "import/metasequoia_reader.h"
#include "patch/patch_builder.h"
#include "tools/modelgen/model_shapes.h"
#include "tools/modelgen/model_writers.h"

namespace korvane {
namespace {

// A named pipe with no writer at path, which blocks whoever opens it for reading.
std::string Fifo(const std::filesystem::path& path) {
    EXPECT_EQ(::mkfifo(path.c_str(), 0644), 0);
    return path.string();
}

namespace fs = std::filesystem;

constexpr std::uint32_t kPaint = 0x3F7FFF;  // diffuse (1, 0.5, 0.25) packed as 0x00BBGGRR
const std::uint32_t kNoColour = PolyMesh().colour;

struct ObjectCounts {
    std::string name;
    std::uint32_t colour = 0;
    std::int32_t points = 0, splines = 0, triPatches = 0, quadPatches = 0;
    float meanX = 0.0f;  // where the node's transform put the object
    bool operator==(const ObjectCounts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ObjectCounts& c) {
    return out << c.name << " #" << std::hex << c.colour << std::dec << " points " << c.points
               << " splines " << c.splines << " patches " << c.triPatches << "+" << c.quadPatches
               << " mean x " << c.meanX;
}

std::vector<ObjectCounts> Count(ObjectStore& store) {
    std::vector<ObjectCounts> counts;
    for (PatchObject* object : store.objects) {
        DetectPatches(*object);
        ObjectCounts c{object->name, object->colour, object->PointCount(), object->SplineCount()};
        for (const Patch& patch : object->Patches()) {
            ++(patch.cornerCount == 3 ? c.triPatches : c.quadPatches);
        }
        double sum = 0.0;
        for (const PatchVec3& point : object->Points()) {
            sum += point.x;
        }
        c.meanX = static_cast<float>(std::round(sum / std::max(c.points, 1) * 1000.0) / 1000.0);
        counts.push_back(c);
    }
    return counts;
}

// Counts the objects it is asked for, so that a test sees the document was never touched.
class WatchedSink : public ObjectSink {
  public:
    PatchObject* AddObject() override {
        ++calls;
        return store.AddObject();
    }
    ObjectStore store;
    int calls = 0;
};

class AssimpImportTest : public ::testing::Test {
  public:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("korvane-assimp-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        ::unsetenv("KORVANE_ASSIMP_FAULT");
        fs::remove_all(dir_);
    }

    std::string Write(const std::string& name, std::string_view content) {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary).write(content.data(), std::ssize(content));
        return path.string();
    }

    fs::path dir_;
};

// The cube from -1 to 1, its vertices split per face as formats with normals store them.
constexpr float kCubeFaces[6][4][3] = {{{-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {1, -1, -1}},
                                       {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},
                                       {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}},
                                       {{-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}},
                                       {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}},
                                       {{1, -1, -1}, {1, 1, -1}, {1, 1, 1}, {1, -1, 1}}};

using Polygon = std::vector<aiVector3D>;

std::vector<Polygon> CubeFaces() {
    std::vector<Polygon> faces;
    for (const auto& face : kCubeFaces) {
        faces.push_back({});
        for (const auto& p : face) {
            faces.back().emplace_back(p[0], p[1], p[2]);
        }
    }
    return faces;
}

std::vector<Polygon> TetrahedronFaces() {
    const aiVector3D o(0, 0, 0), x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
    return {{o, x, y}, {o, z, x}, {o, y, z}, {x, z, y}};
}

// Writes polygons, each with corners of its own and the face's normal (which keeps an exporter
// from joining them), with assimp's exporter: node "crate" below the root, moved `x` along x,
// material "paint".
void ExportPolygons(const std::string& path, const char* format, const std::vector<Polygon>& faces,
                    unsigned steps, float x) {
    aiScene scene;
    scene.mRootNode = new aiNode("root");
    aiNode* crate = new aiNode("crate");
    scene.mRootNode->addChildren(1, &crate);
    aiMatrix4x4::Translation({x, 0, 0}, crate->mTransformation);
    crate->mNumMeshes = 1;
    crate->mMeshes = new unsigned[1]{0};
    scene.mNumMaterials = 1;
    scene.mMaterials = new aiMaterial* [1] { new aiMaterial };
    const aiString name("paint");
    const aiColor3D diffuse(1.0f, 0.5f, 0.25f);
    scene.mMaterials[0]->AddProperty(&name, AI_MATKEY_NAME);
    scene.mMaterials[0]->AddProperty(&diffuse, 1, AI_MATKEY_COLOR_DIFFUSE);
    scene.mNumMeshes = 1;
    aiMesh* mesh = new aiMesh;
    scene.mMeshes = new aiMesh* [1] { mesh };
    mesh->mPrimitiveTypes =
        faces[0].size() == 3 ? aiPrimitiveType_TRIANGLE : aiPrimitiveType_POLYGON;
    unsigned corners = 0;
    for (const Polygon& face : faces) {
        corners += static_cast<unsigned>(face.size());
    }
    mesh->mNumVertices = corners;
    mesh->mVertices = new aiVector3D[corners];
    mesh->mNormals = new aiVector3D[corners];
    mesh->mNumFaces = static_cast<unsigned>(faces.size());
    mesh->mFaces = new aiFace[faces.size()];
    unsigned next = 0;
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const Polygon& face = faces[f];
        const aiVector3D normal = ((face[1] - face[0]) ^ (face[2] - face[0])).Normalize();
        mesh->mFaces[f].mNumIndices = static_cast<unsigned>(face.size());
        mesh->mFaces[f].mIndices = new unsigned[face.size()];
        for (std::size_t k = 0; k < face.size(); ++k, ++next) {
            mesh->mVertices[next] = face[k];
            mesh->mNormals[next] = normal;
            mesh->mFaces[f].mIndices[k] = next;
        }
    }
    Assimp::Exporter exporter;
    ASSERT_EQ(exporter.Export(&scene, format, path, steps), AI_SUCCESS)
        << format << ": " << exporter.GetErrorString();
}

// Exports into the test's folder and returns the path.
std::string Exported(const fs::path& dir, const char* file, const char* format,
                     const std::vector<Polygon>& faces, unsigned steps = 0, float x = 3.0f) {
    const std::string path = (dir / file).string();
    ExportPolygons(path, format, faces, steps, x);
    return path;
}

// The split cube as glTF text with its buffer beside it, each face two triangles in a fan marked
// FB_ngon_encoding, used by two nodes: "box" where it is and "moved" 5 along x.
std::string GltfCube(const fs::path& dir) {
    std::string buffer;
    const auto put = [&buffer](const auto& value) {
        buffer.append(reinterpret_cast<const char*>(&value), sizeof value);
    };
    for (const auto& face : kCubeFaces) {
        for (const auto& corner : face) {
            put(corner);
        }
    }
    for (std::uint16_t b = 0; b < 24; b += 4) {
        for (const std::uint16_t i : {b, std::uint16_t(b + 1), std::uint16_t(b + 2), b,
                                      std::uint16_t(b + 2), std::uint16_t(b + 3)}) {
            put(i);
        }
    }
    std::ofstream(dir / "cube.bin", std::ios::binary) << buffer;
    const auto path = dir / "cube.gltf";
    std::ofstream(path) << R"({"asset": {"version": "2.0"}, "extensionsUsed": ["FB_ngon_encoding"],
 "scene": 0, "scenes": [{"nodes": [0, 1]}],
 "nodes": [{"name": "box", "mesh": 0}, {"name": "moved", "mesh": 0, "translation": [5, 0, 0]}],
 "meshes": [{"primitives": [{"attributes": {"POSITION": 0}, "indices": 1, "material": 0,
   "extensions": {"FB_ngon_encoding": {}}}]}],
 "materials": [{"name": "paint", "pbrMetallicRoughness": {"baseColorFactor": [1, 0.5, 0.25, 1]}}],
 "buffers": [{"uri": "cube.bin", "byteLength": 360}],
 "bufferViews": [{"buffer": 0, "byteLength": 288}, {"buffer": 0, "byteOffset": 288, "byteLength": 72}],
 "accessors": [
   {"bufferView": 0, "componentType": 5126, "count": 24, "type": "VEC3", "min": [-1, -1, -1], "max": [1, 1, 1]},
   {"bufferView": 1, "componentType": 5123, "count": 36, "type": "SCALAR"}]})";
    return path.string();
}

constexpr const char* kTetrahedronStl = R"(solid tetra
facet normal 0 0 -1
outer loop
vertex 0 0 0
vertex 1 0 0
vertex 0 1 0
endloop
endfacet
facet normal 0 -1 0
outer loop
vertex 0 0 0
vertex 0 0 1
vertex 1 0 0
endloop
endfacet
facet normal -1 0 0
outer loop
vertex 0 0 0
vertex 0 1 0
vertex 0 0 1
endloop
endfacet
facet normal 1 1 1
outer loop
vertex 1 0 0
vertex 0 0 1
vertex 0 1 0
endloop
endfacet
endsolid tetra
)";

constexpr const char* kDirectXQuad = R"(xof 0303txt 0032
Frame crate {
  FrameTransformMatrix {
    1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 3.0,0.0,0.0,1.0;;
  }
  Mesh {
    4;
    0.0;0.0;0.0;, 1.0;0.0;0.0;, 1.0;1.0;0.0;, 0.0;1.0;0.0;;
    1;
    4;0,1,2,3;;
    MeshMaterialList {
      1; 1; 0;;
      Material {
        1.0;0.5;0.25;1.0;; 5.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;;
      }
    }
  }
}
)";

// Each format as a modeller writes it, welded into the network its topology makes.
TEST_F(AssimpImportTest, EveryFormatWeldsIntoItsNetwork) {
    const ObjectCounts cube{"crate", kPaint, 8, 12, 0, 6, 3.0f};
    const struct {
        const char* name;
        std::function<std::string(AssimpImportTest&)> write;
        std::vector<ObjectCounts> objects;
        std::int32_t outlineFaces = 0;
    } formats[] = {
        {"OBJ: a pentagon; two quads, a line and points",
         [](AssimpImportTest& t) {
             t.Write("paint.mtl", "newmtl paint\nKd 1 0.5 0.25\n");
             return t.Write(
                 "plate.obj",
                 "mtllib paint.mtl\no pentagon\nusemtl paint\nv 0 0 5\nv 2 0 5\nv 2 1 5\nv 1 2 5\n"
                 "v 0 1 5\nf 1 2 3 4 5\no plate\nusemtl paint\nv 0 0 0\nv 1 0 0\n"
                 "v 2 0 0\nv 0 1 0\nv 1 1 0\nv 2 1 0\nv 3 1 0\nv 9 9 9\n"
                 "f 6 7 10 9\nf 7 8 11 10\nl 11 12\np 6\np 13\n");
         },
         {{"pentagon", kPaint, 5, 5, 0, 0, 1.0f}, {"plate", kPaint, 7, 8, 0, 2, 1.286f}},
         1},
        {"PLY: a quad and a triangle on one edge",
         [](AssimpImportTest& t) {
             return t.Write("sheet.ply",
                            "ply\nformat ascii 1.0\nelement vertex 5\nproperty float x\n"
                            "property float y\nproperty float z\nelement face 2\n"
                            "property list uchar int vertex_indices\nend_header\n0 0 0\n1 0 0\n"
                            "1 1 0\n0 1 0\n2 0.5 0\n4 0 1 2 3\n3 1 4 2\n");
         },
         {{"sheet", kNoColour, 5, 6, 1, 1, 0.8f}}},
        {"STL: a tetrahedron, every triangle with its own corners",
         [](AssimpImportTest& t) { return t.Write("tetra.stl", kTetrahedronStl); },
         {{"tetra", kNoColour, 4, 6, 4, 0, 0.25f}}},
        {"OFF: one quad",
         [](AssimpImportTest& t) {
             return t.Write("square.off", "OFF\n4 1 0\n0 0 0\n1 0 0\n1 1 0\n0 1 0\n4 0 1 2 3\n");
         },
         {{"square", kNoColour, 4, 4, 0, 1, 0.5f}}},
        {"glTF: one cube of quads as triangle fans, used by two nodes",
         [](AssimpImportTest& t) { return GltfCube(t.dir_); },
         {{"box", kPaint, 8, 12, 0, 6, 0.0f}, {"moved", kPaint, 8, 12, 0, 6, 5.0f}}},
        {"binary glTF written by assimp, quads triangulated as fans",
         [](AssimpImportTest& t) {
             return Exported(t.dir_, "cube.glb", "glb2", CubeFaces(), aiProcess_Triangulate);
         },
         {cube}},
        {"COLLADA",
         [](AssimpImportTest& t) { return Exported(t.dir_, "cube.dae", "collada", CubeFaces()); },
         {cube}},
        {"DirectX: a frame moved 3 along x, a quad of a material without a name",
         [](AssimpImportTest& t) { return t.Write("quad.x", kDirectXQuad); },
         {{"crate", kPaint, 4, 4, 0, 1, 3.5f}}},
        {"FBX (text)",
         [](AssimpImportTest& t) { return Exported(t.dir_, "cube.fbx", "fbxa", CubeFaces()); },
         {cube}},
        // assimp's writer of 3DS loses the node's place, and its reader names the mesh's node
        // after the object and its instance.
        {"3D Studio: triangles only",
         [](AssimpImportTest& t) {
             return Exported(t.dir_, "tetra.3ds", "3ds", TetrahedronFaces(), 0, 0.0f);
         },
         {{"crate_0", kPaint, 4, 6, 4, 0, 0.25f}}},
    };
    for (const auto& format : formats) {
        SCOPED_TRACE(format.name);
        const std::string path = format.write(*this);
        ObjectStore store;
        std::string detail;
        const ImportResult result = ImportThroughAssimp(path, store, {}, &detail);
        ASSERT_EQ(result.status, ImportStatus::kImported) << detail;
        EXPECT_EQ(result.objectsAdded, std::ssize(format.objects));
        EXPECT_EQ(result.outlineFaces, format.outlineFaces);
        EXPECT_EQ(Count(store), format.objects);
    }
}

// The same model read from a .mqo and from an .obj holding its coordinates times 0.1 (the
// Metasequoia reader's unit) gives the same network; --scale multiplies the coordinates exactly.
TEST_F(AssimpImportTest, ObjOfAMetasequoiaModelGivesTheSameNetwork) {
    using namespace modelgen;
    const struct {
        const char* name;
        GeneratedModel model;
    } shapes[] = {{"torus", MakeTorus(12, 8)},
                  {"sphere with triangle fans", MakeSphere(10, 6)},
                  {"waved grid", MakeGrid(6, 5)}};
    for (const auto& shape : shapes) {
        SCOPED_TRACE(shape.name);
        ObjectStore fromMqo, fromObj, scaled;
        ASSERT_EQ(ImportMetasequoiaBytes(WriteMqoText(shape.model), fromMqo).status,
                  ImportStatus::kImported);
        const std::string obj = Write("model.obj", WriteObj(shape.model));
        ASSERT_EQ(ImportThroughAssimp(obj, fromObj).status, ImportStatus::kImported);
        ASSERT_EQ(ImportThroughAssimp(obj, scaled, {.scale = 2.5f}).status,
                  ImportStatus::kImported);
        auto mqoCounts = Count(fromMqo);
        auto objCounts = Count(fromObj);
        ASSERT_EQ(mqoCounts.size(), 1u);
        ASSERT_EQ(objCounts.size(), 1u);
        // Names differ (the .mqo's object, the .obj's "o" line) only by the file's choice.
        EXPECT_EQ(objCounts[0].name, shape.model.name);
        objCounts[0].colour = mqoCounts[0].colour;
        EXPECT_EQ(objCounts[0], mqoCounts[0]);

        // Same points, in the order of first use rather than of the file: compare them sorted.
        const auto sorted = [](const ObjectStore& store) {
            std::vector<std::array<float, 3>> points;
            for (const PatchVec3& p : store.objects.GetHead()->Points()) {
                points.push_back({p.x, p.y, p.z});
            }
            std::sort(points.begin(), points.end());
            return points;
        };
        const auto mqo = sorted(fromMqo), fromFile = sorted(fromObj);
        ASSERT_EQ(mqo.size(), fromFile.size());
        for (std::size_t i = 0; i < mqo.size(); ++i) {
            for (int a = 0; a < 3; ++a) {
                ASSERT_NEAR(fromFile[i][a], mqo[i][a], 1e-6f * (1.0f + std::abs(mqo[i][a]))) << i;
            }
        }
        const PatchVec3& once = fromObj.objects.GetHead()->Points().front();
        const PatchVec3& twice = scaled.objects.GetHead()->Points().front();
        EXPECT_EQ(twice.x, 2.5f * once.x);
        EXPECT_EQ(twice.z, 2.5f * once.z);
    }
}

// Whatever goes wrong in the helper, or with the file, the document is never touched and the
// status says what happened.
TEST_F(AssimpImportTest, AFailedImportLeavesTheDocumentAlone) {
    const std::string cube = Write("cube.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n");
    const struct {
        const char* name;
        const char* fault;  // KORVANE_ASSIMP_FAULT for the helper
        AssimpImportOptions options;
        std::string path;
        ImportStatus status;
        const char* detail;
    } cases[] = {
        {"crash after the meshes", "abort", {}, cube, ImportStatus::kImporterCrashed, "signal 6"},
        {"endless loop",
         "hang",
         {.timeout = std::chrono::milliseconds(300)},
         cube,
         ImportStatus::kImporterTimedOut,
         "within 300 ms"},
        {"bytes that are no hand-back",
         "garbage",
         {},
         cube,
         ImportStatus::kImporterCrashed,
         "damaged data: does not start with KVHB"},
        {"runaway allocation",
         "hog",
         {.memoryLimit = std::uint64_t{256} << 20},
         cube,
         ImportStatus::kImporterOutOfMemory,
         "more than 256 MiB"},
        {"no helper",
         "",
         {.helperPath = (dir_ / "korvane-assimp").string()},
         cube,
         ImportStatus::kImporterMissing,
         "No such file"},
        {"not a model",
         "",
         {},
         Write("notes.txt", "nothing here\n"),
         ImportStatus::kAssimpRefused,
         "No suitable reader"},
        {"malformed",
         "",
         {},
         Write("bad.obj", "v 0 0 0\nf 1 2 3\n"),
         ImportStatus::kAssimpRefused,
         "out of range"},
        {"no such file", "", {}, (dir_ / "gone.obj").string(), ImportStatus::kCannotOpen, ""},
        {"a folder", "", {}, dir_.string(), ImportStatus::kNotRegularFile, ""},
        {"a pipe, refused before the helper would wait on it",
         "",
         {},
         Fifo(dir_ / "pipe.obj"),
         ImportStatus::kNotRegularFile,
         ""},
    };
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    const bool memoryLimited = false;  // the sanitizers' own reservations need the address space
#else
    const bool memoryLimited = true;
#endif
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (std::string_view(c.fault) == "hog" && !memoryLimited) {
            continue;
        }
        ::setenv("KORVANE_ASSIMP_FAULT", c.fault, 1);
        WatchedSink sink;
        std::string detail = "stale";
        const ImportResult result = ImportThroughAssimp(c.path, sink, c.options, &detail);
        EXPECT_EQ(result.status, c.status) << detail;
        EXPECT_NE(detail.find(c.detail), std::string::npos) << detail;
        EXPECT_EQ(result.objectsAdded, 0);
        EXPECT_EQ(sink.calls, 0);
    }
}

TEST_F(AssimpImportTest, ListsTheExtensionsAssimpReads) {
    const std::vector<std::string> extensions = AssimpExtensions();
    for (const char* wanted :
         {"obj", "ply", "stl", "off", "3ds", "gltf", "glb", "dae", "fbx", "x"}) {
        EXPECT_NE(std::find(extensions.begin(), extensions.end(), wanted), extensions.end())
            << wanted;
    }
    for (const std::string& extension : extensions) {
        EXPECT_FALSE(extension.empty() || extension[0] == '.') << extension;
        EXPECT_EQ(extension.find_first_of("*; ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos)
            << extension;
    }
    EXPECT_TRUE(AssimpExtensions({.helperPath = "/nonexistent/korvane-assimp"}).empty());
}

}  // namespace
}  // namespace korvane
