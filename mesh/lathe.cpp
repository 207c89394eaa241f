#include <algorithm>
#include <cstdint>
#include <vector>

#include "geometry/matrix4.h"
#include "geometry/vec3.h"
#include "mesh/mesh_checks.h"
#include "mesh/mesh_operations.h"
#include "mesh/separate_source.h"

// Lathe: sweeps the lines of the source around the X, Y or Z axis.

namespace korvane {

using mesh_detail::CopyValidFaces;
using mesh_detail::CountValidEdges;
using mesh_detail::CountValidFaces;
using mesh_detail::EdgeValid;
using mesh_detail::FaceInRange;
using mesh_detail::kLineCorners;
using mesh_detail::kMaxElements;
using mesh_detail::kQuadCorners;
using mesh_detail::kTriangleCorners;
using mesh_detail::MakeFace;

namespace {

// The lines that take part in the sweep: both ends in range and distinct. A line from a vertex to
// itself would sweep into zero-length edges and flat quads, so it is left out like a bad record.
bool SweepableLine(const MeshFace& line, std::int32_t vertexCount) {
    return FaceInRange(line, kLineCorners, vertexCount) && line.corners[0] != line.corners[1];
}

// Moves p onto the half-plane of angle 0 around the axis, keeping its distance from the axis.
Vec3 OntoStartPlane(const Vec3& p, Axis axis) {
    Vec3 q;
    if (axis == Axis::kX) {
        q.Set(p.x, Length(Vec3{0.0f, p.y, p.z}), 0.0f);
    } else if (axis == Axis::kY) {
        q.Set(Length(Vec3{p.x, 0.0f, p.z}), p.y, 0.0f);
    } else {
        q.Set(Length(Vec3{p.x, p.y, 0.0f}), 0.0f, p.z);
    }
    return q;
}

Matrix4 Rotation(Axis axis, float degrees) {
    Matrix4 rotation;
    rotation.Identity();
    if (axis == Axis::kX) {
        rotation.RotateX(degrees);
    } else if (axis == Axis::kY) {
        rotation.RotateY(degrees);
    } else {
        rotation.RotateZ(degrees);
    }
    return rotation;
}

// Lathe with a source that is not the target.
void LatheInto(PolyMesh& source, PolyMesh& target) {
    ClearGeometry(target);
    const std::int32_t vertexCount = source.vertexCount();

    std::int32_t lineCount = 0;
    for (const MeshFace& line : source.lines) {
        lineCount += SweepableLine(line, vertexCount) ? 1 : 0;
    }
    if (!source.lathe || lineCount == 0) {
        CopyGeometry(source, target);
        return;
    }
    // The readers raise fewer than 3 segments to 3; a mesh built in code may still hold less (or a
    // negative count), which would divide by zero or give zero-length rings. Treat it as 3.
    const std::int32_t segments = std::max(source.latheSegments, 3);
    const Axis axis = source.latheAxis;

    // Profile vertices in order of first use; profileOf maps a vertex to its list position.
    std::vector<std::int32_t> profile;
    std::vector<std::int32_t> profileOf(static_cast<std::size_t>(vertexCount), -1);
    for (const MeshFace& line : source.lines) {
        if (!SweepableLine(line, vertexCount)) {
            continue;
        }
        for (std::int32_t k = 0; k < kLineCorners; ++k) {
            const std::int32_t v = line.corners[k];
            if (profileOf[v] < 0) {
                profileOf[v] = static_cast<std::int32_t>(profile.size());
                profile.push_back(v);
            }
        }
    }
    const auto profileCount = static_cast<std::int32_t>(profile.size());

    if (!source.edgesValid) {
        BuildEdges(source);
    }
    const std::int32_t sourceEdges = CountValidEdges(source.edges, vertexCount);
    const std::int32_t sourceTriangles =
        CountValidFaces(source.triangles, kTriangleCorners, vertexCount);
    const std::int32_t sourceQuads = CountValidFaces(source.quads, kQuadCorners, vertexCount);

    // Sizes in 64 bits: a huge segment count must neither wrap a 32-bit count nor ask for
    // terabytes. Beyond kMaxElements the target is left as a plain copy of the source, unswept
    // (ApplyModifiers still switches the lathe off), rather than failing mid-way.
    const std::int64_t n = segments;
    const std::int64_t newVertexCount = vertexCount + profileCount * (n - 1);
    const std::int64_t newEdgeCount = sourceEdges + profileCount * n + lineCount * (n - 1);
    const std::int64_t newQuadCount = sourceQuads + lineCount * n;
    if (newVertexCount > kMaxElements || newEdgeCount > kMaxElements ||
        newQuadCount > kMaxElements) {
        CopyGeometry(source, target);
        return;
    }

    // Copy m (1 .. N-1) of profile vertex u; copy 0 (and N) is the profile vertex itself.
    auto copyOf = [&](std::int32_t u, std::int32_t m) {
        return m == 0 || m == segments ? profile[u] : vertexCount + u * (segments - 1) + (m - 1);
    };

    target.SetVertexCount(static_cast<std::int32_t>(newVertexCount));
    std::copy_n(source.positions.begin(), vertexCount, target.positions.begin());

    target.edgesValid = true;
    target.edges.Allocate(static_cast<std::int32_t>(newEdgeCount));
    std::int32_t edge = 0;
    for (const MeshEdge& e : source.edges) {
        if (EdgeValid(e, vertexCount)) {
            target.edges[edge++] = e;
        }
    }

    for (std::int32_t u = 0; u < profileCount; ++u) {
        Vec3& profilePoint = target.positions[profile[u]];
        profilePoint = OntoStartPlane(profilePoint, axis);
    }
    // Each rotation serves every profile vertex; they are made a block of segments at a time, so
    // that a huge segment count needs no more memory, and each vertex's copies are still written
    // in order.
    constexpr std::int32_t kRotationBlock = 64;
    const float step = 360.0f / static_cast<float>(segments);
    std::vector<Matrix4> rotations;
    for (std::int32_t blockStart = 1; blockStart < segments; blockStart += kRotationBlock) {
        const std::int32_t blockEnd = std::min(segments, blockStart + kRotationBlock);
        rotations.clear();
        for (std::int32_t m = blockStart; m < blockEnd; ++m) {
            rotations.push_back(Rotation(axis, static_cast<float>(m) * step));
        }
        for (std::int32_t u = 0; u < profileCount; ++u) {
            const Vec3 profilePoint = target.positions[profile[u]];
            for (std::int32_t m = blockStart; m < blockEnd; ++m) {
                target.positions[copyOf(u, m)] = TransformPoint(
                    profilePoint, rotations[static_cast<std::size_t>(m - blockStart)]);
            }
        }
    }
    for (std::int32_t u = 0; u < profileCount; ++u) {
        for (std::int32_t m = 0; m < segments; ++m) {
            target.edges[edge++] = MeshEdge{copyOf(u, m), copyOf(u, m + 1)};
        }
    }

    target.triangles.Allocate(sourceTriangles);
    CopyValidFaces(source.triangles, kTriangleCorners, vertexCount, target.triangles, 0);

    target.quads.Allocate(static_cast<std::int32_t>(newQuadCount));
    std::int32_t quad = CopyValidFaces(source.quads, kQuadCorners, vertexCount, target.quads, 0);
    for (const MeshFace& line : source.lines) {
        if (!SweepableLine(line, vertexCount)) {
            continue;
        }
        const std::int32_t u0 = profileOf[line.corners[0]];
        const std::int32_t u1 = profileOf[line.corners[1]];
        std::int32_t previous0 = line.corners[0];
        std::int32_t previous1 = line.corners[1];
        for (std::int32_t l = 0; l < segments; ++l) {
            const std::int32_t next0 = copyOf(u0, l + 1);
            const std::int32_t next1 = copyOf(u1, l + 1);
            if (l < segments - 1) {
                target.edges[edge++] = MeshEdge{next0, next1};
            }
            target.quads[quad++] = MakeFace(kQuadCorners, previous0, previous1, next1, next0);
            previous0 = next0;
            previous1 = next1;
        }
    }
    // Lines of the target: none.
}

}  // namespace

void Lathe(PolyMesh& source, PolyMesh& target) {
    mesh_detail::WithSeparateSource(source, target, LatheInto);
}

}  // namespace korvane
