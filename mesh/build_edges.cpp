#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "mesh/mesh_checks.h"
#include "mesh/mesh_operations.h"

// BuildEdges: every face side in order, lines, then triangles, then quads; an unordered pair of
// vertices is kept the first time it is met, with that orientation.
//
// The sides are grouped by their lower vertex with a counting sort, which keeps each group in side
// order and walks memory in vertex order; a hash table of all pairs, as before, cost a cache miss
// per side on a big mesh. The groups are then deduplicated one by one, and a last pass over the
// sides emits the first of each pair in side order.

namespace korvane {

using mesh_detail::FaceInRange;
using mesh_detail::kLineCorners;
using mesh_detail::kQuadCorners;
using mesh_detail::kTriangleCorners;

namespace {

// Calls visit(a, b) for every line and every side of a triangle or quad, in that order, whose
// corners are all in range, when a and b differ.
template <class Visit>
void ForEachSide(const PolyMesh& mesh, Visit visit) {
    const std::int32_t vertexCount = mesh.vertexCount();
    for (const MeshFace& line : mesh.lines) {
        if (FaceInRange(line, kLineCorners, vertexCount) && line.corners[0] != line.corners[1]) {
            visit(line.corners[0], line.corners[1]);
        }
    }
    auto outline = [&](const GrowableArray<MeshFace>& list, std::int32_t corners) {
        for (const MeshFace& face : list) {
            if (!FaceInRange(face, corners, vertexCount)) {
                continue;
            }
            for (std::int32_t k = 0; k < corners; ++k) {
                const std::int32_t a = face.corners[k];
                const std::int32_t b = face.corners[k + 1 < corners ? k + 1 : 0];
                if (a != b) {
                    visit(a, b);
                }
            }
        }
    };
    outline(mesh.triangles, kTriangleCorners);
    outline(mesh.quads, kQuadCorners);
}

// Groups this small are searched pair by pair; larger ones (a vertex at the tip of a fan) sorted.
constexpr std::size_t kLinearGroup = 8;

// Sets first[i] for each entry i of a group (upper vertices in side order) whose upper vertex no
// earlier entry of the group has.
void MarkFirstOfGroup(const std::int32_t* upper, std::size_t count, char* first) {
    if (count <= kLinearGroup) {
        for (std::size_t i = 0; i < count; ++i) {
            first[i] = std::find(upper, upper + i, upper[i]) == upper + i ? 1 : 0;
        }
        return;
    }
    std::vector<std::pair<std::int32_t, std::size_t>> sorted(count);
    for (std::size_t i = 0; i < count; ++i) {
        sorted[i] = {upper[i], i};
    }
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 0; i < count; ++i) {
        first[sorted[i].second] = i == 0 || sorted[i].first != sorted[i - 1].first ? 1 : 0;
    }
}

}  // namespace

void BuildEdges(PolyMesh& mesh) {
    mesh.edgesValid = true;
    mesh.faceListsValid = false;
    mesh.edges.Release();
    const std::int32_t vertexCount = mesh.vertexCount();
    if (vertexCount < 2) {
        return;
    }

    // groupStart[v]: where the sides whose lower vertex is v begin among all sides so grouped.
    std::vector<std::size_t> groupStart(static_cast<std::size_t>(vertexCount) + 1);
    ForEachSide(mesh, [&](std::int32_t a, std::int32_t b) { ++groupStart[std::min(a, b) + 1]; });
    for (std::int32_t v = 0; v < vertexCount; ++v) {
        groupStart[v + 1] += groupStart[v];
    }
    const std::size_t sides = groupStart.back();
    std::vector<std::int32_t> upper(sides);
    std::vector<std::size_t> fill(groupStart.begin(), groupStart.end() - 1);
    ForEachSide(mesh, [&](std::int32_t a, std::int32_t b) {
        upper[fill[std::min(a, b)]++] = std::max(a, b);
    });

    std::vector<char> first(sides);
    for (std::int32_t v = 0; v < vertexCount; ++v) {
        const std::size_t start = groupStart[v];
        MarkFirstOfGroup(upper.data() + start, groupStart[v + 1] - start, first.data() + start);
    }

    // At most 4 x 2^31 sides could in principle give more edges than a 32-bit count holds; such a
    // mesh cannot exist in memory, but the count is clamped rather than wrapped all the same.
    const auto kept = static_cast<std::size_t>(std::count(first.begin(), first.end(), 1));
    const auto count = static_cast<std::int32_t>(std::min<std::size_t>(kept, INT32_MAX));
    mesh.edges.Allocate(count);
    std::copy(groupStart.begin(), groupStart.end() - 1, fill.begin());
    std::int32_t at = 0;
    ForEachSide(mesh, [&](std::int32_t a, std::int32_t b) {
        if (first[fill[std::min(a, b)]++] != 0 && at < count) {
            mesh.edges[at++] = MeshEdge{a, b};
        }
    });
}

}  // namespace korvane
