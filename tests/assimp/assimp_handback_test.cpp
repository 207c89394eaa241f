#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <tuple>

#include "import/assimp_handback.h"
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
    b.Text('M', "quad").U32(m.material).F32(1.0f).F32(0.5f).F32(0.25f);
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
