#include "export/surface_mesh_writer.h"

#include <assimp/material.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <assimp/Importer.hpp>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>

#include "document/object_store.h"
#include "export/surface_mesh_builder.h"
#include "patch/curve_connector.h"
#include "patch/patch_network_access.h"
#include "support/generated_network.h"
#include "tools/modelgen/model_shapes.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

// The model as the import builds it, moved along x by shift, appended to the store with its
// patches found, as the document has them when it exports.
PatchObject& Add(ObjectStore& store, const modelgen::GeneratedModel& model, std::uint32_t colour,
                 float shift) {
    PatchObject& object = *store.AddObject();
    testing::BuildGenerated(model, object, shift);
    object.name = model.name;
    object.colour = colour;
    DetectPatches(object);
    return object;
}

// What a file holds once its vertices are joined at equal positions.
struct ReadBack {
    std::size_t meshes = 0;
    std::size_t storedVertices = 0;  // as the file lists them
    std::size_t positions = 0;       // distinct
    std::size_t triangles = 0;
    int unpairedEdges = 0;        // edges not met exactly once in each direction
    int turnedAgainst = 0;        // triangles that turn clockwise about their vertices' normals
    std::vector<double> volumes;  // six times the volume each mesh encloses
    std::vector<std::array<float, 3>> colours;  // diffuse, per mesh
    std::vector<std::string> names;
};

ReadBack Read(const std::string& path) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, 0);
    ReadBack out;
    if (scene == nullptr) {
        ADD_FAILURE() << importer.GetErrorString();
        return out;
    }
    std::map<std::array<float, 3>, std::size_t> ids;
    std::map<std::pair<std::size_t, std::size_t>, int> directed;
    out.meshes = scene->mNumMeshes;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh& mesh = *scene->mMeshes[m];
        aiColor4D colour(0, 0, 0, 0);
        aiGetMaterialColor(scene->mMaterials[mesh.mMaterialIndex], AI_MATKEY_COLOR_DIFFUSE,
                           &colour);
        out.colours.push_back({colour.r, colour.g, colour.b});
        out.names.push_back(mesh.mName.C_Str());
        out.storedVertices += mesh.mNumVertices;
        out.volumes.push_back(0.0);
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            if (face.mNumIndices != 3) {
                ADD_FAILURE() << "a face of " << face.mNumIndices << " corners";
                continue;
            }
            std::array<std::size_t, 3> id{};
            std::array<aiVector3D, 3> p;
            aiVector3D normals;
            for (int k = 0; k < 3; ++k) {
                p[k] = mesh.mVertices[face.mIndices[k]];
                normals += mesh.mNormals[face.mIndices[k]];
                id[k] = ids.try_emplace({p[k].x, p[k].y, p[k].z}, ids.size()).first->second;
            }
            for (int k = 0; k < 3; ++k) {
                ++directed[{id[k], id[(k + 1) % 3]}];
            }
            const aiVector3D turn = (p[1] - p[0]) ^ (p[2] - p[0]);
            out.turnedAgainst += turn * normals <= 0.0f;
            out.volumes.back() += p[0] * (p[1] ^ p[2]);
            ++out.triangles;
        }
    }
    for (const auto& [edge, count] : directed) {
        const auto back = directed.find({edge.second, edge.first});
        out.unpairedEdges += count != 1 || back == directed.end() || back->second != 1;
    }
    out.positions = ids.size();
    return out;
}

int PatchesWith(const PatchObject& object, int corners) {
    int count = 0;
    for (const Patch& patch : object.Patches()) {
        count += patch.cornerCount == corners;
    }
    return count;
}

std::string Contents(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// The numbers of every JSON array that follows key, one array per occurrence, in file order.
std::vector<std::vector<double>> ArraysAfter(const std::string& json, const std::string& key) {
    std::vector<std::vector<double>> arrays;
    for (std::size_t at = json.find(key); at != std::string::npos; at = json.find(key, at + 1)) {
        const std::size_t open = json.find('[', at);
        const std::size_t close = json.find(']', open);
        std::istringstream items(json.substr(open + 1, close - open - 1));
        std::vector<double>& values = arrays.emplace_back();
        for (std::string item; std::getline(items, item, ',');) {
            values.push_back(std::strtod(item.c_str(), nullptr));
        }
    }
    return arrays;
}

// Every accessor of the glTF file at path has bounds that are finite with min <= max.
void ExpectSoundAccessorBounds(const std::string& path, std::size_t accessors) {
    const std::string json = Contents(path);
    const auto maxima = ArraysAfter(json, "\"max\"");
    const auto minima = ArraysAfter(json, "\"min\"");
    ASSERT_EQ(maxima.size(), accessors);
    ASSERT_EQ(minima.size(), accessors);
    for (std::size_t a = 0; a < accessors; ++a) {
        ASSERT_EQ(maxima[a].size(), minima[a].size());
        for (std::size_t k = 0; k < maxima[a].size(); ++k) {
            EXPECT_TRUE(std::isfinite(minima[a][k]) && std::isfinite(maxima[a][k]));
            EXPECT_LE(minima[a][k], maxima[a][k]) << "accessor " << a;
        }
    }
}

float LengthOf(const aiVector3D& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

class SurfaceMeshWriterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("korvane-surface-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
};

// A connected torus (quads only, closed splines round it) and a sphere (triangle fans at the
// poles), both closed, at resolution 2: every patch side is cut into four steps, a triangle's
// into two halves of two. The smooth surfaces weld the same way: the same borders.
TEST_F(SurfaceMeshWriterTest, ClosedModelsComeBackClosedWeldedAndColouredInEveryFormat) {
    ObjectStore objects;
    PatchObject& torus = Add(objects, modelgen::MakeTorus(7, 5), 0x3366CC, 0.0f);
    torus.DeletePatches();
    ConnectCurves(torus, 150.0f, nullptr);
    PatchObject& sphere = Add(objects, modelgen::MakeSphere(8, 5), 0xFF8000, 5000.0f);
    torus.name = "a torus";
    sphere.name = "\x83\x7E\x83\x4E";  // Shift_JIS
    DetectPatches(torus);
    DetectPatches(sphere);
    ASSERT_EQ(PatchesWith(torus, 4), 35);
    ASSERT_EQ(PatchesWith(sphere, 3), 16);
    // Cells of the grids: 4 x 4 per quad, 3 x (2 x 2) per triangle. A closed surface of genus g
    // cut into quadrilateral cells has cells + 2 - 2g vertices.
    const std::size_t torusCells = 35 * 16;
    const std::size_t sphereCells = 24 * 16 + 16 * 12;
    const std::size_t vertices = torusCells + sphereCells + 2;

    struct Case {
        const char* name;
        bool indexed;   // the file lists each welded vertex once
        bool coloured;  // one mesh per object with its material
    };
    for (const auto& [format, smooth] :
         {std::pair{Case{"m.obj", false, true}, false},
          std::pair{Case{"m.ply", true, false}, false},
          std::pair{Case{"m.STL", false, false}, false},
          std::pair{Case{"m.gltf", true, true}, false}, std::pair{Case{"m.glb", true, true}, false},
          std::pair{Case{"m.obj", false, true}, true},
          std::pair{Case{"m.ply", true, false}, true}}) {
        SCOPED_TRACE(std::string(format.name) + (smooth ? " smooth" : ""));
        const std::string path = (dir_ / format.name).string();
        const WriteResult written = WriteSurfaceMesh(path, objects.objects, 2, smooth);
        ASSERT_EQ(written.status, WriteStatus::kWritten) << written.error;
        const ReadBack back = Read(path);
        EXPECT_EQ(back.triangles, 2 * (torusCells + sphereCells));
        EXPECT_EQ(back.positions, vertices);
        if (format.indexed) {
            EXPECT_EQ(back.storedVertices, vertices);
        }
        EXPECT_EQ(back.unpairedEdges, 0);
        EXPECT_EQ(back.turnedAgainst, 0);
        for (const double volume : back.volumes) {
            EXPECT_GT(volume, 0.0);
        }
        if (format.coloured) {
            ASSERT_EQ(back.meshes, 2u);
            EXPECT_EQ(back.names, (std::vector<std::string>{"a_torus", "object2"}));
            EXPECT_EQ(back.colours[0],
                      (std::array<float, 3>{0xCC / 255.0f, 0x66 / 255.0f, 0x33 / 255.0f}));
            EXPECT_EQ(back.colours[1], (std::array<float, 3>{0.0f, 0x80 / 255.0f, 1.0f}));
        }
    }
}

// The smooth surfaces keep the triangles and every point on a patch side where it was (both lie
// on the same curves), and move the points inside. A waved sheet of 6 x 4 quads at resolution 2
// has 25 x 17 vertices: 7 x 17 + 5 x 25 - 7 x 5 on the sides, 24 x 9 inside.
TEST_F(SurfaceMeshWriterTest, SmoothSurfacesMoveOnlyThePointsInsideThePatches) {
    ObjectStore objects;
    PatchObject& sheet = Add(objects, modelgen::MakeGrid(6, 4), 0x3366CC, 0.0f);
    const SurfaceMesh today = BuildSurfaceMesh(sheet, 2);
    const SurfaceMesh smooth = BuildSurfaceMesh(sheet, 2, true);
    EXPECT_EQ(smooth.triangles, today.triangles);
    ASSERT_EQ(smooth.positions.size(), 25u * 17u);
    ASSERT_EQ(today.positions.size(), smooth.positions.size());
    int kept = 0;
    for (std::size_t i = 0; i < today.positions.size(); ++i) {
        const Vec3& a = today.positions[i];
        const Vec3& b = smooth.positions[i];
        kept += std::hypot(a.x - b.x, a.y - b.y, a.z - b.z) <= 1e-4f ? 1 : 0;
    }
    EXPECT_EQ(kept, 7 * 17 + 5 * 25 - 7 * 5);
}

TEST_F(SurfaceMeshWriterTest, FailedWritesKeepTheOldFiles) {
    ObjectStore objects;
    Add(objects, modelgen::MakeTorus(5, 5), 0xFFFFFF, 0.0f);
    const fs::path gltf = dir_ / "t.gltf";
    ASSERT_EQ(WriteSurfaceMesh(gltf.string(), objects.objects, 1).status, WriteStatus::kWritten);
    const std::string before = Contents(gltf);
    // The buffer file beside it made impossible to replace: the finer mesh is refused whole.
    std::vector<fs::path> buffers;
    for (const auto& entry : fs::directory_iterator(dir_)) {
        if (entry.path() != gltf) {
            buffers.push_back(entry.path());
        }
    }
    ASSERT_EQ(buffers.size(), 1u);
    fs::remove(buffers[0]);
    fs::create_directories(buffers[0] / "occupied");
    const WriteResult finer = WriteSurfaceMesh(gltf.string(), objects.objects, 3);
    EXPECT_NE(finer.status, WriteStatus::kWritten);
    EXPECT_NE(finer.error.find(buffers[0].filename().string()), std::string::npos) << finer.error;
    EXPECT_EQ(Contents(gltf), before);

    EXPECT_EQ(WriteSurfaceMesh((dir_ / "missing" / "t.obj").string(), objects.objects, 1).status,
              WriteStatus::kCannotCreate);
    EXPECT_EQ(WriteSurfaceMesh((dir_ / "t.gltf.txt").string(), objects.objects, 1).status,
              WriteStatus::kCannotCreate);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

// Normals survive coordinates near both ends of the float range, where their squared lengths
// underflow or overflow a float: unit length, pointing as at the ordinary size, and glTF accessor
// bounds that are finite with min <= max.
TEST_F(SurfaceMeshWriterTest, NormalsStayUnitAtEveryScale) {
    const modelgen::GeneratedModel torus = modelgen::MakeTorus(7, 5);
    const auto build = [&](float scale, ObjectStore& store) -> PatchObject& {
        modelgen::GeneratedModel scaled = torus;
        for (Vec3& p : scaled.positions) {
            p = Vec3{p.x * scale, p.y * scale, p.z * scale};
        }
        return Add(store, scaled, 0xFFFFFF, 0.0f);
    };
    ObjectStore ordinaryStore;
    const SurfaceMesh ordinary = BuildSurfaceMesh(build(1.0f, ordinaryStore), 2);
    ASSERT_FALSE(ordinary.normals.empty());
    for (const float scale : {1e-12f, 1e10f, 1e20f, 1e34f}) {
        SCOPED_TRACE(scale);
        ObjectStore store;
        const SurfaceMesh mesh = BuildSurfaceMesh(build(scale, store), 2);
        ASSERT_EQ(mesh.normals.size(), ordinary.normals.size());
        int astray = 0;
        for (std::size_t i = 0; i < mesh.normals.size(); ++i) {
            const Vec3& n = mesh.normals[i];
            const Vec3& o = ordinary.normals[i];
            const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
            astray +=
                !(std::fabs(length - 1.0f) < 1e-6f) || n.x * o.x + n.y * o.y + n.z * o.z < 0.9999f;
        }
        EXPECT_EQ(astray, 0);

        const std::string path = (dir_ / "scaled.gltf").string();
        const WriteResult written = WriteSurfaceMesh(path, store.objects, 2);
        ASSERT_EQ(written.status, WriteStatus::kWritten) << written.error;
        ExpectSoundAccessorBounds(path, 3);  // positions, normals, indices
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(path, 0);
        ASSERT_NE(scene, nullptr) << importer.GetErrorString();
        ASSERT_EQ(scene->mNumMeshes, 1u);
        const aiMesh& read = *scene->mMeshes[0];
        ASSERT_GT(read.mNumVertices, 0u);
        int notUnit = 0;
        for (unsigned i = 0; i < read.mNumVertices; ++i) {
            notUnit += !(std::fabs(LengthOf(read.mNormals[i]) - 1.0f) < 1e-6f);
        }
        EXPECT_EQ(notUnit, 0);
    }
}

// A control point that is not a number, or infinite, spoils the samples of every patch it shapes:
// those are left out of the mesh, and the rest of the surface is written with sound bounds.
TEST_F(SurfaceMeshWriterTest, NonFiniteSamplesAreLeftOut) {
    ObjectStore reference;
    const SurfaceMesh whole = BuildSurfaceMesh(Add(reference, modelgen::MakeTorus(7, 5), 0, 0), 1);
    for (const float spoiler :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        SCOPED_TRACE(spoiler);
        ObjectStore store;
        PatchObject& torus = Add(store, modelgen::MakeTorus(7, 5), 0, 0);
        PatchNetworkAccess::Points(torus)[0].x = spoiler;
        const SurfaceMesh mesh = BuildSurfaceMesh(torus, 1);
        EXPECT_GT(mesh.triangles.size(), whole.triangles.size() / 2);
        EXPECT_LT(mesh.triangles.size(), whole.triangles.size());
        ASSERT_EQ(mesh.normals.size(), mesh.positions.size());
        for (const Vec3& p : mesh.positions) {
            ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
        }
        for (const std::uint32_t corner : mesh.triangles) {
            ASSERT_LT(corner, mesh.positions.size());
        }
        const std::string path = (dir_ / "spoilt.gltf").string();
        ASSERT_EQ(WriteSurfaceMesh(path, store.objects, 1).status, WriteStatus::kWritten);
        ExpectSoundAccessorBounds(path, 3);
    }
}

}  // namespace
}  // namespace korvane
