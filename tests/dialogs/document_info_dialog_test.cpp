#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/dialogs/document_info_dialog.h"
#include "patch/curve_connector.h"
#include "patch/patch_builder.h"
#include "support/network_builder.h"

namespace korvane {
namespace {

using testing::NetworkBuilder;

// Owns the objects, as the document does.
class Objects {
  public:
    ~Objects() {
        for (PatchObject* object : list) {
            delete object;
        }
    }
    PatchObject& Add() {
        auto* object = new PatchObject;
        list.AddTail(object);
        return *object;
    }
    ObjectList<PatchObject> list;
};

// Two separate triangles and a square: two three-point patches and one four-point patch.
void AddTrianglesAndSquare(PatchObject& object) {
    NetworkBuilder net(object);
    for (float x : {0.0f, 2.0f}) {
        net.Point(x, 0, 0);
        net.Point(x + 1, 0, 0);
        net.Point(x, 1, 0);
    }
    for (int first : {0, 3}) {
        net.Curve({first, first + 1});
        net.Curve({first + 1, first + 2});
        net.Curve({first + 2, first});
    }
    net.Point(4, 0, 0);
    net.Point(5, 0, 0);
    net.Point(5, 1, 0);
    net.Point(4, 1, 0);
    net.Curve({6, 7});
    net.Curve({7, 8});
    net.Curve({8, 9});
    net.Curve({9, 6});
}

// A grid of 3 x 2 unit squares drawn as single edges.
void AddGrid(PatchObject& object) {
    NetworkBuilder net(object);
    for (int y = 0; y <= 2; ++y) {
        for (int x = 0; x <= 3; ++x) {
            net.Point(static_cast<float>(x), static_cast<float>(y), 0);
        }
    }
    for (int y = 0; y <= 2; ++y) {
        for (int x = 0; x <= 3; ++x) {
            if (x < 3) {
                net.Curve({y * 4 + x, y * 4 + x + 1});
            }
            if (y < 2) {
                net.Curve({y * 4 + x, (y + 1) * 4 + x});
            }
        }
    }
}

QString Field(QDialog& dialog, int id) {
    return dialog.findChild<QLineEdit*>(QString::number(id))->text();
}

TEST(DocumentInfoDialog, EmptyDocumentShowsThreeZeros) {
    Objects objects;
    DocumentInfoDialog dialog(objects.list, false);
    EXPECT_EQ(Field(dialog, 1001), QStringLiteral("0"));
    EXPECT_EQ(Field(dialog, 1003), QStringLiteral("0"));
    EXPECT_EQ(Field(dialog, 1010), QStringLiteral("0"));
    EXPECT_TRUE(dialog.findChild<QLineEdit*>(QStringLiteral("1001"))->isReadOnly());
}

TEST(DocumentInfoDialog, CountsObjectsAndBuildsMissingPatches) {
    Objects objects;
    AddTrianglesAndSquare(objects.Add());
    AddGrid(objects.Add());
    objects.Add();  // an object without curves
    DocumentInfoDialog dialog(objects.list, false);
    EXPECT_EQ(Field(dialog, 1001), QStringLiteral("3"));
    EXPECT_EQ(Field(dialog, 1003), QStringLiteral("2"));
    EXPECT_EQ(Field(dialog, 1010), QStringLiteral("7"));
    for (const PatchObject* object : objects.list) {
        EXPECT_TRUE(object->patchesValid);
    }
}

TEST(DocumentInfoDialog, TrustsPatchesThatAreValid) {
    Objects objects;
    PatchObject& grid = objects.Add();
    AddGrid(grid);
    DetectPatches(grid);
    grid.patches.erase(grid.patches.begin());
    EXPECT_EQ(DocumentInfoDialog(objects.list, false).counts().fourPointPatches, 5);
}

TEST(DocumentInfoDialog, AfterJoinedCurvesCountsThePatchesBuiltAnew) {
    Objects objects;
    PatchObject& grid = objects.Add();
    AddGrid(grid);
    DetectPatches(grid);
    const std::int32_t splinesBefore = grid.SplineCount();

    // Curves joined without finding the patches again: none left, the flag clear.
    grid.DeletePatches();
    ConnectCurves(grid, 100.0f, [](const std::string&) {});
    ComputeHandles(grid);
    ASSERT_LT(grid.SplineCount(), splinesBefore);

    DocumentInfoDialog dialog(objects.list, true);
    EXPECT_EQ(Field(dialog, 1003), QStringLiteral("0"));
    EXPECT_EQ(Field(dialog, 1010), QStringLiteral("6"));
    EXPECT_TRUE(grid.patchesValid);
}

TEST(DocumentInfoDialog, CaptionAndLabelsFollowTheLanguage) {
    Objects objects;
    const auto texts = [](QDialog& dialog) {
        return QStringList{dialog.windowTitle(),
                           dialog.findChild<QLabel*>(QStringLiteral("1000"))->text(),
                           dialog.findChild<QLabel*>(QStringLiteral("1002"))->text(),
                           dialog.findChild<QLabel*>(QStringLiteral("1009"))->text(),
                           dialog.findChild<QPushButton*>(QStringLiteral("1"))->text()};
    };
    DocumentInfoDialog english(objects.list, true);
    EXPECT_EQ(texts(english),
              (QStringList{"Document", "Object", "3point Patch", "4point Patch", "Close"}));
    DocumentInfoDialog japanese(objects.list, false);
    EXPECT_EQ(texts(japanese), (QStringList{"ドキュメント", "オブジェクト数", "３点パッチ数",
                                            "４点パッチ数", "Close"}));
}

}  // namespace
}  // namespace korvane
