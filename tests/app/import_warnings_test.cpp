#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "app/import_commands.h"
#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "fake_dialogs.h"
#include "import/metasequoia_object.h"
#include "model_files.h"
#include "support/zip_archive.h"

namespace korvane {
namespace {

using testing::FakeDialogs;
using testing::WriteFile;

constexpr const char* kTwoBadFaces =
    "Metasequoia Document\nFormat Text Ver 1.0\n"
    "Object \"tri\" {\n\tvertex 3 {\n0 0 0\n10 0 0\n0 10 0\n\t}\n"
    "\tface 3 {\n3 V(0 1 2)\n3 V(0 1 7)\n4 V(0 1 2 9)\n\t}\n}\nEof\n";

constexpr const char* kCutShort =
    "Metasequoia Document\nFormat Text Ver 1.0\n"
    "Object \"tri\" {\n\tvertex 3 {\n0 0 0\n10 0 0\n0 10 0\n\t}\n\tface 1 {\n3 V(0 1 2)\n";

class ImportWarningsTest : public ::testing::Test {
  protected:
    QString Write(const char* name, const char* content, qsizetype size = -1) {
        const QString path = folder_.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(WriteFile(path, QByteArray(content, size)));
        return path;
    }

    // Imports the file twice, first in English, then in Japanese.
    void ImportInBothLanguages(const QString& path) {
        dialogs_.answers = {path, path};
        GetApp()->useEnglish = true;
        RunImportMetasequoia(dialogs_, nullptr);
        GetApp()->useEnglish = false;
        RunImportMetasequoia(dialogs_, nullptr);
    }

    QTemporaryDir folder_;
    CKorvDoc document_;
    FakeDialogs dialogs_;
};

TEST_F(ImportWarningsTest, DroppedFacesAreToldWithTheirNumberInTheChosenLanguage) {
    ImportInBothLanguages(Write("bad.mqo", kTwoBadFaces));
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_EQ(dialogs_.messages[0].first,
              QStringLiteral("2 faces that name vertices the object does not have were left out."));
    EXPECT_EQ(dialogs_.messages[0].second, QStringLiteral("Warning"));
    EXPECT_EQ(dialogs_.messages[1].first,
              QStringLiteral("存在しない頂点を使う面を2個読み飛ばしました。"));
    EXPECT_EQ(dialogs_.messages[1].second, QStringLiteral("警告"));
    EXPECT_EQ(document_.Objects().GetCount(), 2) << "what was sound is kept";
}

TEST_F(ImportWarningsTest, AFileThatEndsEarlySaysSoAndKeepsWhatWasRead) {
    dialogs_.answers = {Write("short.mqo", kCutShort)};
    GetApp()->useEnglish = true;
    RunImportMetasequoia(dialogs_, nullptr);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].first,
              QStringLiteral("The file ends early; what came before the end was read."));
    EXPECT_EQ(document_.Objects().GetCount(), 1);
}

// One message per import, whatever the number of objects with such faces.
TEST_F(ImportWarningsTest, FacesOfFiveOrMoreCornersAreToldOnceAsOutlines) {
    const char* pentagons =
        "Metasequoia Document\nObject \"a\" {\n\tvertex 5 {\n0 0 0\n1 0 0\n2 1 0\n1 2 0\n0 1 0\n\t}"
        "\n\tface 1 {\n5 V(0 1 2 3 4)\n\t}\n}\nObject \"b\" {\n\tvertex 6 {\n0 0 0\n1 0 0\n2 1 0"
        "\n1 2 0\n0 1 0\n0 0 1\n\t}\n\tface 2 {\n5 V(0 1 2 3 4)\n6 V(0 1 2 3 4 5)\n\t}\n}\nEof\n";
    dialogs_.answers = {Write("outlines.mqo", pentagons)};
    GetApp()->useEnglish = true;
    RunImportMetasequoia(dialogs_, nullptr);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].first,
              QStringLiteral("3 faces with more than four corners were kept as outlines without "
                             "patches"));
    ASSERT_EQ(document_.Objects().GetCount(), 2);
    EXPECT_EQ(document_.Objects().GetTail()->SplineCount(), 7) << "the outlines are curves";
}

TEST_F(ImportWarningsTest, AnUnknownMirrorModeIsToldInTheChosenLanguage) {
    const char* unknownMirror =
        "Metasequoia Document\nObject \"m\" {\n\tmirror 5\n\tvertex 3 {\n0 0 0\n10 0 0\n0 10 0\n"
        "\t}\n\tface 1 {\n3 V(0 1 2)\n\t}\n}\nEof\n";
    ImportInBothLanguages(Write("mirror.mqo", unknownMirror));
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_EQ(dialogs_.messages[0].first,
              QStringLiteral("1 object was kept without its mirror, whose mode is not 0, 1 "
                             "or 2."));
    EXPECT_EQ(dialogs_.messages[1].first,
              QStringLiteral("ミラーの種類が0、1、2のどれでもないため、1個のオブジェクトを"
                             "ミラーせずに読み込みました。"));
    ASSERT_EQ(document_.Objects().GetCount(), 2);
    EXPECT_EQ(document_.Objects().GetHead()->PointCount(), 3) << "kept, unmirrored";
}

// A material library that lies outside the model's folder is not read; the model comes without
// it, and the warning names it.
TEST_F(ImportWarningsTest, ASideFileOutsideTheModelsFolderIsNamed) {
    ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("model")));
    Write("secret.mtl", "newmtl paint\nKd 0.25 0.5 0.75\n");
    const QString model = Write("model/plane.obj",
                                "mtllib ../secret.mtl\no Plane\nv -1 0 1\nv 1 0 1\nv 1 0 -1\n"
                                "v -1 0 -1\nusemtl paint\nf 1 2 3 4\n");
    const QString side = QStringLiteral(
        "side file \"../secret.mtl\" was not read: it lies outside the model's "
        "folder");
    GetApp()->useEnglish = true;
    RunImportFile(model, dialogs_, nullptr);
    GetApp()->useEnglish = false;
    RunImportFile(model, dialogs_, nullptr);
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_EQ(dialogs_.messages[0].first,
              QStringLiteral("Files that the model names were not read, and the model was "
                             "imported without them:\n") +
                  side);
    EXPECT_EQ(dialogs_.messages[0].second, QStringLiteral("Warning"));
    EXPECT_EQ(dialogs_.messages[1].first,
              QStringLiteral("モデルが参照する次のファイルは読み込まず、それらを除いてモデルを"
                             "読み込みました:\n") +
                  side);
    ASSERT_EQ(document_.Objects().GetCount(), 2);
    EXPECT_NE(document_.Objects().GetHead()->colour, PackMetasequoiaColour(0.25f, 0.5f, 0.75f));
}

// Of several .mqo files in a compressed file the first is read, named as object names are (in
// Shift_JIS unless it is UTF-8).
TEST_F(ImportWarningsTest, ACompressedFileOfSeveralModelsNamesTheOneRead) {
    const std::string archive = testing::ZipOf({{"\x8E\xD4\x97\xD6.mqo", kTwoBadFaces},
                                                {"second.mqo", kCutShort},
                                                {"textures/wheel.png", "\x89PNG"}});
    ImportInBothLanguages(Write("wheels.mqoz", archive.c_str(), archive.size()));
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_EQ(dialogs_.messages[0].first,
              QStringLiteral("2 faces that name vertices the object does not have were left out.\n"
                             "The compressed file holds 2 mqo files; only 車輪.mqo was read."));
    EXPECT_EQ(
        dialogs_.messages[1].first,
        QStringLiteral("存在しない頂点を使う面を2個読み飛ばしました。\n"
                       "圧縮ファイルにmqoファイルが2個あります。車輪.mqo だけを読み込みました。"));
    EXPECT_EQ(document_.Objects().GetCount(), 2) << "the first model, once in each language";
}

TEST_F(ImportWarningsTest, ASoundFileSaysNothing) {
    dialogs_.answers = {KORVANE_EXAMPLES_DIR "/torus.mqo"};
    RunImportMetasequoia(dialogs_, nullptr);
    EXPECT_TRUE(dialogs_.messages.empty());
}

}  // namespace
}  // namespace korvane
