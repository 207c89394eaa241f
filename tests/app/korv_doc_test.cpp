#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>

#include <string>
#include <vector>

#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/settings_file.h"
#include "notify_recorder.h"

namespace korvane {
namespace {

TEST(KorvDocTest, FreshDocumentShowsCurvesOnlyFromTheDefaultCamera) {
    CKorvDoc document;
    EXPECT_EQ(GetDocument(), &document);
    const DisplaySettings& display = document.displaySettings;
    EXPECT_FALSE(display.showVertices);
    EXPECT_TRUE(display.showCurves);
    EXPECT_FALSE(display.showSurfaces);
    EXPECT_EQ(display.curveResolution, 1);
    EXPECT_EQ(display.surfaceResolution, 1);
    EXPECT_EQ(document.backgroundColour, 0x646464u);
    EXPECT_EQ(document.camera.eye.z, -40.0f);
    EXPECT_TRUE(document.Objects().IsEmpty());
}

// The view draws what an import brings at once: the desktop's document finds the patches before
// the import returns.
TEST(KorvDocTest, ImportsAppendObjectsWithTheirPatchesFound) {
    CKorvDoc document;
    for (const char* model : {"vase.mqo", "torus.mqo"}) {
        const ImportReport report =
            document.Import(std::string(KORVANE_EXAMPLES_DIR "/") + model, {});
        EXPECT_EQ(report.status, ImportStatus::kImported) << model;
    }
    std::vector<std::string> names;
    for (const PatchObject* object : document.Objects()) {
        names.push_back(object->name);
        EXPECT_TRUE(object->PatchesValid()) << object->name;
        EXPECT_FALSE(object->Patches().empty()) << object->name;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"vase", "torus"}));
    document.Clear();
    EXPECT_TRUE(document.Objects().IsEmpty());
}

TEST(KorvDocTest, NewKeepsTheDisplaySettingsAndResetsTheCamera) {
    CKorvDoc document;
    testing::NotifyRecorder tree;
    GetApp()->RegisterNotifyTarget(&tree);
    document.displaySettings.showVertices = true;
    document.displaySettings.showCurves = false;
    document.displaySettings.showSurfaces = true;
    document.displaySettings.curveResolution = 7;
    document.displaySettings.surfaceResolution = 7;
    document.camera.eye = Vec3{5, 5, 5};
    document.camera.target = Vec3{1, 1, 1};
    document.Import(KORVANE_EXAMPLES_DIR "/vase.mqo", {});
    ASSERT_FALSE(document.Objects().IsEmpty());

    EXPECT_TRUE(document.OnNewDocument());
    EXPECT_TRUE(document.Objects().IsEmpty());
    EXPECT_EQ(document.camera.eye.y, 10.0f);
    EXPECT_EQ(document.camera.eye.z, -40.0f);
    EXPECT_EQ(document.camera.target.x, 0.0f);
    EXPECT_TRUE(document.displaySettings.showVertices);
    EXPECT_FALSE(document.displaySettings.showCurves);
    EXPECT_TRUE(document.displaySettings.showSurfaces);
    EXPECT_EQ(document.displaySettings.curveResolution, 7);
    EXPECT_EQ(document.displaySettings.surfaceResolution, 7);
    EXPECT_EQ(tree.codes, std::vector<NotifyCode>{NotifyCode::NotifyNewDocument});
    EXPECT_TRUE(document.title().isEmpty());
}

TEST(KorvDocTest, UpdateAllViewsSignalsEveryView) {
    CKorvDoc document;
    QSignalSpy spy(&document, &CKorvDoc::changed);
    document.UpdateAllViews();
    EXPECT_EQ(spy.count(), 1);
}

TEST(KorvDocTest, DestroyingTheDocumentWritesTheSettingsFile) {
    CKorvApp* app = GetApp();
    QFile::remove(app->settingsPath);
    app->useEnglish = true;
    {
        CKorvDoc document;
        document.Import(KORVANE_EXAMPLES_DIR "/vase.mqo", {});
    }
    EXPECT_EQ(GetDocument(), nullptr);
    QFile file(app->settingsPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("english\n"));
    file.close();

    app->useEnglish = false;
    { CKorvDoc document; }
    EXPECT_EQ(ReadLanguageSetting(app->settingsPath), std::optional<bool>(false));
}

}  // namespace
}  // namespace korvane
