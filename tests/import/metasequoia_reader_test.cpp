#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "document/object_store.h"
#include "import/metasequoia_reader.h"
#include "import_test_support.h"

namespace korvane {
namespace {

using testing::NamesOf;
using testing::ObjectsOf;
using testing::PointAt;
using testing::SplineEnds;

std::string Mqo(const std::string& body) {
    return "Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\n" + body + "Eof\r\n";
}

// An object with the given head (name and settings) and a unit triangle.
std::string Triangle(const std::string& head) {
    return "Object " + head +
           " {\n\tvertex 3 {\n\t\t0 0 0\n\t\t10 0 0\n\t\t0 10 0\n\t}\n"
           "\tface 1 {\n\t\t3 V(0 1 2)\n\t}\n}\n";
}

TEST(MetasequoiaReaderTest, FileWithOnlyEofAddsNothing) {
    ObjectStore store;
    const ImportResult result = ImportMetasequoiaBytes(Mqo(""), store);
    EXPECT_EQ(result.status, ImportStatus::kImported);
    EXPECT_EQ(result.objectsAdded, 0);
    EXPECT_FALSE(result.truncated);
    EXPECT_TRUE(store.objects.IsEmpty());
}

TEST(MetasequoiaReaderTest, FirstWordMustBeMetasequoia) {
    const std::string texts[] = {"Metasequoiax Document\nObject \"a\" {\n", "LWO2",
                                 "metasequoia Document\n" + Triangle("\"a\""), ""};
    for (const std::string& text : texts) {
        ObjectStore store;
        EXPECT_EQ(ImportMetasequoiaBytes(text, store).status, ImportStatus::kNotThatFormat);
        EXPECT_TRUE(store.objects.IsEmpty());
    }
    ObjectStore store;
    EXPECT_EQ(ImportMetasequoiaBytes("\r\n\t Metasequoia\n" + Triangle("\"a\""), store).status,
              ImportStatus::kImported);
    EXPECT_EQ(NamesOf(store), std::vector<std::string>{"a"});
}

TEST(MetasequoiaReaderTest, ObjectNames) {
    ObjectStore store;
    const std::string body = Triangle("\"\"") + Triangle("\"a b\"") + Triangle("plain\"") +
                             Triangle("\"\x83\x7E\x83\x4E\"") + Triangle("\"\"\"");
    EXPECT_EQ(ImportMetasequoiaBytes(Mqo(body), store).objectsAdded, 5);
    EXPECT_EQ(NamesOf(store), (std::vector<std::string>{"metaseq_obj_01", "a", "plain\"",
                                                        "\x83\x7E\x83\x4E", "\""}));
}

TEST(MetasequoiaReaderTest, OverlongNameIsCut) {
    ObjectStore store;
    ImportMetasequoiaBytes(Mqo(Triangle("\"" + std::string(300, 'n') + "\"")), store);
    ASSERT_EQ(store.objects.GetCount(), 1);
    EXPECT_EQ(store.objects.GetHead()->name, std::string(126, 'n'));
    EXPECT_EQ(store.objects.GetHead()->PointCount(), 3);
}

TEST(MetasequoiaReaderTest, VerticesAreScaledWithZReversed) {
    ObjectStore store;
    ImportMetasequoiaBytes(Mqo("Object \"p\" {\n vertex 2 {\n 1 2 3\n -10 0.5e1 +20\n }\n}\n"),
                           store);
    ASSERT_EQ(store.objects.GetCount(), 1);
    const PatchObject& object = *store.objects.GetHead();
    ASSERT_EQ(object.PointCount(), 2);
    EXPECT_FLOAT_EQ(PointAt(object, 0).x, 0.1f);
    EXPECT_FLOAT_EQ(PointAt(object, 0).y, 0.2f);
    EXPECT_FLOAT_EQ(PointAt(object, 0).z, -0.3f);
    EXPECT_FLOAT_EQ(PointAt(object, 1).x, -1.0f);
    EXPECT_FLOAT_EQ(PointAt(object, 1).y, 0.5f);
    EXPECT_FLOAT_EQ(PointAt(object, 1).z, -2.0f);
}

TEST(MetasequoiaReaderTest, ColourIsPackedRedInTheLowByte) {
    ObjectStore store;
    ImportMetasequoiaBytes(Mqo(Triangle("\"c\" {\n color 1.000 0.500 0.000\n color_type 0\n") +
                               Triangle("\"d\"") + Triangle("\"e\" {\n color 0.898 0.498 0.698\n")),
                           store);
    const auto objects = ObjectsOf(store);
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(objects[0]->colour, 32767u);
    EXPECT_EQ(objects[1]->colour, 0xDCD2BEu);
    EXPECT_EQ(objects[2]->colour, 228u + 126u * 256u + 177u * 65536u);
}

TEST(MetasequoiaReaderTest, FacesBecomeSplinesByCornerCount) {
    ObjectStore store;
    const std::string object =
        "Object \"f\" {\n vertex 5 {\n 0 0 0\n 1 0 0\n 1 1 0\n 0 1 0\n 2 2 2\n }\n"
        " face 4 {\n  4 V(0 1 2 3) M(0) UV(0 0 1 0 1 1 0 1)\n  3 V(0 1 4)\n"
        "  5 V(0 1 2 3 4)\n  2 V(3 4)\n }\n}\n";
    const ImportResult result = ImportMetasequoiaBytes(Mqo(object), store);
    EXPECT_EQ(result.outlineFaces, 1);
    ASSERT_EQ(store.objects.GetCount(), 1);
    PatchObject& spline = *store.objects.GetHead();
    EXPECT_EQ(spline.PointCount(), 5);
    // The lines first: the pentagon's outline in its place, then the line (3 4) it already has;
    // then the triangle's and the quad's new edges.
    using Ends = std::vector<std::pair<std::int32_t, std::int32_t>>;
    EXPECT_EQ(SplineEnds(spline), (Ends{{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 0}, {1, 4}, {3, 0}}));
}

// A face of five or more corners keeps its outline as curves, without a patch; a step to the same
// vertex makes no curve, and a corner out of range drops the whole face.
TEST(MetasequoiaReaderTest, FacesOfFiveOrMoreCornersKeepTheirOutline) {
    using Ends = std::vector<std::pair<std::int32_t, std::int32_t>>;
    struct Case {
        std::string faces;
        Ends splines;
        std::int32_t outlines;
        std::int32_t dropped;
    };
    const std::vector<Case> cases = {
        {"5 V(0 1 2 3 4)", {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 0}}, 1, 0},
        {"6 V(4 1 1 2 3 4)", {{4, 1}, {1, 2}, {2, 3}, {3, 4}}, 1, 0},
        {"5 V(0 1 2 3 9)", {}, 0, 1},
        {"5 V(0 1 2 3 -1)", {}, 0, 1},
        {"5 V(0 1 2)", {}, 0, 0},  // corners missing: no outline to keep
        {"3 V(0 1 2)\n  5 V(4 3 2 1 0)\n  2 V(0 4)",
         {{4, 3}, {3, 2}, {2, 1}, {1, 0}, {0, 4}, {2, 0}},
         1,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.faces);
        ObjectStore store;
        const std::string object =
            "Object \"n\" {\n vertex 5 {\n 0 0 0\n 1 0 0\n 1 1 0\n 0 1 0\n 2 2 2\n }\n face 9 {\n "
            " " +
            c.faces + "\n }\n}\n";
        const ImportResult result = ImportMetasequoiaBytes(Mqo(object), store);
        EXPECT_EQ(result.outlineFaces, c.outlines);
        EXPECT_EQ(result.droppedFaces, c.dropped);
        ASSERT_EQ(store.objects.GetCount(), 1);
        EXPECT_EQ(store.objects.GetHead()->PointCount(), 5);
        EXPECT_EQ(SplineEnds(*store.objects.GetHead()), c.splines);
    }
}

TEST(MetasequoiaReaderTest, ObjectWithoutVerticesOrFacesKeepsNameAndColour) {
    ObjectStore store;
    const std::string body =
        "Object \"empty\" {\n\tcolor 0 0 1\n\tvertex 0 {\n\t}\n}\n" + Triangle("\"next\"");
    const ImportResult result = ImportMetasequoiaBytes(Mqo(body), store);
    EXPECT_EQ(result.objectsAdded, 2);
    EXPECT_FALSE(result.truncated);
    const auto objects = ObjectsOf(store);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]->name, "empty");
    EXPECT_EQ(objects[0]->colour, 0xFF0000u);
    EXPECT_EQ(objects[0]->PointCount(), 0);
    EXPECT_EQ(objects[1]->name, "next");
    EXPECT_EQ(objects[1]->SplineCount(), 3);
}

TEST(MetasequoiaReaderTest, ObjectWithoutVertexChunkEndsAtItsClosingBrace) {
    ObjectStore store;
    const ImportResult result = ImportMetasequoiaBytes(
        Mqo("Object \"bare\" {\n\tcolor 1 0 0\n}\n" + Triangle("\"next\" {\n\tcolor 0 1 0\n")),
        store);
    EXPECT_FALSE(result.truncated);
    const auto objects = ObjectsOf(store);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]->name, "bare");
    EXPECT_EQ(objects[0]->colour, 0x0000FFu);
    EXPECT_EQ(objects[0]->PointCount(), 0);
    EXPECT_EQ(objects[1]->name, "next");
    EXPECT_EQ(objects[1]->colour, 0x00FF00u);
    EXPECT_EQ(objects[1]->PointCount(), 3);
}

TEST(MetasequoiaReaderTest, SceneWithNestedBlockDoesNotDisturbObjects) {
    const std::string scene =
        "Scene {\n\tpos 0 0 1500\n\tlookat 0 0 0\n\thead -0.5\n\tpich 0.5\n\tbank 0\n\tortho 0\n"
        "\tzoom2 5\n\tamb 0.25 0.25 0.25\n\tdirlights 1 {\n\t\tlight {\n\t\t\tdir 0 0 1\n"
        "\t\t\tcolor 1 1 1\n\t\t}\n\t}\n}\n";
    ObjectStore store;
    ImportMetasequoiaBytes(Mqo(scene + Triangle("\"one\"") + scene + Triangle("\"two\"")), store);
    EXPECT_EQ(NamesOf(store), (std::vector<std::string>{"one", "two"}));
    for (const PatchObject* object : store.objects) {
        EXPECT_EQ(object->PointCount(), 3);
        EXPECT_EQ(object->SplineCount(), 3);
    }
}

TEST(MetasequoiaReaderTest, MaterialLinesAreReadPastWholly) {
    // Parameters, quoted paths with blanks and parentheses, a byte 0xFF and an unknown keyword.
    const std::string materials =
        "Material 3 {\n"
        "\t\"mat1\" shader(3) col(1.000 1.000 1.000 1.000) dif(0.800) amb(0.600) emi(0.000) "
        "spc(0.000) power(5.00) tex(\"my dir (2)/a b.png\") alpha(\"x y.png\") bump(\"b "
        "}.png\")\r\n"
        "\t\"\xff\xfe\" col(0.5 0.5 0.5 1) vcol(1) proj_type(0) tex(unquoted path)\n"
        "\t\"Object\" dif(1)\n"
        "}\n";
    ObjectStore store;
    ImportMetasequoiaBytes(Mqo(materials + Triangle("\"after\"")), store);
    EXPECT_EQ(NamesOf(store), std::vector<std::string>{"after"});
    EXPECT_EQ(store.objects.GetHead()->SplineCount(), 3);
}

TEST(MetasequoiaReaderTest, VertexAttributesAreReadPast) {
    const std::string object =
        "Object \"w\" {\n vertex 3 {\n 0 0 0\n 1 0 0\n 0 1 0\n }\n"
        " vertexattr {\n  weit {\n   0 0.5\n   2 1.0\n  }\n  color {\n   1 4294967295\n  }\n"
        "  uid {\n   0 1\n  }\n }\n face 1 {\n  3 V(0 1 2)\n }\n}\n";
    ObjectStore store;
    ImportMetasequoiaBytes(Mqo(object + Triangle("\"x\"")), store);
    EXPECT_EQ(NamesOf(store), (std::vector<std::string>{"w", "x"}));
    EXPECT_EQ(store.objects.GetHead()->SplineCount(), 3);
}

TEST(MetasequoiaReaderTest, FacesWithIndicesOutOfRangeAreDroppedAndCounted) {
    const std::string object =
        "Object \"r\" {\n vertex 3 {\n 0 0 0\n 1 0 0\n 0 1 0\n }\n"
        " face 4 {\n  3 V(0 1 3)\n  3 V(0 -1 2)\n  2 V(0 2147483647)\n  3 V(0 1 2)\n }\n}\n";
    ObjectStore store;
    const ImportResult result = ImportMetasequoiaBytes(Mqo(object + object), store);
    EXPECT_EQ(result.droppedFaces, 6);
    for (const PatchObject* object3 : store.objects) {
        EXPECT_EQ(object3->PointCount(), 3);
        EXPECT_EQ(object3->SplineCount(), 3);
    }
}

// An object whose mirror mode is unknown keeps its geometry unmirrored, and is counted.
TEST(MetasequoiaReaderTest, ModifiersAreBakedIn) {
    const std::string body =
        Triangle("\"mirrored\" {\n mirror 1\n") +
        "Object \"lathed\" {\n lathe 1\n lathe_axis 1\n lathe_seg 4\n vertex 2 {\n 10 0 0\n"
        " 5 20 0\n }\n face 1 {\n 2 V(0 1)\n }\n}\n" +
        Triangle("\"unknown\" {\n mirror 7\n");
    ObjectStore store;
    const ImportResult result = ImportMetasequoiaBytes(Mqo(body), store);
    EXPECT_EQ(result.mirrorsLeftOut, 1);
    const auto objects = ObjectsOf(store);
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(objects[2]->PointCount(), 3);
    EXPECT_EQ(objects[2]->SplineCount(), 3);
    EXPECT_EQ(objects[0]->PointCount(), 6);
    EXPECT_EQ(objects[0]->SplineCount(), 6);
    EXPECT_FLOAT_EQ(PointAt(*objects[0], 4).x, -1.0f);
    EXPECT_EQ(objects[1]->PointCount(), 8);
    EXPECT_EQ(objects[1]->SplineCount(), 12);
}

TEST(MetasequoiaReaderTest, NanAndInfinityCoordinatesPassThrough) {
    ObjectStore store;
    const ImportResult result = ImportMetasequoiaBytes(
        Mqo("Object \"n\" {\n vertex 3 {\n nan inf -inf\n 1e999 0 0\n 0 1 0\n }\n"
            " face 1 {\n 3 V(0 1 2)\n }\n}\n"),
        store);
    ASSERT_EQ(result.objectsAdded, 1);
    const PatchObject& object = *store.objects.GetHead();
    EXPECT_TRUE(std::isnan(PointAt(object, 0).x));
    EXPECT_EQ(PointAt(object, 0).y, INFINITY);
    EXPECT_EQ(PointAt(object, 0).z, INFINITY);  // -(-inf * 0.1)
    EXPECT_EQ(PointAt(object, 1).x, INFINITY);
    EXPECT_EQ(object.SplineCount(), 3);
}

}  // namespace
}  // namespace korvane
