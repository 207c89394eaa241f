#include <gtest/gtest.h>

#include <cstring>

#include "literal_modifiers.h"
#include "mesh/mesh_operations.h"
#include "mesh_test_util.h"
#include "tools/modelgen/model_shapes.h"

// The mesh operations against the literal transcription on the generated benchmark models, at
// sizes the literal searches still manage: poles whose fans put hundreds of sides on one vertex,
// sheets with holes, halves with vertices exactly on the mirror plane, and lathe profiles.

namespace korvane {
namespace {

namespace ref = testing::reference;
using modelgen::GeneratedModel;

struct Loaded {
    PolyMesh mesh;
    ref::Mesh literal;
    ref::Settings settings;
};

void Load(const GeneratedModel& model, Loaded& loaded) {
    testing::SetVertices(loaded.mesh, model.positions);
    loaded.literal.positions = model.positions;
    std::size_t at = 0;
    for (const std::uint8_t count : model.cornerCounts) {
        const testing::Corners corners(
            model.corners.begin() + static_cast<std::ptrdiff_t>(at),
            model.corners.begin() + static_cast<std::ptrdiff_t>(at) + count);
        at += count;
        const FaceList list = count == 2   ? FaceList::kLines
                              : count == 3 ? FaceList::kTriangles
                                           : FaceList::kQuads;
        testing::AddFace(loaded.mesh, list, corners);
        (count == 2   ? loaded.literal.lines
         : count == 3 ? loaded.literal.triangles
                      : loaded.literal.quads)
            .push_back(corners);
    }
    PolyMesh& mesh = loaded.mesh;
    ref::Settings& settings = loaded.settings;
    settings.mirror = model.mirror;
    settings.mirrorAxis[0] = model.mirrorAxes & 1;
    settings.mirrorAxis[1] = (model.mirrorAxes >> 1) & 1;
    settings.mirrorAxis[2] = (model.mirrorAxes >> 2) & 1;
    settings.lathe = model.lathe != 0 ? 1 : 0;
    mesh.mirror = static_cast<MirrorMode>(settings.mirror);
    mesh.mirrorAxisX = settings.mirrorAxis[0] != 0;
    mesh.mirrorAxisY = settings.mirrorAxis[1] != 0;
    mesh.mirrorAxisZ = settings.mirrorAxis[2] != 0;
    mesh.lathe = settings.lathe != 0;
    settings.latheAxis = model.latheAxis;
    mesh.latheAxis = AxisNumbered(model.latheAxis);
    mesh.latheSegments = settings.latheSegments = model.latheSegments;
}

void ExpectSame(const PolyMesh& actual, const ref::Mesh& expected) {
    ASSERT_EQ(actual.vertexCount(), static_cast<std::int32_t>(expected.positions.size()));
    EXPECT_EQ(std::memcmp(actual.positions.begin(), expected.positions.data(),
                          expected.positions.size() * sizeof(Vec3)),
              0);
    EXPECT_EQ(testing::Edges(actual), expected.edges);
    EXPECT_EQ(testing::Faces(actual.lines), expected.lines);
    EXPECT_EQ(testing::Faces(actual.triangles), expected.triangles);
    EXPECT_EQ(testing::Faces(actual.quads), expected.quads);
}

TEST(GeneratedIdentityTest, EdgesOfEveryShapeMatchTheLiteralSearch) {
    const GeneratedModel models[] = {modelgen::MakeGrid(23, 17),
                                     modelgen::MakeTorus(31, 12),
                                     modelgen::MakeSphere(300, 9),
                                     modelgen::MakeSphere(3, 2),
                                     modelgen::MakeTriangleSoup(29, 31, 7),
                                     modelgen::MakeMirrorHalf(13, 11, 3),
                                     modelgen::MakeLatheProfile(40, 6)};
    for (const GeneratedModel& model : models) {
        SCOPED_TRACE(model.name + " of " + std::to_string(model.FaceCount()) + " faces");
        Loaded loaded;
        Load(model, loaded);
        BuildEdges(loaded.mesh);
        ref::BuildEdges(loaded.literal);
        ExpectSame(loaded.mesh, loaded.literal);
    }
}

TEST(GeneratedIdentityTest, ConnectedMirrorsAndLathesMatchTheLiteralModifiers) {
    const GeneratedModel models[] = {
        modelgen::MakeMirrorHalf(14, 9, 1), modelgen::MakeMirrorHalf(9, 14, 3),
        modelgen::MakeLatheProfile(25, 17), modelgen::MakeLatheProfile(3, 3),
        modelgen::MakeLatheProfile(4, 150)};
    for (const GeneratedModel& model : models) {
        SCOPED_TRACE(model.name + " of " + std::to_string(model.FaceCount()) + " faces");
        Loaded loaded;
        Load(model, loaded);
        BuildEdges(loaded.mesh);
        ref::BuildEdges(loaded.literal);
        ApplyModifiers(loaded.mesh);
        ASSERT_TRUE(ref::Apply(loaded.literal, loaded.settings));
        ExpectSame(loaded.mesh, loaded.literal);
        testing::ExpectFaceListsMatch(loaded.mesh);
    }
}

}  // namespace
}  // namespace korvane
