#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "document/object_store.h"
#include "import/lightwave_reader.h"
#include "import/metasequoia_reader.h"
#include "tools/modelgen/model_shapes.h"
#include "tools/modelgen/model_writers.h"

// The benchmark models read back the same from all three files the generator writes: the text
// and the binary Metasequoia files (modifiers included) and the LightWave file (without them),
// down to the bits of every coordinate and handle and the order of every list.

namespace korvane {
namespace {

using modelgen::GeneratedModel;

// Everything an imported network holds, by position and by bit pattern.
struct NetworkImage {
    std::string name;
    std::vector<std::uint32_t> pointBits;  // x, y, z of each control point
    std::vector<std::vector<std::int32_t>> splinePoints;
    std::vector<std::uint32_t> handleBits;  // in and out handle of each node, spline by spline
    std::vector<std::vector<std::int32_t>> references;  // (spline, node) pairs of each point
    bool operator==(const NetworkImage&) const = default;
};

NetworkImage ImageOf(const PatchObject& object) {
    NetworkImage image;
    image.name = object.name;
    for (std::int32_t point = 0; point < object.PointCount(); ++point) {
        const PatchVec3& position = object.Points()[static_cast<std::size_t>(point)];
        for (const float value : {position.x, position.y, position.z}) {
            image.pointBits.push_back(std::bit_cast<std::uint32_t>(value));
        }
        std::vector<std::int32_t> references;
        for (const SplineRef& ref : object.RefsOf(point)) {
            references.push_back(ref.spline);
            references.push_back(ref.node);
        }
        image.references.push_back(references);
    }
    for (std::int32_t spline = 0; spline < object.SplineCount(); ++spline) {
        std::vector<std::int32_t> points;
        for (const SplineNode& node : object.SplineNodes(spline)) {
            points.push_back(node.controlPoint);
            for (const PatchVec3* handle : {&node.handleIn, &node.handleOut}) {
                for (const float value : {handle->x, handle->y, handle->z}) {
                    image.handleBits.push_back(std::bit_cast<std::uint32_t>(value));
                }
            }
        }
        points.push_back(object.Closed(spline) ? 1 : 0);
        image.splinePoints.push_back(points);
    }
    return image;
}

NetworkImage ImportedImage(const std::string& bytes, bool lightWave) {
    ObjectStore store;
    const ImportResult result = lightWave ? ImportLightWaveBytes(bytes, "file", store)
                                          : ImportMetasequoiaBytes(bytes, store);
    EXPECT_EQ(result.status, ImportStatus::kImported);
    EXPECT_FALSE(result.truncated);
    EXPECT_EQ(result.droppedFaces, 0);
    EXPECT_EQ(store.objects.GetCount(), 1);
    return store.objects.IsEmpty() ? NetworkImage{} : ImageOf(*store.objects.GetHead());
}

TEST(GeneratedFormatsTest, TextBinaryAndLightWaveFilesGiveTheSameNetwork) {
    const GeneratedModel models[] = {modelgen::MakeTorus(17, 11), modelgen::MakeSphere(12, 6),
                                     modelgen::MakeTriangleSoup(9, 7, 11), modelgen::MakeGrid(8, 6),
                                     modelgen::MakeLatheProfile(9, 5)};
    for (GeneratedModel model : models) {
        SCOPED_TRACE(model.name);
        model.lathe = 0;  // LightWave files carry no modifiers
        const NetworkImage text = ImportedImage(modelgen::WriteMqoText(model), false);
        EXPECT_EQ(text.pointBits.size(), 3 * model.positions.size());
        EXPECT_EQ(text.name, model.name);
        EXPECT_TRUE(ImportedImage(modelgen::WriteMqoBinary(model), false) == text);
        EXPECT_TRUE(ImportedImage(modelgen::WriteLwo2(model), true) == text);
    }
}

TEST(GeneratedFormatsTest, ModifiersReadTheSameFromTextAndBinaryVertices) {
    const GeneratedModel models[] = {modelgen::MakeMirrorHalf(7, 5, 1),
                                     modelgen::MakeMirrorHalf(6, 6, 3),
                                     modelgen::MakeLatheProfile(12, 9)};
    for (const GeneratedModel& model : models) {
        SCOPED_TRACE(model.name);
        const NetworkImage text = ImportedImage(modelgen::WriteMqoText(model), false);
        EXPECT_TRUE(ImportedImage(modelgen::WriteMqoBinary(model), false) == text);
        // The modifiers ran: more points than the file's vertices.
        EXPECT_GT(text.pointBits.size(), 3 * model.positions.size());
    }
}

}  // namespace
}  // namespace korvane
