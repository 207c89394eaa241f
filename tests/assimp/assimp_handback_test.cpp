#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <tuple>

#include "document/object_store.h"
#include "import/assimp_handback.h"
#include "import/assimp_import.h"
#include "import/assimp_weld.h"

namespace korvane {
namespace {

// Hand-back bytes written field by field, so that a test can put any value anywhere.
struct Bytes {
    std::string data = std::string(kHandBackMagic);
    Bytes() { U32(kHandBackVersion); }
    Bytes& U8(char c) {
        data.push_back(c);
        return *this;
    }
    Bytes& U32(std::uint32_t v) {
        data.append(reinterpret_cast<const char*>(&v), 4);
        return *this;
    }
    Bytes& F32(float v) { return U32(std::bit_cast<std::uint32_t>(v)); }
    Bytes& Text(char tag, std::string_view text) {
        U8(tag).U32(static_cast<std::uint32_t>(text.size()));
        data += text;
        return *this;
    }
};

// Fields of one mesh record; the defaults are a quad of four vertices and a line.
struct MeshFields {
    std::string name = "quad";
    std::uint32_t material = 1;
    std::uint32_t vertexCount = 4;
    std::vector<std::uint32_t> counts = {4, 2};
    std::optional<std::uint32_t> cornerTotal = std::nullopt;  // the sum of counts unless set
    std::vector<std::uint32_t> corners = {0, 1, 2, 3, 3, 0};
    std::uint32_t verticesWritten = 4;
};

Bytes& Mesh(Bytes& b, const MeshFields& m) {
    std::uint32_t sum = 0;
    for (const std::uint32_t c : m.counts) {
        sum += c;
    }
    b.Text('M', m.name).U32(m.material).F32(1.0f).F32(0.5f).F32(0.25f);
    b.U32(m.vertexCount).U32(static_cast<std::uint32_t>(m.counts.size()));
    b.U32(m.cornerTotal.value_or(sum));
    for (std::uint32_t v = 0; v < 3 * m.verticesWritten; ++v) {
        b.F32(static_cast<float>(v));
    }
    for (const std::uint32_t c : m.counts) {
        b.U32(c);
    }
    for (const std::uint32_t c : m.corners) {
        b.U32(c);
    }
    return b;
}

// A mesh record and an end record counting `meshes`, after what `before` holds.
std::string WithMesh(const MeshFields& fields, std::uint32_t meshes = 1, Bytes before = {}) {
    return Mesh(before, fields).U8('E').U32(meshes).data;
}

// `count` default mesh records after the header.
Bytes Meshes(int count) {
    Bytes b;
    for (int i = 0; i < count; ++i) {
        Mesh(b, {});
    }
    return b;
}

std::string Valid() {
    return WithMesh({});
}

TEST(HandBackTest, AWholeHandBackDecodesInPlace) {
    const std::string bytes = Valid();
    const HandBack back = DecodeHandBack(bytes);
    ASSERT_EQ(back.error, "");
    ASSERT_EQ(back.meshes.size(), 1u);
    const HandBackMesh& mesh = back.meshes[0];
    EXPECT_EQ(mesh.name, "quad");
    EXPECT_TRUE(mesh.hasMaterial);
    EXPECT_EQ(mesh.diffuse[1], 0.5f);
    EXPECT_EQ(mesh.vertexCount, 4u);
    EXPECT_EQ(HandBackCornerCount(mesh, 1), 2u);
    EXPECT_EQ(HandBackCorner(mesh, 5), 0u);
    float p[3];
    HandBackPosition(mesh, 3, p);
    EXPECT_EQ(p[2], 11.0f);

    // Every shorter piece of it is refused.
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        EXPECT_NE(DecodeHandBack(bytes.substr(0, length)).error, "") << length;
    }
}

TEST(HandBackTest, WhatTheHelperWritesReadsBack) {
    std::string bytes;
    AppendHandBackHeader(bytes);
    const float diffuse[3] = {0.1f, 0.2f, 0.3f};
    const std::vector<float> xyz = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 2, 2, 2};
    const std::vector<std::uint32_t> counts = {5, 2};
    const std::vector<std::uint32_t> corners = {0, 1, 4, 2, 3, 4, 0};
    AppendHandBackMesh(bytes, "", diffuse, xyz, counts, corners);
    AppendHandBackMesh(bytes, "plain", nullptr, xyz, {}, {});
    AppendHandBackText(bytes, 'X', "obj;3ds");
    AppendHandBackEnd(bytes, 2);
    const HandBack back = DecodeHandBack(bytes);
    ASSERT_EQ(back.error, "");
    ASSERT_EQ(back.meshes.size(), 2u);
    EXPECT_EQ(back.meshes[0].cornerTotal, 7u);
    EXPECT_EQ(back.meshes[0].diffuse[2], 0.3f);
    EXPECT_FALSE(back.meshes[1].hasMaterial);
    EXPECT_EQ(back.meshes[1].name, "plain");
    EXPECT_EQ(back.extensions, "obj;3ds");
    EXPECT_FALSE(back.refused);
}

// A helper that went wrong, or one that lies: nothing of the bytes is accepted.
TEST(HandBackTest, DamagedOrHostileBytesAreRefusedWhole) {
    const std::uint32_t huge = 0x7FFFFFFF;
    const std::vector<std::tuple<const char*, std::function<std::string()>, const char*>> cases = {
        {"no bytes", [] { return std::string(); }, "KVHB"},
        {"other magic", [] { return "KVHA" + Valid().substr(4); }, "KVHB"},
        {"other version", [] { return std::string(Bytes().data).replace(4, 1, "\x02"); },
         "version"},
        {"no end record",
         [] {
             Bytes b;
             return Mesh(b, {}).data;
         },
         "end record"},
        {"vertex count beyond the bytes", [=] { return WithMesh({.vertexCount = huge}); },
         "more than the bytes hold"},
        {"vertex count beyond 2^31 - 1", [] { return WithMesh({.vertexCount = 0x80000000u}); },
         "beyond"},
        {"corner total beyond the bytes", [=] { return WithMesh({.cornerTotal = huge}); },
         "more than the bytes hold"},
        {"corners that do not add up",
         [] {
             return WithMesh({.cornerTotal = 5, .corners = {0, 1, 2, 3, 3}});
         },
         "add up"},
        {"a corner past the vertices",
         [] {
             return WithMesh({.corners = {0, 1, 2, 4, 3, 0}});
         },
         "does not have"},
        {"a one-corner face",
         [] {
             return WithMesh({.counts = {4, 1, 1}, .corners = {0, 1, 2, 3, 3, 0}});
         },
         "fewer than two"},
        {"a material flag of 2", [] { return WithMesh({.material = 2}); }, "material"},
        {"an end that counts another number of meshes", [] { return WithMesh({}, 2); },
         "counts 2 meshes"},
        {"bytes after the end", [] { return Valid() + "x"; }, "after the end"},
        {"an unknown record", [] { return Bytes().U8('Q').U8('E').U32(0).data; }, "tag 81"},
        {"a refusal beside a mesh", [] { return WithMesh({}, 1, Bytes().Text('R', "no")); },
         "beside"},
        {"a name longer than the bytes", [] { return Bytes().U8('M').U32(huge).data + "abc"; },
         "cut short"},
    };
    for (const auto& [what, make, why] : cases) {
        const std::string bytes = make();
        const HandBack back = DecodeHandBack(bytes);
        EXPECT_NE(back.error.find(why), std::string::npos) << what << ": " << back.error;
        EXPECT_TRUE(back.meshes.empty()) << what;
        EXPECT_FALSE(back.refused) << what;
    }
}

// A budget that two default meshes (4 vertices, 2 faces, 6 corners, a name of 4 bytes) fill.
constexpr HandBackBudget kSmallBudget{
    .meshes = 2, .vertices = 8, .faces = 4, .corners = 12, .nameBytes = 8, .textBytes = 64};

// What the helper writes beside its meshes, and how far the meshes may go: at every limit of the
// budget a hand-back decodes, one past any of them it is damaged, whole.
TEST(HandBackTest, TheBudgetAndTheRecordsBesideTheMeshes) {
    const auto two = [](const MeshFields& second) { return WithMesh(second, 2, Meshes(1)); };
    const struct {
        const char* name;
        std::string bytes;
        const char* error;  // empty: decodes
        std::size_t meshes = 0;
        std::vector<std::string_view> sideFiles = {};
        const char* overBudget = "";
    } cases[] = {
        {"two meshes at every limit", two({}), "", 2},
        {"a third mesh", WithMesh({}, 3, Meshes(2)), "beyond the budget of one import (3 meshes"},
        {"one vertex too many", two({.vertexCount = 5, .verticesWritten = 5}), "9 vertices"},
        {"one face too many", two({.counts = {2, 2, 2}, .corners = {0, 1, 1, 2, 2, 3}}), "5 faces"},
        {"one corner too many", two({.counts = {4, 3}, .corners = {0, 1, 2, 3, 3, 0, 1}}),
         "13 corners"},
        {"a name one byte too long", two({.name = "quads"}), "beyond the budget"},
        {"texts one byte beyond the budget",
         WithMesh({}, 1, Bytes().Text('S', std::string(60, 's'))), "texts beyond the budget"},
        {"side files", WithMesh({}, 1, Bytes().Text('S', "a").Text('S', "b")), "", 1, {"a", "b"}},
        {"a budget record after meshes voids them",
         Meshes(1).Text('T', "over").U8('E').U32(1).data,
         "",
         0,
         {},
         "over"},
        {"a mesh after the budget record", WithMesh({}, 1, Bytes().Text('T', "over")),
         "a mesh after the budget record"},
        {"a refusal beside a budget record",
         Bytes().Text('R', "no").Text('T', "over").U8('E').U32(0).data,
         "a refusal beside a budget record"},
        {"an end that leaves out the voided meshes",
         Meshes(1).Text('T', "over").U8('E').U32(0).data, "counts 0 meshes, not 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const HandBack back = DecodeHandBack(c.bytes, kSmallBudget);
        if (*c.error == '\0') {
            ASSERT_EQ(back.error, "");
        } else {
            EXPECT_NE(back.error.find(c.error), std::string::npos) << back.error;
        }
        EXPECT_EQ(back.meshes.size(), c.meshes);
        EXPECT_EQ(back.sideFilesRefused, c.sideFiles);
        EXPECT_EQ(back.overBudget, c.overBudget);
        EXPECT_EQ(back.tooLarge, *c.overBudget != '\0');
    }
}

// The helper's output is cut off at HandBackByteLimit: the largest hand-back within the budget,
// every field at its limit, takes exactly that many bytes.
TEST(HandBackTest, TheByteLimitHoldsTheLargestHandBackWithinTheBudget) {
    Bytes b;
    b.Text('S', std::string(kSmallBudget.textBytes - 5, 's'));
    const std::string largest = WithMesh({}, 2, Mesh(b, {}));
    EXPECT_EQ(DecodeHandBack(largest, kSmallBudget).error, "");
    EXPECT_EQ(largest.size(), HandBackByteLimit(kSmallBudget));
    EXPECT_NE(DecodeHandBack(largest + "x", kSmallBudget).error, "");
}

// What the core makes of the records: side files told with the objects, a model beyond the
// budget told as too big, a hand-back beyond it as damage; neither adds anything.
TEST(HandBackTest, ImportTellsTheSideFilesAndTheBudget) {
    const struct {
        const char* name;
        std::string bytes;
        ImportStatus status;
        std::int32_t objects;
        std::int32_t sideFiles;
        const char* detail;
    } cases[] = {
        {"side files beside a mesh",
         WithMesh({}, 1, Bytes().Text('S', "side file \"a\"").Text('S', "side file \"b\"")),
         ImportStatus::kImported, 1, 2, "side file \"a\"; side file \"b\""},
        {"side files before a refusal",
         Bytes().Text('S', "side file \"a\"").Text('R', "could not open a").U8('E').U32(0).data,
         ImportStatus::kAssimpRefused, 0, 1, "side file \"a\"; could not open a"},
        {"a model beyond the budget", Meshes(1).Text('T', "40 faces").U8('E').U32(1).data,
         ImportStatus::kImporterOutOfMemory, 0, 0, "40 faces"},
        {"a hand-back beyond the budget", WithMesh({}, 3, Meshes(2)),
         ImportStatus::kImporterCrashed, 0, 0, "damaged data: meshes beyond the budget"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ObjectStore store;
        std::string detail;
        const ImportResult result =
            ImportHandBack(c.bytes, "title", 1.0f, store, &detail, kSmallBudget);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.objectsAdded, c.objects);
        EXPECT_EQ(store.objects.GetCount(), c.objects);
        EXPECT_EQ(result.sideFilesRefused, c.sideFiles);
        EXPECT_NE(detail.find(c.detail), std::string::npos) << detail;
    }
}

std::vector<float> Positions(std::initializer_list<float> values) {
    return values;
}

TEST(WeldTest, JoinsExactlyEqualPositionsInOrderOfFirstAppearance) {
    const float nan = std::bit_cast<float>(0x7FC00001u);
    const float otherNan = std::bit_cast<float>(0x7FC00002u);
    const float oneUp = std::nextafter(1.0f, 2.0f);
    const std::vector<float> xyz =
        Positions({1,         2,   3, 0.0f, 0,   0, 1, 2,        3, -0.0f, 0,     -0.0f, 1, 2,
                   oneUp * 3, nan, 0, 0,    nan, 0, 0, otherNan, 0, 0,     oneUp, 2,     3});
    std::vector<float> welded;
    std::vector<std::uint32_t> remap;
    WeldPositions(xyz, welded, remap);
    EXPECT_EQ(remap, (std::vector<std::uint32_t>{0, 1, 0, 1, 2, 3, 3, 4, 5}));
    ASSERT_EQ(welded.size(), 18u);
    EXPECT_EQ(welded[3], 0.0f);
    EXPECT_EQ(welded[15], oneUp);

    WeldPositions({}, welded, remap);
    EXPECT_TRUE(welded.empty());
    EXPECT_TRUE(remap.empty());
}

// A big mesh split as formats split it, on a grid whose coordinates differ in their low bits
// only, then as many vertices all distinct (the table grows): the weld agrees with an ordered map.
TEST(WeldTest, AgreesWithAnOrderedMapOnASplitGrid) {
    std::mt19937 random(7);
    std::vector<float> xyz;
    for (int i = 0; i < 400'000; ++i) {
        const int cell = i < 200'000 ? static_cast<int>(random() % 40'000) : i;
        xyz.insert(xyz.end(),
                   {1000.0f + static_cast<float>(cell % 200) * 0.001f,
                    static_cast<float>(cell / 200) * 0.25f, (random() % 2) ? 0.0f : -0.0f});
    }
    std::vector<float> welded;
    std::vector<std::uint32_t> remap;
    WeldPositions(xyz, welded, remap);
    std::map<std::tuple<float, float, float>, std::uint32_t> first;
    for (std::size_t i = 0; i < remap.size(); ++i) {
        const auto key = std::make_tuple(xyz[3 * i], xyz[3 * i + 1], xyz[3 * i + 2] + 0.0f);
        const auto [at, added] = first.emplace(key, static_cast<std::uint32_t>(first.size()));
        ASSERT_EQ(remap[i], at->second) << i;
    }
    EXPECT_EQ(welded.size(), 3 * first.size());
}

}  // namespace
}  // namespace korvane
