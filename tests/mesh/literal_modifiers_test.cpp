#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "literal_modifiers.h"
#include "mesh/mesh_operations.h"
#include "mesh_test_util.h"

// The mesh operations against the literal transcription on random valid meshes: same vertices
// (bit for bit), edges, lines, triangles and quads, in the same order.

namespace korvane {
namespace {

namespace ref = testing::reference;
using testing::Corners;
using testing::EdgePair;

struct Case {
    ref::Mesh mesh;
    ref::Settings settings;
};

Case RandomCase(std::mt19937& random) {
    auto pick = [&](std::int32_t n) {
        return static_cast<std::int32_t>(random() % static_cast<std::uint32_t>(n));
    };
    static const float kCoordinates[] = {-2.0f, -1.0f, -0.0f, 0.0f, 0.0f,
                                         0.25f, 0.5f,  1.0f,  2.5f, 3.0f};
    Case c;
    const std::int32_t v = pick(9);
    for (std::int32_t i = 0; i < v; ++i) {
        c.mesh.positions.push_back(
            Vec3{kCoordinates[pick(10)], kCoordinates[pick(10)], kCoordinates[pick(10)]});
    }
    if (v >= 2) {
        for (std::int32_t i = pick(4); i > 0; --i) {
            const std::int32_t a = pick(v);
            std::int32_t b = pick(v - 1);
            b += b >= a ? 1 : 0;  // lines join two different vertices
            // No line twice (in either order): the lathe would sweep it twice, giving
            // repeated edges (see LatheTest.RepeatedLineIsSweptTwice).
            bool repeated = false;
            for (const Corners& line : c.mesh.lines) {
                repeated =
                    repeated || (line[0] == a && line[1] == b) || (line[0] == b && line[1] == a);
            }
            if (!repeated) {
                c.mesh.lines.push_back({a, b});
            }
        }
    }
    if (v >= 1) {
        for (std::int32_t i = pick(5); i > 0; --i) {
            c.mesh.triangles.push_back({pick(v), pick(v), pick(v)});
        }
        for (std::int32_t i = pick(4); i > 0; --i) {
            c.mesh.quads.push_back({pick(v), pick(v), pick(v), pick(v)});
        }
    }
    static const std::int32_t kSegments[] = {3, 4, 5, 7, 12};
    static const float kDistances[] = {0.3f, 0.5f, 1.0f, 2.5f};
    c.settings.lathe = pick(2);
    c.settings.latheAxis = pick(4);
    c.settings.latheSegments = kSegments[pick(5)];
    c.settings.mirror = pick(5) == 0 ? 3 : pick(3);
    for (std::int32_t& axis : c.settings.mirrorAxis) {
        axis = pick(2);
    }
    c.settings.mirrorDistanceSet = pick(2);
    c.settings.mirrorDistance = kDistances[pick(4)];
    return c;
}

void Load(const Case& c, PolyMesh& mesh) {
    testing::SetVertices(mesh, c.mesh.positions);
    for (const Corners& f : c.mesh.lines) {
        testing::AddFace(mesh, FaceList::kLines, f);
    }
    for (const Corners& f : c.mesh.triangles) {
        testing::AddFace(mesh, FaceList::kTriangles, f);
    }
    for (const Corners& f : c.mesh.quads) {
        testing::AddFace(mesh, FaceList::kQuads, f);
    }
    mesh.mirror = static_cast<MirrorMode>(c.settings.mirror);
    mesh.mirrorDistanceSet = c.settings.mirrorDistanceSet != 0;
    mesh.mirrorAxisX = c.settings.mirrorAxis[0] != 0;
    mesh.mirrorAxisY = c.settings.mirrorAxis[1] != 0;
    mesh.mirrorAxisZ = c.settings.mirrorAxis[2] != 0;
    mesh.mirrorDistance = c.settings.mirrorDistance;
    mesh.lathe = c.settings.lathe != 0;
    mesh.latheAxis = AxisNumbered(c.settings.latheAxis);
    mesh.latheSegments = c.settings.latheSegments;
}

void ExpectSame(const PolyMesh& actual, const ref::Mesh& expected, int iteration) {
    ASSERT_EQ(actual.vertexCount(), static_cast<std::int32_t>(expected.positions.size()))
        << iteration;
    for (std::int32_t i = 0; i < actual.vertexCount(); ++i) {
        const Vec3& a = actual.positions[i];
        const Vec3& e = expected.positions[i];
        EXPECT_TRUE(std::memcmp(&a.x, &e.x, 4) == 0 && std::memcmp(&a.y, &e.y, 4) == 0 &&
                    std::memcmp(&a.z, &e.z, 4) == 0)
            << "iteration " << iteration << " vertex " << i;
    }
    EXPECT_EQ(testing::Edges(actual), expected.edges) << iteration;
    EXPECT_EQ(actual.edgesValid, expected.edgesValid) << iteration;
    EXPECT_EQ(testing::Faces(actual.lines), expected.lines) << iteration;
    EXPECT_EQ(testing::Faces(actual.triangles), expected.triangles) << iteration;
    EXPECT_EQ(testing::Faces(actual.quads), expected.quads) << iteration;
}

TEST(LiteralModifiersTest, BuildEdgesMatches) {
    std::mt19937 random(12345);
    for (int i = 0; i < 2000; ++i) {
        Case c = RandomCase(random);
        PolyMesh mesh;
        Load(c, mesh);
        BuildEdges(mesh);
        ref::BuildEdges(c.mesh);
        ExpectSame(mesh, c.mesh, i);
        testing::ExpectEdgesSound(mesh);
        if (HasFailure()) {
            return;
        }
    }
}

TEST(LiteralModifiersTest, ApplyModifiersMatches) {
    std::mt19937 random(2024);
    for (int i = 0; i < 3000; ++i) {
        Case c = RandomCase(random);
        PolyMesh mesh;
        Load(c, mesh);
        BuildEdges(mesh);
        ref::BuildEdges(c.mesh);
        ApplyModifiers(mesh);
        const bool ran = ref::Apply(c.mesh, c.settings);
        ExpectSame(mesh, c.mesh, i);
        testing::ExpectEdgesSound(mesh);
        if (ran) {
            testing::ExpectFacesSound(mesh);
            testing::ExpectFaceListsMatch(mesh);
        }
        if (HasFailure()) {
            return;
        }
    }
}

TEST(LiteralModifiersTest, SingleModifiersWithoutPriorEdgesMatch) {
    std::mt19937 random(77);
    for (int i = 0; i < 3000; ++i) {
        Case c = RandomCase(random);
        PolyMesh source;
        Load(c, source);
        PolyMesh target;
        ref::Mesh expected;
        switch (i % 4) {
            case 0:
                Lathe(source, target);
                expected = ref::Lathe(c.mesh, c.settings);
                break;
            default: {
                const int axis = i % 4 - 1;
                Mirror(source, target, AxisNumbered(axis));
                expected = ref::Mirror(c.mesh, c.settings, axis);
                break;
            }
        }
        ExpectSame(target, expected, i);
        testing::ExpectEdgesSound(target);
        if (HasFailure()) {
            return;
        }
    }
}

}  // namespace
}  // namespace korvane
