#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "import/metasequoia_parser.h"

namespace korvane {
namespace {

// What a test needs of a mesh handed over by the parser.
struct ParsedMesh {
    std::string name;
    MirrorMode mirror = MirrorMode::kNone;
    bool mirrorAxis[3] = {};
    bool mirrorDistanceSet = false;
    float mirrorDistance = 0.0f;
    bool lathe = false;
    Axis latheAxis = Axis::kX;
    std::int32_t latheSegments = 0;
    std::vector<Vec3> positions;
    std::vector<MeshFace> triangles;
    std::int32_t lines = 0;
    std::int32_t quads = 0;
};

struct Parsed {
    ParseOutcome outcome;
    std::vector<ParsedMesh> meshes;
};

Parsed Parse(std::string_view text) {
    Parsed parsed;
    parsed.outcome = ParseMetasequoia(text, [&parsed](PolyMesh& mesh) {
        ParsedMesh& copy = parsed.meshes.emplace_back();
        copy.name = mesh.name;
        copy.mirror = mesh.mirror;
        copy.mirrorAxis[0] = mesh.mirrorAxisX;
        copy.mirrorAxis[1] = mesh.mirrorAxisY;
        copy.mirrorAxis[2] = mesh.mirrorAxisZ;
        copy.mirrorDistanceSet = mesh.mirrorDistanceSet;
        copy.mirrorDistance = mesh.mirrorDistance;
        copy.lathe = mesh.lathe;
        copy.latheAxis = mesh.latheAxis;
        copy.latheSegments = mesh.latheSegments;
        copy.positions.assign(mesh.positions.begin(), mesh.positions.begin() + mesh.vertexCount());
        copy.triangles.assign(mesh.triangles.begin(), mesh.triangles.end());
        copy.lines = mesh.lines.count();
        copy.quads = mesh.quads.count();
        EXPECT_TRUE(mesh.faces.empty());
    });
    return parsed;
}

std::string Object(const std::string& settings) {
    return "Metasequoia Document\nObject \"o\" {\n" + settings +
           " vertex 3 {\n  0 0 0\n  1 0 0\n  0 1 0\n }\n face 1 {\n  3 V(0 1 2)\n }\n}\nEof\n";
}

// x, y, z of each vertex as little-endian floats.
std::string FloatBytes(const std::vector<float>& values) {
    std::string bytes;
    for (float value : values) {
        const auto bits = std::bit_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<char>((bits >> shift) & 0xFF));
        }
    }
    return bytes;
}

void ExpectPosition(const Vec3& position, float x, float y, float z) {
    EXPECT_FLOAT_EQ(position.x, x);
    EXPECT_FLOAT_EQ(position.y, y);
    EXPECT_FLOAT_EQ(position.z, z);
}

TEST(MetasequoiaParserTest, SettingsKeepDefaultsUnlessSet) {
    const Parsed parsed =
        Parse(Object(" depth 0\n scale 1 1 1\n patch 3\n segment 2\n"
                     " visible 15\n locking 1\n shading 1\n facet 59.5\n"));
    ASSERT_EQ(parsed.meshes.size(), 1u);
    const ParsedMesh& mesh = parsed.meshes[0];
    EXPECT_EQ(mesh.mirror, MirrorMode::kNone);
    EXPECT_TRUE(mesh.mirrorAxis[0]);
    EXPECT_FALSE(mesh.mirrorAxis[1]);
    EXPECT_FALSE(mesh.mirrorAxis[2]);
    EXPECT_FALSE(mesh.mirrorDistanceSet);
    EXPECT_FALSE(mesh.lathe);
    EXPECT_EQ(mesh.latheAxis, Axis::kY);
    EXPECT_EQ(mesh.latheSegments, 12);
    EXPECT_EQ(mesh.positions.size(), 3u);
    EXPECT_EQ(mesh.triangles.size(), 1u);
}

// A mirror mode outside 0, 1 and 2 would leave the mirror nothing to write: the object is handed
// over unmirrored, and counted, unless a later mode of its own replaces it.
TEST(MetasequoiaParserTest, MirrorSettings) {
    struct Case {
        std::string settings;
        MirrorMode mode;
        std::int32_t leftOut;
    };
    const Case cases[] = {{" mirror 1\n", MirrorMode::kSeparate, 0},
                          {" mirror 7\n", MirrorMode::kNone, 1},
                          {" mirror -1\n", MirrorMode::kNone, 1},
                          {" mirror 3\n mirror 2\n", MirrorMode::kConnected, 0}};
    for (const Case& c : cases) {
        const Parsed parsed = Parse(Object(c.settings + " mirror_axis 6\n mirror_dis 50.0\n"));
        ASSERT_EQ(parsed.meshes.size(), 1u) << c.settings;
        const ParsedMesh& mesh = parsed.meshes[0];
        EXPECT_EQ(mesh.mirror, c.mode) << c.settings;
        EXPECT_EQ(parsed.outcome.mirrorsLeftOut, c.leftOut) << c.settings;
        EXPECT_FALSE(mesh.mirrorAxis[0]);
        EXPECT_TRUE(mesh.mirrorAxis[1]);
        EXPECT_TRUE(mesh.mirrorAxis[2]);
        EXPECT_TRUE(mesh.mirrorDistanceSet);
        EXPECT_FLOAT_EQ(mesh.mirrorDistance, 5.0f);
    }
}

TEST(MetasequoiaParserTest, LatheSettings) {
    struct Case {
        std::string settings;
        bool lathe;
        Axis axis;
        std::int32_t segments;
    };
    const Case cases[] = {{" lathe 5\n lathe_axis 2\n lathe_seg 2\n", true, Axis::kZ, 3},
                          {" lathe 1\n lathe 0\n lathe_seg 24\n", true, Axis::kY, 24},
                          {" lathe 0\n lathe_axis 0\n lathe_seg -5\n", false, Axis::kX, 3}};
    for (const Case& c : cases) {
        const Parsed parsed = Parse(Object(c.settings));
        ASSERT_EQ(parsed.meshes.size(), 1u) << c.settings;
        EXPECT_EQ(parsed.meshes[0].lathe, c.lathe) << c.settings;
        EXPECT_EQ(parsed.meshes[0].latheAxis, c.axis) << c.settings;
        EXPECT_EQ(parsed.meshes[0].latheSegments, c.segments) << c.settings;
    }
}

// "Vector n [bytes]" as Metasequoia writes it: n vertices in a block of the bracketed size. When
// the two disagree, or the file ends inside the block, only the whole vertices that both allow and
// the file holds are read, and the disagreement is counted. Blocks hold braces and line feeds.
TEST(MetasequoiaParserTest, BinaryVertexBlocks) {
    const std::string six = FloatBytes({1, 2, 3, 4.5f, 5, 6});
    struct Case {
        std::string vectorLine;  // after "Vector ", up to the block
        std::string block;
        std::size_t vertices;
        std::int32_t mismatched;
        bool truncated;
    };
    const std::vector<Case> cases = {
        {"2 [24]\n", six, 2, 0, false},
        {"2 [24]\r\n", six, 2, 0, false},
        {"2 [30]\n", six + "}}\n{}}", 2, 1, false},  // six bytes past the last vertex
        {"9 [30]\n", six + "}}\n{}}", 2, 1, false},  // the count claims more
        {"1 [24]\n", six, 1, 1, false},              // the bytes hold more
        {"2\n", six, 2, 0, false},                   // no bracketed size: the count
        {"0 [0]\n", "", 0, 0, false},
        {"100 [1200]\n", six + FloatBytes({7}), 2, 0, true},  // the file ends in the block
        {"2000000000 [2000000000]\n", six, 2, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vectorLine);
        const std::string text =
            "Metasequoia Document\nObject \"b\" {\n\tBVertex 2 {\n\t\tVector " + c.vectorLine +
            c.block + "\n\t}\n\tface 1 {\n\t\t2 V(0 1)\n\t}\n}\nObject \"after\" {\n}\nEof\n";
        const Parsed parsed =
            Parse(c.truncated ? text.substr(0, text.find(c.block) + c.block.size()) : text);
        EXPECT_EQ(parsed.outcome.truncated, c.truncated);
        EXPECT_EQ(parsed.outcome.vertexBlocksMismatched, c.mismatched);
        ASSERT_EQ(parsed.meshes.size(), c.truncated ? 1u : 2u);
        const ParsedMesh& mesh = parsed.meshes[0];
        ASSERT_EQ(mesh.positions.size(), c.vertices);
        if (c.vertices == 2) {
            ExpectPosition(mesh.positions[0], 0.1f, 0.2f, -0.3f);
            ExpectPosition(mesh.positions[1], 0.45f, 0.5f, -0.6f);
            EXPECT_EQ(mesh.lines, c.truncated ? 0 : 1);
        }
        if (!c.truncated) {
            EXPECT_EQ(parsed.meshes[1].name, "after");
        }
    }
}

TEST(MetasequoiaParserTest, HugeCountsAllocateOnlyWhatTheFileCanHold) {
    const std::string text =
        "Metasequoia Document\nObject \"h\" {\n vertex 2000000000 {\n  1 2 3\n  4 5 6\n }\n"
        " face 2000000000 {\n  2000000000 V(0 1 0 1 0 1)\n  3 V(0 1 1)\n }\n}\n";
    const Parsed parsed = Parse(text);
    ASSERT_EQ(parsed.meshes.size(), 1u);
    const ParsedMesh& mesh = parsed.meshes[0];
    EXPECT_LE(mesh.positions.size(), text.size() / 6);
    ASSERT_GE(mesh.positions.size(), 2u);
    ExpectPosition(mesh.positions[1], 0.4f, 0.5f, -0.6f);
    EXPECT_LE(mesh.triangles.size(), 1u);
}

TEST(MetasequoiaParserTest, MissingVertexLinesReadAsZeroWithoutLosingTheFaces) {
    const Parsed parsed = Parse(
        "Metasequoia Document\nObject \"m\" {\n vertex 3 {\n  1 2 3\n }\n face 1 {\n"
        "  3 V(0 1 2)\n }\n}\nObject \"n\" {\n}\nEof\n");
    ASSERT_EQ(parsed.meshes.size(), 2u);
    const ParsedMesh& mesh = parsed.meshes[0];
    ASSERT_EQ(mesh.positions.size(), 3u);
    ExpectPosition(mesh.positions[0], 0.1f, 0.2f, -0.3f);
    ExpectPosition(mesh.positions[2], 0.0f, 0.0f, 0.0f);
    ASSERT_EQ(mesh.triangles.size(), 1u);
    EXPECT_EQ(mesh.triangles[0].corners[2], 2);
    EXPECT_EQ(parsed.meshes[1].name, "n");
}

TEST(MetasequoiaParserTest, ObjectCutShortKeepsWhatWasRead) {
    const std::string full =
        "Metasequoia Document\nObject \"cut\" {\n vertex 3 {\n  0 0 0\n  10 0 0\n  0 10 0\n }\n"
        " face 3 {\n  3 V(0 1 2)\n  2 V(1 2)\n  3 V(2 1 0)\n }\n}\nEof\n";
    const std::size_t inSecondVertex = full.find("10 0 0") + 4;
    Parsed parsed = Parse(full.substr(0, inSecondVertex));
    EXPECT_TRUE(parsed.outcome.truncated);
    ASSERT_EQ(parsed.meshes.size(), 1u);
    EXPECT_EQ(parsed.meshes[0].name, "cut");
    EXPECT_EQ(parsed.meshes[0].positions.size(), 2u);

    const std::size_t inThirdFace = full.find("3 V(2 1") + 6;
    parsed = Parse(full.substr(0, inThirdFace));
    EXPECT_TRUE(parsed.outcome.truncated);
    ASSERT_EQ(parsed.meshes.size(), 1u);
    EXPECT_EQ(parsed.meshes[0].positions.size(), 3u);
    EXPECT_EQ(parsed.meshes[0].triangles.size(), 1u);
    EXPECT_EQ(parsed.meshes[0].lines, 1);

    parsed = Parse("Metasequoia Document\nObject");
    EXPECT_TRUE(parsed.outcome.truncated);
    ASSERT_EQ(parsed.meshes.size(), 1u);
    EXPECT_EQ(parsed.meshes[0].name, "metaseq_obj_01");
}

TEST(MetasequoiaParserTest, EofEndsTheFile) {
    const Parsed parsed = Parse("Metasequoia Document\nEof\nObject \"late\" {\n}\n");
    EXPECT_TRUE(parsed.meshes.empty());
    EXPECT_FALSE(parsed.outcome.truncated);
}

}  // namespace
}  // namespace korvane
