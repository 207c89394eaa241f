#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "document/object_store.h"
#include "export/rvp_writer.h"
#include "export/surface_mesh_builder.h"
#include "import/import_test_support.h"
#include "import/lightwave_reader.h"
#include "import/metasequoia_reader.h"
#include "import/model_format.h"
#include "import/rvp_reader.h"
#include "patch/bezier_net.h"
#include "patch/curve_connector.h"
#include "patch/patch_builder.h"
#include "patch/patch_invariants.h"
#include "support/run_process.h"
#include "support/rvp_reader.h"

// What every hostile input goes through: the reader chosen by content as the command-line tool
// chooses it, then the rest of a conversion in memory; and the command-line tool itself in a
// process of its own, whose address space is held to 1 GB so that memory out of proportion to the
// file shows as a failure rather than as a slow machine.

#if defined(__SANITIZE_ADDRESS__)
#define KORVANE_HOSTILE_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVANE_HOSTILE_UNDER_ASAN 1
#endif
#endif

namespace korvane::testing {

namespace fs = std::filesystem;

inline constexpr float kConnectDegrees = 150.0f;

inline ImportResult ImportByContent(std::string_view bytes, ObjectStore& store) {
    switch (DetectModelFormat(bytes.substr(0, 64))) {
        case ModelFormat::kMetasequoia:
            return ImportMetasequoiaBytes(bytes, store);
        case ModelFormat::kLightWave:
            return ImportLightWaveBytes(bytes, "hostile", store);
        case ModelFormat::kRuvoPatch: {
            // A refused ruvoPatch file adds nothing, like a file of no known kind.
            const RvpReadResult read = ImportRvpBytes(bytes, store);
            return ImportResult{.status = read.error.empty() ? ImportStatus::kImported
                                                             : ImportStatus::kNotThatFormat,
                                .objectsAdded = read.objectsAdded};
        }
        case ModelFormat::kUnknown:
            break;
    }
    return ImportResult{.status = ImportStatus::kNotThatFormat};
}

// The surface mesh export's triangles name its vertices, every position is finite, and every
// normal is of unit length or, where the surface has no direction, zero; never NaN, whatever the
// coordinates.
inline void ExpectSoundSurfaceMesh(PatchObject& object) {
    const SurfaceMesh mesh = BuildSurfaceMesh(object, 1);
    ASSERT_EQ(mesh.normals.size(), mesh.positions.size());
    int astray = 0;
    for (std::size_t i = 0; i < mesh.positions.size(); ++i) {
        const Vec3& p = mesh.positions[i];
        const Vec3& n = mesh.normals[i];
        const double squared = double{n.x} * n.x + double{n.y} * n.y + double{n.z} * n.z;
        astray += !(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z)) ||
                  !(squared == 0.0 || std::fabs(squared - 1.0) < 1e-5);
    }
    EXPECT_EQ(astray, 0) << object.name;
    for (const std::uint32_t corner : mesh.triangles) {
        ASSERT_LT(corner, mesh.positions.size());
    }
}

// Connect Curve, patches, every patch's nets, the surface mesh and the export, as the tool
// converts; the exported bytes must read back with every object, point and spline, and every
// network must stay sound.
inline void ExpectConvertsInMemory(ObjectStore& store) {
    for (PatchObject* object : store.objects) {
        object->DeletePatches();
        ConnectCurves(*object, kConnectDegrees, {});
        ComputeHandles(*object);
        DetectPatches(*object);
        for (const Patch& patch : object->Patches()) {
            if (patch.cornerCount == 4) {
                BezierNet net;
                QuadNet(*object, patch, net);
            } else {
                std::array<BezierNet, 3> nets;
                TriangleNets(*object, patch, nets);
            }
        }
        EXPECT_EQ(CheckPatchInvariants(*object), std::vector<std::string>{}) << object->name;
        ExpectSoundSurfaceMesh(*object);
    }
    const std::vector<std::uint8_t> serialized = SerializeRvp(store.objects);
    const std::string file(serialized.begin(), serialized.end());
    RvpReader reader(file);
    const auto objects = reader.Read();
    ASSERT_TRUE(objects.has_value()) << reader.error();
    ASSERT_EQ(static_cast<std::int32_t>(objects->size()), store.objects.GetCount());
    std::size_t i = 0;
    for (const PatchObject* object : store.objects) {
        EXPECT_EQ(static_cast<std::int32_t>((*objects)[i].points.size()), object->PointCount());
        EXPECT_EQ(static_cast<std::int32_t>((*objects)[i].splines.size()), object->SplineCount());
        ++i;
    }
}

// Imports by content and converts; the import's report must match what it added.
inline ImportResult ImportAndConvert(std::string_view bytes, ObjectStore& store) {
    const ImportResult result = ImportByContent(bytes, store);
    EXPECT_EQ(result.objectsAdded, store.objects.GetCount());
    if (result.status == ImportStatus::kNotThatFormat) {
        EXPECT_EQ(result.objectsAdded, 0);
    } else {
        EXPECT_EQ(result.status, ImportStatus::kImported);
    }
    ExpectConvertsInMemory(store);
    return result;
}

inline std::int64_t ControlPointsOf(const ObjectStore& store) {
    std::int64_t count = 0;
    for (const PatchObject* object : store.objects) {
        count += object->PointCount();
    }
    return count;
}

// The shell words that hold the tool's address space to 1 GB. AddressSanitizer reserves far more
// address space than it uses, so a sanitized build runs without the limit.
inline std::string MemoryLimitPrefix() {
#ifdef KORVANE_HOSTILE_UNDER_ASAN
    return "";
#else
    return "ulimit -v 1048576; ";
#endif
}

// Runs `korvane-cli convert` with Connect Curve on the input under the memory limit; the output
// goes to a temporary file that is removed afterwards.
inline ProcessResult ConvertWithCli(const fs::path& input, const std::string& extraPrefix = "") {
    const fs::path output =
        fs::path(::testing::TempDir()) / ("korvane-hostile-" + std::to_string(getpid()) + ".rvp");
    ProcessResult result = RunProcess(
        KORVANE_CLI_PATH, {"convert", "--connect", "150", "-o", output.string(), input.string()},
        MemoryLimitPrefix() + extraPrefix);
    std::error_code ignored;
    fs::remove(output, ignored);
    return result;
}

inline void WriteFile(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A fresh folder per test, removed afterwards.
class HostileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::path(::testing::TempDir()) / "korvane-hostile-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    // Writes the bytes to a file of the folder and converts it with the tool, which must end
    // with `exitStatus`; a status of 2 must come with a line that names the file. A model read
    // whole that holds no object at all counts as read (0), though nothing is written (3).
    ProcessResult ExpectCliEnds(std::string_view bytes, int exitStatus,
                                const std::string& name = "model") {
        const fs::path input = folder_ / name;
        WriteFile(input, bytes);
        const ProcessResult result = ConvertWithCli(input);
        const bool readEmpty =
            result.exitStatus == 3 && result.err.ends_with(": there is no object to write\n");
        EXPECT_EQ(readEmpty ? 0 : result.exitStatus, exitStatus) << name << ": " << result.err;
        if (exitStatus == 2) {
            EXPECT_NE(result.err.find(input.string()), std::string::npos) << result.err;
        }
        return result;
    }

    fs::path folder_;
};

}  // namespace korvane::testing
