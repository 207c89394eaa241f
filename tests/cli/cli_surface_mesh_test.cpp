#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <assimp/Importer.hpp>

#include <string>

#include "cli_fixture.h"

// korvane-cli convert writing the patch surfaces as a triangle mesh.

namespace korvane {
namespace {

using testing::Cli;
using testing::CliTest;

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
    }

    const std::string missing = (dir_ / "no" / "torus.glb").string();
    const auto noFolder = Cli({"convert", torus, "-o", missing});
    EXPECT_EQ(noFolder.exitStatus, 3);
    EXPECT_EQ(noFolder.err,
              "korvane-cli: cannot write " + missing + ": No such file or directory\n");
}

}  // namespace
}  // namespace korvane
