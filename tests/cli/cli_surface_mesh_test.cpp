#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <assimp/Importer.hpp>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_fixture.h"

// korvane-cli convert writing the patch surfaces as a triangle mesh.

namespace korvane {
namespace {

using testing::Cli;
using testing::CliTest;
namespace fs = std::filesystem;

std::size_t Triangles(const std::string& path) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, 0);
    if (scene == nullptr) {
        ADD_FAILURE() << path << ": " << importer.GetErrorString();
        return 0;
    }
    std::size_t count = 0;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        count += scene->mMeshes[m]->mNumFaces;
    }
    return count;
}

// The file with the .bin beside it that a .gltf keeps its points in.
std::string Geometry(const fs::path& path) {
    const fs::path buffers = fs::path(path).replace_extension(".bin");
    return testing::ReadWholeFile(path) +
           (fs::exists(buffers) ? testing::ReadWholeFile(buffers) : std::string());
}

// Each patch side is cut into 2 x resolution steps, and each cell into two triangles.
TEST_F(CliTest, ConvertWritesTheSurfacesInTheFormatOfTheOutputsExtension) {
    const std::string torus = std::string(KORVANE_EXAMPLES_DIR) + "/torus.mqo";
    const auto info = Cli({"info", torus, "--json", "--connect", "150"});
    ASSERT_EQ(info.exitStatus, 0) << info.err;
    const long long quads = testing::JsonNumber(info.out, "quad_patches");
    ASSERT_GT(quads, 0);
    ASSERT_EQ(testing::JsonNumber(info.out, "tri_patches"), 0);
    for (const std::string extension : {".obj", ".ply", ".stl", ".gltf", ".GLB"}) {
        SCOPED_TRACE(extension);
        const std::string output = (dir_ / ("torus" + extension)).string();
        const auto standard = Cli({"convert", torus, "-o", output, "--connect", "150"});
        ASSERT_EQ(standard.exitStatus, 0) << standard.err;
        EXPECT_EQ(Triangles(output), static_cast<std::size_t>(quads * 2 * 2 * 2));
        const auto finer =
            Cli({"convert", torus, "-o", output, "--resolution", "3", "--connect", "150"});
        ASSERT_EQ(finer.exitStatus, 0) << finer.err;
        EXPECT_EQ(Triangles(output), static_cast<std::size_t>(quads * 6 * 6 * 2));

        // The smooth surfaces: the same triangles between other points. Written under the same
        // name in a folder of their own, so that a file naming its side files differs by no name.
        fs::create_directories(dir_ / "smooth");
        const std::string smoothOutput = (dir_ / "smooth" / ("torus" + extension)).string();
        const auto smooth = Cli({"convert", torus, "-o", smoothOutput, "--resolution", "3",
                                 "--connect", "150", "--smooth"});
        ASSERT_EQ(smooth.exitStatus, 0) << smooth.err;
        EXPECT_EQ(Triangles(smoothOutput), static_cast<std::size_t>(quads * 6 * 6 * 2));
        EXPECT_NE(Geometry(smoothOutput), Geometry(output));
    }

    // STEP and IGES faces of the smooth surfaces are B-splines of 6 x 6 poles with two inner
    // knots, where today's are single Bezier spans: the knot multiplicities in STEP, given for
    // both directions, and the last pole indices in IGES.
    const struct {
        std::string extension;
        std::string smoothMark;
        int perFace;
    } kCadFormats[] = {{".step", "(4,1,1,4)", 2}, {".igs", "\n128,5,5,3,3,", 1}};
    for (const auto& [extension, smoothMark, perFace] : kCadFormats) {
        SCOPED_TRACE(extension);
        std::string files[2];
        for (const bool smooth : {false, true}) {
            const std::string output =
                (dir_ / ("torus" + std::to_string(smooth) + extension)).string();
            std::vector<std::string> args = {"convert", torus, "-o", output, "--connect", "150"};
            if (smooth) {
                args.push_back("--smooth");
            }
            const auto result = Cli(args);
            ASSERT_EQ(result.exitStatus, 0) << result.err;
            files[smooth] = testing::ReadWholeFile(output);
        }
        EXPECT_EQ(testing::Occurrences(files[0], smoothMark), 0);
        EXPECT_EQ(testing::Occurrences(files[1], smoothMark), perFace * quads);
    }

    const std::string missing = (dir_ / "no" / "torus.glb").string();
    const auto noFolder = Cli({"convert", torus, "-o", missing});
    EXPECT_EQ(noFolder.exitStatus, 3);
    EXPECT_EQ(noFolder.err,
              "korvane-cli: cannot write " + missing + ": No such file or directory\n");
}

}  // namespace
}  // namespace korvane
