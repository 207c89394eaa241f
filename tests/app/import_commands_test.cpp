#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <optional>

#include "app/import_commands.h"
#include "app/korv_app.h"
#include "app/korv_doc.h"
#include "fake_dialogs.h"
#include "notify_recorder.h"
#include "support/gltf_models.h"

namespace korvane {
namespace {

using testing::FakeDialogs;
using testing::NotifyRecorder;
using Message = std::pair<QString, QString>;

QByteArray BigEndian32(quint32 value) {
    return QByteArray(1, char(value >> 24)) + char(value >> 16) + char(value >> 8) + char(value);
}

QByteArray Chunk(const char* id, const QByteArray& data) {
    return QByteArray(id) + BigEndian32(static_cast<quint32>(data.size())) + data;
}

// An IFF form of the given type holding one triangle as LightWave points and polygons.
QByteArray LightWaveTriangle(const char* formType) {
    QByteArray points;
    for (float value : {0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f}) {
        quint32 bits;
        std::memcpy(&bits, &value, 4);
        points += BigEndian32(bits);
    }
    const QByteArray polygons("\x00\x03\x00\x00\x00\x01\x00\x02\x00\x01", 10);
    const QByteArray body = QByteArray(formType) + Chunk("PNTS", points) + Chunk("POLS", polygons);
    return Chunk("FORM", body);
}

class ImportCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GetApp()->RegisterNotifyTarget(&tree_);
        GetApp()->useEnglish = false;
    }

    QString Write(const QString& name, const QByteArray& content) {
        const QString path = folder_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const PatchObject* object : document_.Objects()) {
            names.push_back(object->name);
        }
        return names;
    }

    QTemporaryDir folder_;
    CKorvDoc document_;
    FakeDialogs dialogs_;
    NotifyRecorder tree_;
};

TEST_F(ImportCommandsTest, TwoImportsAppendInFileOrder) {
    dialogs_.answers = {KORVANE_EXAMPLES_DIR "/vase.mqo", KORVANE_EXAMPLES_DIR "/torus.mqo"};
    QSignalSpy redraws(&document_, &CKorvDoc::changed);
    RunImportMetasequoia(dialogs_, nullptr);
    RunImportMetasequoia(dialogs_, nullptr);
    EXPECT_EQ(Names(), (std::vector<std::string>{"vase", "torus"}));
    EXPECT_EQ(dialogs_.filters, QStringList(2, QStringLiteral("Metasequoia(*.mqo *.mqoz)")));
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(tree_.codes,
              (std::vector<NotifyCode>{NotifyCode::NotifyImported, NotifyCode::NotifyImported}));
    EXPECT_EQ(redraws.count(), 2);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor ends with the read";
    // The lathe was applied: the profile of 8 points swept in 16 steps.
    EXPECT_EQ(document_.Objects().GetHead()->PointCount(), 8 * 16);
    // The import finds the patches that the view only draws.
    for (const PatchObject* object : document_.Objects()) {
        EXPECT_TRUE(object->PatchesValid()) << object->name;
        EXPECT_FALSE(object->Patches().empty()) << object->name;
    }
}

TEST_F(ImportCommandsTest, CancelStillRefreshesTheTreeAndRedraws) {
    QSignalSpy redraws(&document_, &CKorvDoc::changed);
    RunImportMetasequoia(dialogs_, nullptr);
    EXPECT_TRUE(document_.Objects().IsEmpty());
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(tree_.codes, std::vector<NotifyCode>{NotifyCode::NotifyImported});
    EXPECT_EQ(redraws.count(), 1);
}

TEST_F(ImportCommandsTest, FailuresAreToldInTheChosenLanguage) {
    const QString missing = folder_.filePath(QStringLiteral("missing.mqo"));
    const QString text = Write(QStringLiteral("notes.mqo"), "Some notes\n");
    dialogs_.answers = {missing, missing, text, text};
    RunImportMetasequoia(dialogs_, nullptr);
    GetApp()->useEnglish = true;
    RunImportMetasequoia(dialogs_, nullptr);
    RunImportMetasequoia(dialogs_, nullptr);
    GetApp()->useEnglish = false;
    RunImportMetasequoia(dialogs_, nullptr);
    EXPECT_EQ(dialogs_.messages,
              (std::vector<Message>{
                  {QStringLiteral("ファイルを開けませんでした"), QStringLiteral("エラー")},
                  {QStringLiteral("Fail To Read This File"), QStringLiteral("Error")},
                  {QStringLiteral("This file isn't mqo file"), QStringLiteral("error")},
                  {QStringLiteral("これはメタセコイアのファイルではありません"),
                   QStringLiteral("エラー")}}));
    EXPECT_TRUE(document_.Objects().IsEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ImportCommandsTest, LightWaveIsNamedAfterTheFileAndRefreshesTheTree) {
    const QString path = Write(QStringLiteral("tri.angle.lwo"), LightWaveTriangle("LWOB"));
    dialogs_.answers = {path};
    QSignalSpy redraws(&document_, &CKorvDoc::changed);
    EXPECT_EQ(RunImportLightWave(dialogs_, nullptr), path);
    EXPECT_EQ(Names(), std::vector<std::string>{"tri.angle"});
    EXPECT_EQ(document_.Objects().GetHead()->PointCount(), 3);
    EXPECT_EQ(document_.Objects().GetHead()->Patches().size(), 1u);
    EXPECT_EQ(dialogs_.filters, QStringList{QStringLiteral("LightWave(*.lwo)")});
    EXPECT_EQ(tree_.codes, std::vector<NotifyCode>{NotifyCode::NotifyImported});
    EXPECT_EQ(redraws.count(), 1);
}

// Whatever its name, a named file goes to the reader its content names: a LightWave, Metasequoia
// or ruvoPatch file to ours, anything else, another IFF form too, to assimp, whose refusal is told
// with the file's name.
TEST_F(ImportCommandsTest, NamedFileGoesToTheReaderOfItsContent) {
    RunImportFile(Write(QStringLiteral("model.bin"), LightWaveTriangle("LWOB")), dialogs_, nullptr);
    RunImportFile(KORVANE_EXAMPLES_DIR "/head.mqo", dialogs_, nullptr);
    const QString copy = folder_.filePath(QStringLiteral("copy.data"));
    ASSERT_EQ(
        document_
            .Export(QFile::encodeName(copy).toStdString(), {.format = ExportFormat::kRuvoPatch})
            .status,
        WriteStatus::kWritten);
    EXPECT_EQ(RunImportFile(copy, dialogs_, nullptr), copy);
    EXPECT_EQ(Names(), (std::vector<std::string>{"model", "head", "model", "head"}));
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_TRUE(dialogs_.filters.isEmpty()) << "no file dialog for a named file";
    EXPECT_EQ(tree_.codes, std::vector<NotifyCode>(3, NotifyCode::NotifyImported));

    GetApp()->useEnglish = true;
    const QString picture = Write(QStringLiteral("picture.lwo"), LightWaveTriangle("ILBM"));
    const QString notes = Write(QStringLiteral("notes.txt"), "notes");
    for (const QString& path : {picture, notes}) {
        EXPECT_TRUE(RunImportFile(path, dialogs_, nullptr).isEmpty());
    }
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_TRUE(
        dialogs_.messages[0].first.startsWith(picture + QStringLiteral(" could not be read.\n")))
        << dialogs_.messages[0].first.toStdString();
    EXPECT_TRUE(
        dialogs_.messages[1].first.startsWith(notes + QStringLiteral(" could not be read.\n")))
        << dialogs_.messages[1].first.toStdString();
    EXPECT_EQ(document_.Objects().GetCount(), 4);
}

// A ruvoPatch file that is cut short is refused whole, its damage told with its name.
TEST_F(ImportCommandsTest, ADamagedRuvoPatchFileAddsNothingAndSaysWhere) {
    RunImportFile(KORVANE_EXAMPLES_DIR "/vase.mqo", dialogs_, nullptr);
    const QString whole = folder_.filePath(QStringLiteral("vase.rvp"));
    ASSERT_EQ(document_.Export(QFile::encodeName(whole).toStdString(), {}).status,
              WriteStatus::kWritten);
    QFile file(whole);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString cut = Write(QStringLiteral("cut.rvp"), file.read(100));
    for (const bool english : {true, false}) {
        GetApp()->useEnglish = english;
        EXPECT_TRUE(RunImportFile(cut, dialogs_, nullptr).isEmpty());
    }
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_TRUE(dialogs_.messages[0].first.startsWith(
        cut + QStringLiteral(" is not a readable ruvoPatch file. Nothing was added.\nobject 0: ")))
        << dialogs_.messages[0].first.toStdString();
    EXPECT_EQ(dialogs_.messages[0].second, QStringLiteral("Error"));
    EXPECT_TRUE(dialogs_.messages[1].first.startsWith(
        cut + QStringLiteral(" はruvoPatchファイルとして読み込めません。")))
        << dialogs_.messages[1].first.toStdString();
    EXPECT_EQ(Names(), std::vector<std::string>{"vase"});
}

// Holds the address space of this process to what it uses now and `room` more, while it lives.
class AddressSpaceLimit {
  public:
    explicit AddressSpaceLimit(std::uint64_t room) {
        ::getrlimit(RLIMIT_AS, &previous_);
        std::uint64_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlimit limited{pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE)) + room,
                             previous_.rlim_max};
        ::setrlimit(RLIMIT_AS, &limited);
    }
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;
    ~AddressSpaceLimit() { ::setrlimit(RLIMIT_AS, &previous_); }

  private:
    rlimit previous_{};
};

// A model beyond what one import takes, or beyond the memory left, is told with its count or its
// reason, and the document keeps exactly the objects it had: none of the model's are half added.
TEST_F(ImportCommandsTest, AModelTooBigLeavesTheDocumentAsItWas) {
    GetApp()->useEnglish = true;
    RunImportFile(KORVANE_EXAMPLES_DIR "/torus.mqo", dialogs_, nullptr);
    ASSERT_EQ(Names(), std::vector<std::string>{"torus"});
    const struct {
        const char* name;
        int instances;       // of a grid of 100 x 100 vertices, 19,602 triangles
        std::uint64_t room;  // for this process's address space; 0: no limit
        const char* detail;
    } cases[] = {
        {"beyond the budget", 2000, 0,
         "the model has 39204000 faces in its 2000 placed meshes; one import takes at most "
         "20000000 faces"},
        {"beyond the memory left", 400, std::uint64_t{768} << 20,
         "The model does not fit in the memory left."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
        if (c.room > 0) {
            continue;  // the sanitizers' reservations need the address space
        }
#endif
        const QString path =
            Write(QString::fromLatin1(c.name) + QStringLiteral(".gltf"),
                  QByteArray::fromStdString(testing::InstancedGridGltf(c.instances, 100)));
        dialogs_.messages.clear();
        {
            std::optional<AddressSpaceLimit> limit;
            if (c.room > 0) {
                limit.emplace(c.room);
            }
            EXPECT_TRUE(RunImportFile(path, dialogs_, nullptr).isEmpty());
        }
        ASSERT_EQ(dialogs_.messages.size(), 1u);
        EXPECT_EQ(dialogs_.messages[0].first,
                  QStringLiteral("Reading ") + path +
                      QStringLiteral(" needed more memory than allowed and was stopped. Nothing "
                                     "was added.\n") +
                      QString::fromUtf8(c.detail));
        EXPECT_EQ(Names(), std::vector<std::string>{"torus"});
    }
}

// A pipe or a folder chosen as a model is refused at once and named, whichever reader it went to:
// the one its content chooses, ours, or assimp's helper, which would wait on the pipe until its
// time ran out.
TEST_F(ImportCommandsTest, FilesThatAreNotRegularAreRefusedAtOnceAndNamed) {
    const QString fifo = folder_.filePath(QStringLiteral("pipe.mqo"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const QString folder = folder_.filePath(QStringLiteral("folder.lwo"));
    ASSERT_TRUE(QDir().mkdir(folder));
    dialogs_.importScale = 1.0f;
    dialogs_.answers = {fifo, folder, fifo};
    GetApp()->useEnglish = true;
    RunImportFile(fifo, dialogs_, nullptr);
    RunImportMetasequoia(dialogs_, nullptr);
    RunImportLightWave(dialogs_, nullptr);
    RunImportOtherFormats(dialogs_, nullptr);
    GetApp()->useEnglish = false;
    RunImportFile(folder, dialogs_, nullptr);
    const auto english = [](const QString& path) {
        return Message(path + QStringLiteral(" is not a regular file (it is a folder, a device, a "
                                             "pipe or a socket) and was not read."),
                       QStringLiteral("Error"));
    };
    EXPECT_EQ(dialogs_.messages,
              (std::vector<Message>{
                  english(fifo),
                  english(fifo),
                  english(folder),
                  english(fifo),
                  {folder + QStringLiteral(" は通常のファイルではない(フォルダ、デバイス、パイプ、"
                                           "ソケットのいずれか)ため、読み込みませんでした。"),
                   QStringLiteral("エラー")}}));
    EXPECT_TRUE(document_.Objects().IsEmpty());
    EXPECT_EQ(tree_.codes, std::vector<NotifyCode>(5, NotifyCode::NotifyImported));
}

TEST(ImportWithoutDocumentTest, SaysReadingFailedInEitherLanguage) {
    FakeDialogs dialogs;
    dialogs.answers = {KORVANE_EXAMPLES_DIR "/vase.mqo"};
    GetApp()->useEnglish = true;
    RunImportMetasequoia(dialogs, nullptr);
    RunImportLightWave(dialogs, nullptr);
    const Message failed{QStringLiteral("読み込みに失敗しました"), QStringLiteral("エラー")};
    EXPECT_EQ(dialogs.messages, (std::vector<Message>{failed, failed}));
    EXPECT_TRUE(dialogs.filters.isEmpty()) << "no file is asked for";
}

}  // namespace
}  // namespace korvane
