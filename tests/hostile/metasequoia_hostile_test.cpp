#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "document/object_store.h"
#include "hostile_models.h"
#include "hostile_support.h"

namespace korvane::testing {
namespace {

using MetasequoiaHostileTest = HostileTest;

const std::vector<std::string> kHostileCounts = {"0", "-1", "2147483647", "4294967295"};

std::string BinaryTriangle() {
    return LittleEndianFloats({0, 0, 0, 10, 0, 0, 0, 10, 0});
}

// A triangle object whose vertex count, face count and corner count are as given.
std::string StatedTriangle(const std::string& vertices, const std::string& faces,
                           const std::string& corners) {
    return Mqo("Object \"o\" {\n\tvertex " + vertices +
               " {\n\t\t0 0 0\n\t\t10 0 0\n\t\t0 10 0\n\t}\n\tface " + faces + " {\n\t\t" +
               corners + " V(0 1 2)\n\t}\n}\n");
}

// Every count the file states, set to nothing, negative or past any file's size: the count never
// decides how much is allocated, only the bytes that are there do.
TEST_F(MetasequoiaHostileTest, CountsOfNothingNegativeAndHuge) {
    for (const std::string& count : kHostileCounts) {
        const std::vector<std::string> files = {
            StatedTriangle(count, "1", "3"),
            StatedTriangle("3", count, "3"),
            StatedTriangle("3", "1", count),
            Mqo(BinaryVertexObject("o", count, "36", BinaryTriangle())),
            Mqo(BinaryVertexObject("o", "3", count, BinaryTriangle())),
        };
        for (const std::string& file : files) {
            SCOPED_TRACE(file.substr(0, 200));
            ObjectStore store;
            const ImportResult result = ImportAndConvert(file, store);
            EXPECT_EQ(result.status, ImportStatus::kImported);
            ASSERT_EQ(store.objects.GetCount(), 1);
            EXPECT_EQ(store.objects.GetHead()->name, "o");
            EXPECT_LE(ControlPointsOf(store), static_cast<std::int64_t>(file.size()));
            ExpectCliEnds(file, 0);
        }
        // Material lines are read past one per line: a huge count takes the rest of the file for
        // materials and says the file ended inside the chunk.
        const std::string materials =
            Mqo("Material " + count + " {\n\t\"m\" col(1 1 1 1)\n}\n" + TriangleObject("o"));
        ObjectStore store;
        const ImportResult result = ImportAndConvert(materials, store);
        const bool huge = count != "0" && count != "-1";
        EXPECT_EQ(result.truncated, huge) << count;
        EXPECT_EQ(store.objects.GetCount(), huge ? 0 : 1) << count;
        ExpectCliEnds(materials, 0);
    }
}

// A 3-vertex object whose second face names a vertex it does not have: that face is left out and
// counted, the valid one stays, and the tool warns.
TEST_F(MetasequoiaHostileTest, IndicesOutsideAThreeVertexObject) {
    for (const std::string index : {"-1", "3", "65535", "40000"}) {
        const std::string file =
            Mqo("Object \"o\" {\n\tvertex 3 {\n\t\t0 0 0\n\t\t10 0 0\n\t\t0 10 0\n"
                "\t}\n\tface 2 {\n\t\t3 V(0 1 2)\n\t\t3 V(0 " +
                index + " 2)\n\t}\n}\n");
        SCOPED_TRACE(index);
        ObjectStore store;
        const ImportResult result = ImportAndConvert(file, store);
        EXPECT_EQ(result.droppedFaces, 1);
        ASSERT_EQ(store.objects.GetCount(), 1);
        EXPECT_EQ(store.objects.GetHead()->PointCount(), 3);
        EXPECT_EQ(store.objects.GetHead()->Patches().size(), 1u);
        const ProcessResult cli = ExpectCliEnds(file, 0);
        EXPECT_NE(cli.err.find("warning"), std::string::npos) << cli.err;
    }
}

TEST_F(MetasequoiaHostileTest, NotANumberAndInfiniteCoordinates) {
    const std::string nanBits = LittleEndianFloats({std::nanf(""), 0, 0});
    const std::string infinityBits = LittleEndianFloats({HUGE_VALF, -HUGE_VALF, 0});
    const std::vector<std::string> files = {
        Mqo("Object \"o\" {\n\tvertex 4 {\n\t\tnan 0 0\n\t\tinf 10 0\n\t\t-inf 0 1e39\n\t\t0 10 "
            "-1e39\n\t}\n\tface 2 {\n\t\t4 V(0 1 2 3)\n\t\t3 V(0 1 2)\n\t}\n}\n"),
        Mqo(BinaryVertexObject("o", "3", "36",
                               nanBits + infinityBits + LittleEndianFloats({0, 1, 0}))),
    };
    for (const std::string& file : files) {
        ObjectStore store;
        const ImportResult result = ImportAndConvert(file, store);
        EXPECT_EQ(result.status, ImportStatus::kImported);
        ASSERT_EQ(store.objects.GetCount(), 1);
        const PatchObject& object = *store.objects.GetHead();
        ASSERT_GE(object.PointCount(), 3);
        EXPECT_TRUE(std::isnan(object.Points().front().x));
        EXPECT_TRUE(std::isinf(PointAt(object, 1).x));
        ExpectCliEnds(file, 0);
    }
}

// A 10 MB run of bytes at the top level, as an object's name, among its settings and in place of
// a coordinate: the token is cut, the rest of the file still reads.
TEST_F(MetasequoiaHostileTest, TenMegabyteToken) {
    const std::string token(10 << 20, 'k');
    const std::vector<std::string> files = {
        Mqo(token + "\n" + TriangleObject("o")),
        Mqo("Object \"" + token + "\" {\n\tvertex 3 {\n\t\t0 0 0\n\t\t1 0 0\n\t\t0 1 0\n\t}\n}\n"),
        Mqo(TriangleObject("o", "\t" + token + "\n")),
        Mqo("Object \"o\" {\n\tvertex 3 {\n\t\t0 0 0\n\t\t1 " + token +
            " 0\n\t\t0 1 0\n\t}\n\tface 1 {\n\t\t3 V(0 1 2)\n\t}\n}\n"),
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(i);
        ObjectStore store;
        const ImportResult result = ImportAndConvert(files[i], store);
        EXPECT_EQ(result.status, ImportStatus::kImported);
        ASSERT_EQ(store.objects.GetCount(), 1);
        EXPECT_LE(store.objects.GetHead()->name.size(), 127u);
        EXPECT_EQ(store.objects.GetHead()->PointCount(), 3);
        ExpectCliEnds(files[i], 0);
    }
}

// Braces that never close, close too often, or nest a million deep, wherever the reader counts
// them: the reader never recurses, so depth costs nothing but time.
TEST_F(MetasequoiaHostileTest, UnbalancedAndDeeplyNestedBraces) {
    std::string deep;
    for (int i = 0; i < 1'000'000; ++i) {
        deep += "{ ";
    }
    const std::vector<std::string> files = {
        Mqo("Scene {\n" + deep + "\n}\n" + TriangleObject("o")),
        Mqo("} } }\n" + TriangleObject("o") + "}\n"),
        Mqo(TriangleObject("o", deep)),
        Mqo("Object \"o\" {\n\tvertex 3 {\n\t\t0 0 0\n\t\t1 0 0\n\t\t0 1 0\n\t}\n\tvertexattr {\n" +
            deep + "\n"),
        Mqo("Object \"o\" {\n\tvertex 3 {\n\t\t0 0 0\n\t\t1 0 0\n\t\t0 1 0\n\t}\n\tface 1 {\n\t\t3 "
            "V(0 1 2)\n"),
        Mqo(BinaryVertexObject("o", "3", "36", BinaryTriangle()).substr(0, 80) + deep),
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(i);
        ObjectStore store;
        const ImportResult result = ImportAndConvert(files[i], store);
        EXPECT_EQ(result.status, ImportStatus::kImported);
        EXPECT_LE(store.objects.GetCount(), 1);
        ExpectCliEnds(files[i], 0);
    }
    ObjectStore extraClosing;
    ImportAndConvert(files[1], extraClosing);
    EXPECT_EQ(extraClosing.objects.GetCount(), 1) << "stray closing braces hide no object";
    ObjectStore unclosed;
    EXPECT_TRUE(ImportAndConvert(files[4], unclosed).truncated);
    EXPECT_EQ(unclosed.objects.GetCount(), 1) << "an object cut short keeps what was read";
}

// The vertex count and the block's byte count each bound how many vertices are read, and never
// more than the file has; the disagreement is reported.
TEST_F(MetasequoiaHostileTest, BinaryVertexCountAndByteSizeDisagree) {
    struct Case {
        std::string count;
        std::string blockBytes;
        std::int32_t points;
    };
    const std::vector<Case> cases = {
        {"100", "36", 3}, {"3", "24", 2}, {"3", "13", 1}, {"3", "-12", 0}, {"1", "36", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count + " " + c.blockBytes);
        const std::string file =
            Mqo(BinaryVertexObject("o", c.count, c.blockBytes, BinaryTriangle()));
        ObjectStore store;
        EXPECT_EQ(ImportAndConvert(file, store).vertexBlocksMismatched, 1);
        ASSERT_EQ(store.objects.GetCount(), 1);
        EXPECT_EQ(store.objects.GetHead()->PointCount(), c.points);
        ExpectCliEnds(file, 0);
    }
    // A block that claims more bytes than follow takes what is there and reports the cut.
    const std::string pastTheEnd = Mqo(BinaryVertexObject("o", "3", "1000", BinaryTriangle()));
    ObjectStore store;
    const ImportResult result = ImportAndConvert(pastTheEnd, store);
    EXPECT_TRUE(result.truncated);
    ASSERT_EQ(store.objects.GetCount(), 1);
    EXPECT_LE(store.objects.GetHead()->PointCount(),
              static_cast<std::int32_t>(pastTheEnd.size() / 12));
    ExpectCliEnds(pastTheEnd, 0);
}

// A lathe whose segment count would multiply a two-vertex profile past what memory holds is left
// out and reported; the object keeps its profile. A sensible lathe still sweeps.
TEST_F(MetasequoiaHostileTest, EnormousLatheSegmentCount) {
    for (const std::string segments : {"2097153", "1000000000", "2147483647", "4294967295"}) {
        SCOPED_TRACE(segments);
        const std::string file = Mqo(LatheObject(segments));
        ObjectStore store;
        const ImportResult result = ImportAndConvert(file, store);
        EXPECT_EQ(result.lathesLeftOut, 1);
        ASSERT_EQ(store.objects.GetCount(), 1);
        EXPECT_EQ(store.objects.GetHead()->PointCount(), 2);
        EXPECT_EQ(store.objects.GetHead()->SplineCount(), 1);
        ExpectCliEnds(file, 0);
    }
    ObjectStore swept;
    EXPECT_EQ(ImportAndConvert(Mqo(LatheObject("1000")), swept).lathesLeftOut, 0);
    EXPECT_EQ(swept.objects.GetHead()->PointCount(), 2000);
    // A turned profile of 300 lines at 256 segments, as a modeller makes one, is swept whole.
    ObjectStore modelled;
    EXPECT_EQ(ImportAndConvert(Mqo(LatheObject("256", "", 300)), modelled).lathesLeftOut, 0);
    EXPECT_EQ(modelled.objects.GetHead()->PointCount(), 301 * 256);
    // Each mirror axis doubles what the lathe made: within the limit alone, past it mirrored.
    ObjectStore mirrored;
    const std::string mirroredLathe = Mqo(LatheObject("262145", "\tmirror 1\n\tmirror_axis 7\n"));
    EXPECT_EQ(ImportAndConvert(mirroredLathe, mirrored).lathesLeftOut, 1);
    EXPECT_EQ(mirrored.objects.GetHead()->PointCount(), 2);
}

}  // namespace
}  // namespace korvane::testing
