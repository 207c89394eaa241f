#include <gtest/gtest.h>

#include <assimp/scene.h>
#include <assimp/Exporter.hpp>

#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <memory>

#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "app/main_frame.h"
#include "app/status_text_bar.h"
#include "fake_dialogs.h"
#include "view/camera_framing.h"

// Files of other modellers through the File menu: 3D Studio and the other formats that assimp
// reads, at the scale the user gives, and the patch surfaces out as a mesh.

namespace korvane {
namespace {

using testing::FakeDialogs;

// A tetrahedron of unit edges along the axes, as assimp's exporter writes it in `format`.
void ExportTetrahedron(const QString& path, const char* format) {
    aiScene scene;
    scene.mRootNode = new aiNode("root");
    scene.mRootNode->mNumMeshes = 1;
    scene.mRootNode->mMeshes = new unsigned[1]{0};
    scene.mNumMaterials = 1;
    scene.mMaterials = new aiMaterial* [1] { new aiMaterial };
    scene.mNumMeshes = 1;
    auto* mesh = new aiMesh;
    scene.mMeshes = new aiMesh* [1] { mesh };
    mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    mesh->mNumVertices = 4;
    mesh->mVertices = new aiVector3D[4]{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const unsigned faces[4][3] = {{0, 1, 2}, {0, 3, 1}, {0, 2, 3}, {1, 3, 2}};
    mesh->mNumFaces = 4;
    mesh->mFaces = new aiFace[4];
    for (unsigned f = 0; f < 4; ++f) {
        mesh->mFaces[f].mNumIndices = 3;
        mesh->mFaces[f].mIndices = new unsigned[3]{faces[f][0], faces[f][1], faces[f][2]};
    }
    Assimp::Exporter exporter;
    ASSERT_EQ(exporter.Export(&scene, format, QFile::encodeName(path).toStdString()), AI_SUCCESS)
        << exporter.GetErrorString();
}

float Width(const CKorvDoc& document) {
    const Bounds bounds = ControlPointBounds(document.Objects());
    return bounds.maximum.x - bounds.minimum.x;
}

class OtherFormatsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
            GTEST_SKIP() << "the main window holds the OpenGL view, which needs an X display";
        }
        GetApp()->settingsPath = folder_.filePath(QStringLiteral("k_r_v.ini"));
        GetApp()->useEnglish = true;
        document_ = std::make_unique<CKorvDoc>();
        frame_ = std::make_unique<CMainFrame>(document_.get(), dialogs_);
        document_->OnNewDocument();
    }

    void Trigger(CommandId id) { frame_->Command(id)->trigger(); }

    QTemporaryDir folder_;
    FakeDialogs dialogs_;
    std::unique_ptr<CKorvDoc> document_;
    std::unique_ptr<CMainFrame> frame_;
};

// The scale is asked after the file and offered again at the next import; a cancel there reads
// nothing.
TEST_F(OtherFormatsTest, ThreeDStudioImportsAtTheScaleGivenAndRemembersIt) {
    const QString tetrahedron = folder_.filePath(QStringLiteral("tetra.3ds"));
    ExportTetrahedron(tetrahedron, "3ds");
    dialogs_.answers = {tetrahedron};
    dialogs_.importScale = 1.0f;
    Trigger(CommandId::kImport3dStudio);
    ASSERT_EQ(document_->Objects().GetCount(), 1) << dialogs_.messages.size();
    EXPECT_EQ(dialogs_.filters.first(), QStringLiteral("3D Studio(*.3ds)"));
    EXPECT_EQ(document_->Objects().GetHead()->PointCount(), 4);
    EXPECT_EQ(document_->Objects().GetHead()->SplineCount(), 6);
    const float unitWidth = Width(*document_);

    Trigger(CommandId::kFileNew);
    dialogs_.answers = {tetrahedron};
    dialogs_.importScale = 10.0f;
    Trigger(CommandId::kImport3dStudio);
    EXPECT_FLOAT_EQ(Width(*document_), 10.0f * unitWidth);

    dialogs_.answers = {tetrahedron};
    dialogs_.importScale.reset();
    Trigger(CommandId::kImportOtherFormats);
    EXPECT_EQ(dialogs_.presetScale, 10.0f);
    EXPECT_EQ(document_->Objects().GetCount(), 1) << "cancelled at the scale";
    EXPECT_TRUE(dialogs_.filters.last().contains(QStringLiteral("*.3ds")));
    EXPECT_TRUE(dialogs_.filters.last().contains(QStringLiteral("*.obj")));
    EXPECT_TRUE(dialogs_.messages.empty());
}

// What assimp cannot read is told with the file's name, and the document keeps what it held.
TEST_F(OtherFormatsTest, AFileAssimpRefusesIsNamedAndChangesNothing) {
    const QString notes = folder_.filePath(QStringLiteral("notes.obj"));
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("f 1 2 3\nthis is no model\n");
    file.close();
    dialogs_.answers = {notes};
    dialogs_.importScale = 1.0f;
    Trigger(CommandId::kImportOtherFormats);
    EXPECT_TRUE(document_->Objects().IsEmpty());
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].first.contains(QDir::toNativeSeparators(notes)))
        << dialogs_.messages[0].first.toStdString();
    EXPECT_TRUE(frame_->recentFiles().paths().isEmpty());
}

TEST_F(OtherFormatsTest, SurfaceMeshExportSuggestsTheModelsNameAndSaysWhatItWrote) {
    const QString tetrahedron = folder_.filePath(QStringLiteral("tetra.3ds"));
    ExportTetrahedron(tetrahedron, "3ds");
    dialogs_.answers = {tetrahedron, folder_.filePath(QStringLiteral("out.stl"))};
    dialogs_.importScale = 1.0f;
    Trigger(CommandId::kImport3dStudio);
    Trigger(CommandId::kExportSurfaceMesh);
    EXPECT_EQ(dialogs_.suggestedPaths, QStringList{folder_.filePath(QStringLiteral("tetra.obj"))});
    EXPECT_GT(QFileInfo(folder_.filePath(QStringLiteral("out.stl"))).size(), 84)
        << "more than an empty binary STL";
    EXPECT_EQ(frame_->statusTextBar()->dialog()->field()->text(),
              QStringLiteral("Wrote 1 object to ") +
                  QDir::toNativeSeparators(folder_.filePath(QStringLiteral("out.stl"))));
}

}  // namespace
}  // namespace korvane
