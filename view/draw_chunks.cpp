#include "view/draw_chunks.h"

#include <algorithm>

namespace korvane {

std::vector<DrawChunk> CurveChunks(const PatchObject& object, int curveResolution,
                                   std::size_t chunkSize) {
    const auto perSegment = static_cast<std::size_t>(2 * std::max(1, curveResolution) + 1);
    std::vector<DrawChunk> chunks;
    DrawChunk chunk;
    for (std::int32_t spline = 0; spline < object.SplineCount(); ++spline) {
        const std::int32_t nodes = object.SplineNodeCount(spline);
        const std::int32_t segments = object.Closed(spline) ? nodes : std::max(0, nodes - 1);
        const std::size_t vertices = static_cast<std::size_t>(segments) * perSegment;
        if (chunkSize > 0 && chunk.end > chunk.first && chunk.size + vertices > chunkSize) {
            chunks.push_back(chunk);
            chunk = {spline, spline, 0};
        }
        chunk.end = spline + 1;
        chunk.size += vertices;
    }
    if (chunk.end > chunk.first) {
        chunks.push_back(chunk);
    }
    return chunks;
}

std::vector<DrawChunk> PointChunks(const PatchObject& object, std::size_t chunkSize) {
    const auto points = static_cast<std::size_t>(object.PointCount());
    const std::size_t step = chunkSize > 0 ? chunkSize : std::max<std::size_t>(points, 1);
    std::vector<DrawChunk> chunks;
    for (std::size_t first = 0; first < points; first += step) {
        const std::size_t end = std::min(points, first + step);
        chunks.push_back(
            {static_cast<std::int32_t>(first), static_cast<std::int32_t>(end), end - first});
    }
    return chunks;
}

}  // namespace korvane
