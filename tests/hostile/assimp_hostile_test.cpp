#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "document/object_store.h"
#include "hostile_support.h"
#include "import/assimp_import.h"
#include "import/metasequoia_object.h"
#include "support/gltf_models.h"

// Files read through assimp that name files elsewhere on the machine (a buffer, a material
// library), or that are small but place one mesh thousands of times: nothing outside the model's
// folder is read, the message names what was refused or counted, and the document keeps what it
// had.

namespace korvane::testing {
namespace {

constexpr float kSecretFloat = 4242.0f;  // the outside buffer holds 4242, 4243, ...
constexpr int kSecretFloats = 1024;

// A plane with a material of a library, as Blender's OBJ exporter writes it.
std::string ObjWithLibrary(const std::string& library) {
    return "# Blender 3.6.0\n# www.blender.org\nmtllib " + library +
           "\no Plane\nv -1.000000 0.000000 1.000000\nv 1.000000 0.000000 1.000000\n"
           "v 1.000000 0.000000 -1.000000\nv -1.000000 0.000000 -1.000000\nvn -0.0000 1.0000 "
           "-0.0000\ns 0\nusemtl paint\nf 1//1 2//1 3//1 4//1\n";
}

// Whether any byte of the outside files reached the objects: the secret buffer's coordinates or
// the secret library's colour.
bool HoldsSecret(const ObjectStore& store) {
    const std::uint32_t secretColour = PackMetasequoiaColour(0.25f, 0.5f, 0.75f);
    for (const PatchObject* object : store.objects) {
        if (object->colour == secretColour) {
            return true;
        }
        for (const PatchVec3& point : object->Points()) {
            for (const float coordinate : {point.x, point.y, point.z}) {
                if (std::abs(coordinate) >= kSecretFloat &&
                    std::abs(coordinate) < kSecretFloat + kSecretFloats) {
                    return true;
                }
            }
        }
    }
    return false;
}

// model/ holds the models, outside/ what they must not read.
class AssimpHostileTest : public HostileTest {
  protected:
    void SetUp() override {
        HostileTest::SetUp();
        workingFolder_ = fs::current_path();
        model_ = fs::canonical(folder_) / "model";
        outside_ = fs::canonical(folder_) / "outside";
        fs::create_directories(model_ / "sub");
        fs::create_directories(outside_);
        std::string secret;
        for (int i = 0; i < kSecretFloats; ++i) {
            AppendBytes(secret, kSecretFloat + static_cast<float>(i));
        }
        WriteFile(outside_ / "secret.bin", secret);
        WriteFile(outside_ / "secret.mtl", "newmtl paint\nKd 0.25 0.5 0.75\n");
        WriteFile(model_ / "triangle.bin", TriangleBuffer());
        fs::create_symlink("../outside/secret.mtl", model_ / "link.mtl");
        ASSERT_EQ(::mkfifo((model_ / "pipe.bin").c_str(), 0600), 0);
        ASSERT_EQ(::mkfifo((model_ / "pipe.mtl").c_str(), 0600), 0);
    }
    void TearDown() override {
        fs::current_path(workingFolder_);
        ::unsetenv("KORVANE_ASSIMP_BUDGET");
        HostileTest::TearDown();
    }

    fs::path workingFolder_, model_, outside_;
};

TEST_F(AssimpHostileTest, SideFilesOutsideTheModelsFolderAreNotRead) {
    const std::string secretBin = (outside_ / "secret.bin").string();
    const std::string secretMtl = (outside_ / "secret.mtl").string();
    const std::string outOfRoot = "../../../../../../../../../../etc/passwd";
    const struct {
        const char* name;
        const char* file;
        std::string content;
        std::string sideFile;  // as the model names it and the message must; empty: none refused
        ImportStatus status;
        const char* why = "";
    } cases[] = {
        {"glTF buffer beside the model", "beside.gltf", GltfTriangle("triangle.bin"), "",
         ImportStatus::kImported},
        {"glTF buffer through '..' that stays inside", "stays.gltf",
         GltfTriangle("sub/../triangle.bin"), "", ImportStatus::kImported},
        {"glTF buffer through '..'", "escape.gltf", GltfTriangle("../outside/secret.bin"),
         "../outside/secret.bin", ImportStatus::kAssimpRefused, "lies outside the model's folder"},
        {"glTF buffer through '..' past the root", "passwd.gltf", GltfTriangle(outOfRoot),
         outOfRoot, ImportStatus::kAssimpRefused, "lies outside the model's folder"},
        {"glTF buffer at an absolute path", "absolute.gltf", GltfTriangle(secretBin), secretBin,
         ImportStatus::kAssimpRefused, "lies outside the model's folder"},
        {"glTF buffer as a file: URL", "url.gltf", GltfTriangle("file://" + secretBin),
         "file://" + secretBin, ImportStatus::kAssimpRefused, "lies outside the model's folder"},
        {"glTF buffer that is a named pipe", "pipe.gltf", GltfTriangle("pipe.bin"), "pipe.bin",
         ImportStatus::kAssimpRefused, "is a named pipe"},
        {"glTF buffer /dev/zero", "zero.gltf", GltfTriangle("/dev/zero"), "/dev/zero",
         ImportStatus::kAssimpRefused, "lies outside the model's folder"},
        {"OBJ library through '..'", "escape.obj", ObjWithLibrary("../outside/secret.mtl"),
         "../outside/secret.mtl", ImportStatus::kImported, "lies outside the model's folder"},
        {"OBJ library at an absolute path", "absolute.obj", ObjWithLibrary(secretMtl), secretMtl,
         ImportStatus::kImported, "lies outside the model's folder"},
        {"OBJ library through a link leading out", "link.obj", ObjWithLibrary("link.mtl"),
         "link.mtl", ImportStatus::kImported, "lies outside the model's folder"},
        {"OBJ library that is a named pipe", "pipe.obj", ObjWithLibrary("pipe.mtl"), "pipe.mtl",
         ImportStatus::kImported, "is a named pipe"},
        {"OBJ library /dev/zero", "zero.obj", ObjWithLibrary("/dev/zero"), "/dev/zero",
         ImportStatus::kImported, "lies outside the model's folder"},
    };
    // A pipe that blocked the helper would run into this.
    const AssimpImportOptions options{.timeout = std::chrono::milliseconds(10'000)};
    for (const auto& c : cases) {
        WriteFile(model_ / c.file, c.content);
        // Named from its own folder, as `korvane-cli info model.gltf` names it, assimp opens the
        // side file as the model names it. Named by its absolute path, assimp looks for an
        // absolute side file inside the model's folder, where it is missing: only a failed read
        // names it then.
        for (const bool relative : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (relative ? ", named relatively" : ""));
            fs::current_path(relative ? model_ : workingFolder_);
            ObjectStore store;
            std::string detail;
            const ImportResult result =
                ImportThroughAssimp(relative ? std::string(c.file) : (model_ / c.file).string(),
                                    store, options, &detail);
            EXPECT_EQ(result.status, c.status) << detail;
            EXPECT_EQ(result.objectsAdded, c.status == ImportStatus::kImported ? 1 : 0);
            EXPECT_FALSE(HoldsSecret(store));
            const bool named = relative || c.status != ImportStatus::kImported ||
                               !(c.sideFile.starts_with('/') || c.sideFile.starts_with("file:"));
            if (c.sideFile.empty()) {
                EXPECT_EQ(detail, "");
            } else if (named) {
                EXPECT_NE(detail.find(c.sideFile), std::string::npos) << detail;
            }
            if (relative && !c.sideFile.empty()) {
                EXPECT_EQ(result.sideFilesRefused, 1);
                EXPECT_NE(detail.find("side file \"" + c.sideFile + "\" was not read: it " + c.why),
                          std::string::npos)
                    << detail;
            }
        }
    }
}

// The tool's one line names the model and the side file: a failure for a glTF file without its
// buffer, a warning for an OBJ file without its material library.
TEST_F(AssimpHostileTest, TheToolNamesTheSideFileItDidNotRead) {
    WriteFile(model_ / "escape.gltf", GltfTriangle("../outside/secret.bin"));
    WriteFile(model_ / "escape.obj", ObjWithLibrary("../outside/secret.mtl"));
    const std::string inModelFolder = "cd " + ShellQuote(model_.string()) + " && ";
    const struct {
        const char* file;
        int exitStatus;
        std::string line;
    } cases[] = {
        {"escape.gltf", 2,
         "korvane-cli: escape.gltf: assimp could not read it: side file "
         "\"../outside/secret.bin\" was not read: it lies outside the model's folder; "},
        {"escape.obj", 0,
         "korvane-cli: warning: escape.obj: side file \"../outside/secret.mtl\" was not read: "
         "it lies outside the model's folder; the model was imported without them\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const ProcessResult run = RunProcess(KORVANE_CLI_PATH, {"convert", c.file, "-o", "out.rvp"},
                                             MemoryLimitPrefix() + inModelFolder);
        EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
        EXPECT_EQ(run.err.rfind(c.line, 0), 0u) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
}

// One grid of 100 x 100 vertices (19,602 triangles) placed thousands of times: a file of half a
// megabyte that would make tens of millions of faces. It is refused whole, at once, with the
// count, and the document keeps the object it had.
TEST_F(AssimpHostileTest, AFileThatPlacesAMeshThousandsOfTimesIsRefusedWithItsCount) {
    for (const int instances : {2000, 3000}) {
        SCOPED_TRACE(instances);
        const fs::path path = model_ / ("grid-" + std::to_string(instances) + ".gltf");
        WriteFile(path, InstancedGridGltf(instances, 100));
        const std::string count = std::to_string(instances * 19'602) + " faces in its " +
                                  std::to_string(instances) + " placed meshes";
        ObjectStore store;
        store.AddObject()->name = "kept";
        std::string detail;
        const ImportResult result = ImportThroughAssimp(path.string(), store, {}, &detail);
        EXPECT_EQ(result.status, ImportStatus::kImporterOutOfMemory) << detail;
        EXPECT_NE(detail.find(count), std::string::npos) << detail;
        EXPECT_NE(detail.find("one import takes at most 20000000 faces"), std::string::npos)
            << detail;
        ASSERT_EQ(store.objects.GetCount(), 1);
        EXPECT_EQ(store.objects.GetHead()->name, "kept");

        const ProcessResult run = ConvertWithCli(path);
        EXPECT_EQ(run.exitStatus, 2) << run.err;
        EXPECT_EQ(run.err.rfind("korvane-cli: " + path.string() + ": the model has " + count, 0),
                  0u)
            << run.err;
    }
}

// Every limit of the budget, lowered for the test, on a 3 x 3 grid (9 vertices, 8 triangles, 24
// corners) placed by 5 nodes named Grid.0 to Grid.4 (30 bytes of names): exactly at the limits it
// imports; one less in any of them and nothing is added, with the count that went beyond.
TEST_F(AssimpHostileTest, EveryLimitOfTheBudgetIsHeldAndNamed) {
    const fs::path path = model_ / "grids.gltf";
    WriteFile(path, InstancedGridGltf(5, 3));
    const struct {
        const char* budget;  // meshes vertices faces corners name bytes
        const char* detail;  // empty: imports
    } cases[] = {
        {"5 45 40 120 30", ""},
        {"4 45 40 120 30", "the model places meshes 5 times; one import takes at most 4 meshes"},
        {"5 44 40 120 30",
         "the model has more than 44 vertices: its first 5 placed meshes have 45; one import "
         "takes at most 44 vertices"},
        {"5 45 39 120 30",
         "the model has 40 faces in its 5 placed meshes; one import takes at most 39 faces"},
        {"5 45 40 119 30",
         "the model has 120 face corners in its 5 placed meshes; one import takes at most 119 "
         "face corners"},
        {"5 45 40 120 29",
         "the model has 30 bytes of object names in its 5 placed meshes; one import takes at "
         "most 29 bytes of object names"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.budget);
        ::setenv("KORVANE_ASSIMP_BUDGET", c.budget, 1);
        ObjectStore store;
        store.AddObject()->name = "kept";
        std::string detail;
        const ImportResult result = ImportThroughAssimp(path.string(), store, {}, &detail);
        EXPECT_EQ(detail, c.detail);
        if (*c.detail == '\0') {
            EXPECT_EQ(result.status, ImportStatus::kImported);
            EXPECT_EQ(store.objects.GetCount(), 6);
        } else {
            EXPECT_EQ(result.status, ImportStatus::kImporterOutOfMemory);
            EXPECT_EQ(store.objects.GetCount(), 1);
        }
    }
}

// Within the budget but beyond the tool's 1 GB: the allocation that fails ends the import, not
// the tool, and nothing of the file stays.
TEST_F(AssimpHostileTest, AModelBeyondTheMemoryLeftFailsWithALine) {
#ifdef KORVANE_HOSTILE_UNDER_ASAN
    GTEST_SKIP() << "AddressSanitizer needs the address space that the limit takes away";
#endif
    const fs::path path = model_ / "grid-400.gltf";
    WriteFile(path, InstancedGridGltf(400, 100));
    const ProcessResult run = ConvertWithCli(path);
    EXPECT_EQ(run.exitStatus, 2) << run.err;
    EXPECT_EQ(run.err, "korvane-cli: " + path.string() +
                           ": the model does not fit in the memory left; nothing was imported "
                           "from it\n");
}

}  // namespace
}  // namespace korvane::testing
