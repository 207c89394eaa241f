#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "geometry/vec3.h"
#include "mesh/mesh_checks.h"
#include "mesh/mesh_operations.h"
#include "mesh/pair_set.h"
#include "mesh/separate_source.h"

// Mirror: adds the reflection of the source across the plane x = 0, y = 0 or z = 0, as a separate
// half (MirrorMode::kSeparate) or joined to the source along its open edges
// (MirrorMode::kConnected).

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

float& AxisCoordinate(Vec3& p, Axis axis) {
    return axis == Axis::kX ? p.x : axis == Axis::kY ? p.y : p.z;
}
float AxisValue(const Vec3& p, Axis axis) {
    return axis == Axis::kX ? p.x : axis == Axis::kY ? p.y : p.z;
}

// "Compares equal to 0.0": -0.0 lies on the plane, and so does a NaN.
bool OnPlane(float c) {
    return !(c < 0.0f) && !(c > 0.0f);
}

bool WithinCap(std::initializer_list<std::int64_t> sizes) {
    for (std::int64_t size : sizes) {
        if (size > kMaxElements) {
            return false;
        }
    }
    return true;
}

void Store(const std::vector<MeshFace>& from, GrowableArray<MeshFace>& to) {
    to.Allocate(static_cast<std::int32_t>(from.size()));
    std::copy(from.begin(), from.end(), to.begin());
}

// Appends, for each valid record of `from`, its corners in reverse order passed through map.
template <class Map>
void AppendReversed(const GrowableArray<MeshFace>& from, std::int32_t corners,
                    std::int32_t vertexCount, Map map, std::vector<MeshFace>& to) {
    for (const MeshFace& face : from) {
        if (!FaceInRange(face, corners, vertexCount)) {
            continue;
        }
        MeshFace image;
        image.cornerCount = corners;
        for (std::int32_t k = 0; k < corners; ++k) {
            image.corners[k] = map(face.corners[corners - 1 - k]);
        }
        to.push_back(image);
    }
}

void AppendValid(const GrowableArray<MeshFace>& from, std::int32_t corners,
                 std::int32_t vertexCount, std::vector<MeshFace>& to) {
    for (const MeshFace& face : from) {
        if (FaceInRange(face, corners, vertexCount)) {
            MeshFace copy = face;
            copy.cornerCount = corners;
            to.push_back(copy);
        }
    }
}

// The source, then every vertex reflected and every record reversed and shifted by V.
void MirrorSeparate(PolyMesh& source, PolyMesh& target, Axis axis) {
    const std::int32_t v = source.vertexCount();
    const std::int32_t edgeCount = source.edgesValid ? CountValidEdges(source.edges, v) : 0;
    const std::int32_t lineCount = CountValidFaces(source.lines, kLineCorners, v);
    const std::int32_t triangleCount = CountValidFaces(source.triangles, kTriangleCorners, v);
    const std::int32_t quadCount = CountValidFaces(source.quads, kQuadCorners, v);
    if (!WithinCap({2 * std::int64_t{v}, 2 * std::int64_t{edgeCount}, 2 * std::int64_t{lineCount},
                    2 * std::int64_t{triangleCount}, 2 * std::int64_t{quadCount}})) {
        CopyGeometry(source, target);  // see kMaxElements: too big to double, left unmirrored
        return;
    }

    target.SetVertexCount(2 * v);
    for (std::int32_t i = 0; i < v; ++i) {
        target.positions[i] = source.positions[i];
        Vec3 image = source.positions[i];
        AxisCoordinate(image, axis) *= -1.0f;
        target.positions[v + i] = image;
    }

    if (source.edgesValid) {
        target.edgesValid = true;
        target.edges.Allocate(2 * edgeCount);
        std::int32_t at = 0;
        for (const MeshEdge& edge : source.edges) {
            if (EdgeValid(edge, v)) {
                target.edges[at] = edge;
                target.edges[edgeCount + at] = MeshEdge{edge.first + v, edge.second + v};
                ++at;
            }
        }
    }

    auto shift = [v](std::int32_t c) { return c + v; };
    auto mirrorList = [&](const GrowableArray<MeshFace>& from, std::int32_t corners,
                          GrowableArray<MeshFace>& to) {
        std::vector<MeshFace> out;
        AppendValid(from, corners, v, out);
        AppendReversed(from, corners, v, shift, out);
        Store(out, to);
    };
    mirrorList(source.lines, kLineCorners, target.lines);
    mirrorList(source.triangles, kTriangleCorners, target.triangles);
    mirrorList(source.quads, kQuadCorners, target.quads);
}

// How many corners of the faces listed for vertex a (triangles, then quads) equal b, stopping after
// the face that brings the count to 2.
std::int32_t SharedFaceCorners(const PolyMesh& source, std::int32_t a, std::int32_t b) {
    std::int32_t count = 0;
    auto scan = [&](const FaceIndexList& listed, const GrowableArray<MeshFace>& faces,
                    std::int32_t corners) {
        for (std::int32_t f : listed) {
            if (f < 0 || f >= faces.count()) {
                continue;  // stale list entry: never index with it
            }
            for (std::int32_t k = 0; k < corners; ++k) {
                count += faces[f].corners[k] == b ? 1 : 0;
            }
            if (count >= 2) {
                return true;
            }
        }
        return false;
    };
    if (source.vertexTriangles &&
        scan(source.vertexTriangles[a], source.triangles, kTriangleCorners)) {
        return count;
    }
    if (source.vertexQuads) {
        scan(source.vertexQuads[a], source.quads, kQuadCorners);
    }
    return count;
}

// Shared in-plane vertices, open edges bridged to their mirror images.
void MirrorConnected(PolyMesh& source, PolyMesh& target, Axis axis) {
    if (!source.edgesValid) {
        BuildEdges(source);
    }
    if (!source.faceListsValid) {
        BuildVertexFaceLists(source);
    }
    const std::int32_t v = source.vertexCount();
    const std::int32_t edgeCount = CountValidEdges(source.edges, v);
    const std::int32_t lineCount = CountValidFaces(source.lines, kLineCorners, v);
    const std::int32_t triangleCount = CountValidFaces(source.triangles, kTriangleCorners, v);
    const std::int32_t quadCount = CountValidFaces(source.quads, kQuadCorners, v);
    // Upper bounds: every edge mirrored plus one joining edge per vertex; one new face per edge.
    const std::int64_t e64 = edgeCount;
    if (!WithinCap({2 * std::int64_t{v}, 2 * e64 + v, 2 * std::int64_t{lineCount},
                    2 * std::int64_t{triangleCount} + e64, 2 * std::int64_t{quadCount} + e64})) {
        CopyGeometry(source, target);  // see kMaxElements: too big to mirror, left unmirrored
        return;
    }

    std::vector<char> onPlane(static_cast<std::size_t>(v));
    std::vector<std::int32_t> map(static_cast<std::size_t>(v));
    std::int32_t newVertexCount = v;
    for (std::int32_t i = 0; i < v; ++i) {
        onPlane[i] = OnPlane(AxisValue(source.positions[i], axis)) ? 1 : 0;
        map[i] = onPlane[i] != 0 ? i : newVertexCount++;
    }
    target.SetVertexCount(newVertexCount);
    for (std::int32_t i = 0; i < v; ++i) {
        target.positions[i] = source.positions[i];
        if (onPlane[i] == 0) {
            Vec3 image = source.positions[i];
            AxisCoordinate(image, axis) = -AxisValue(image, axis);
            target.positions[map[i]] = image;
        }
    }

    std::vector<MeshEdge> edges;
    edges.reserve(static_cast<std::size_t>(2 * e64));
    std::vector<MeshEdge> joining;
    std::vector<char> joined(static_cast<std::size_t>(v));
    std::vector<MeshFace> newTriangles;
    std::vector<MeshFace> newQuads;
    mesh_detail::PairSet removedLines(edgeCount);
    const bool distanceSet = source.mirrorDistanceSet;
    const double distance = source.mirrorDistance;

    for (const MeshEdge& edge : source.edges) {
        if (!EdgeValid(edge, v)) {
            continue;
        }
        const std::int32_t a = edge.first;
        const std::int32_t b = edge.second;
        const bool aOn = onPlane[a] != 0;
        const bool bOn = onPlane[b] != 0;
        edges.push_back(edge);
        if (aOn && bOn) {
            continue;  // in the plane: neither mirrored nor bridged
        }
        edges.push_back(MeshEdge{map[a], map[b]});
        if (distanceSet) {
            const double da = std::fabs(static_cast<double>(AxisValue(source.positions[a], axis)));
            const double db = std::fabs(static_cast<double>(AxisValue(source.positions[b], axis)));
            if (da > distance || db > distance) {
                continue;
            }
        }
        const std::int32_t shared = SharedFaceCorners(source, a, b);
        if (shared >= 2) {
            continue;  // inner edge
        }
        if (shared == 0) {
            removedLines.Insert(a, b);  // loose edge: its line is replaced by the bridge
        }
        if (!aOn && !bOn) {
            newQuads.push_back(MakeFace(kQuadCorners, b, a, map[a], map[b]));
        } else {
            const std::int32_t off = aOn ? b : a;
            newTriangles.push_back(MakeFace(kTriangleCorners, b, a, map[off]));
        }
        for (std::int32_t end : {a, b}) {
            if (onPlane[end] == 0 && joined[end] == 0) {
                joined[end] = 1;
                joining.push_back(MeshEdge{end, map[end]});
            }
        }
    }

    target.edgesValid = true;
    edges.insert(edges.end(), joining.begin(), joining.end());
    target.edges.Allocate(static_cast<std::int32_t>(edges.size()));
    std::copy(edges.begin(), edges.end(), target.edges.begin());

    auto mapped = [&map](std::int32_t c) { return map[c]; };
    std::vector<MeshFace> out;
    for (const MeshFace& line : source.lines) {
        if (!FaceInRange(line, kLineCorners, v) ||
            removedLines.Contains(line.corners[0], line.corners[1])) {
            continue;
        }
        out.push_back(MakeFace(kLineCorners, line.corners[0], line.corners[1]));
        out.push_back(MakeFace(kLineCorners, map[line.corners[0]], map[line.corners[1]]));
    }
    Store(out, target.lines);

    out.clear();
    AppendValid(source.triangles, kTriangleCorners, v, out);
    AppendReversed(source.triangles, kTriangleCorners, v, mapped, out);
    out.insert(out.end(), newTriangles.begin(), newTriangles.end());
    Store(out, target.triangles);

    out.clear();
    AppendValid(source.quads, kQuadCorners, v, out);
    AppendReversed(source.quads, kQuadCorners, v, mapped, out);
    out.insert(out.end(), newQuads.begin(), newQuads.end());
    Store(out, target.quads);
}

// Mirror with a source that is not the target.
void MirrorInto(PolyMesh& source, PolyMesh& target, Axis axis) {
    ClearGeometry(target);
    const std::int32_t v = source.vertexCount();
    const std::int64_t faceCount =
        std::int64_t{CountValidFaces(source.triangles, kTriangleCorners, v)} +
        CountValidFaces(source.quads, kQuadCorners, v);
    if (source.mirror == MirrorMode::kNone || faceCount == 0) {
        CopyGeometry(source, target);
    } else if (source.mirror == MirrorMode::kSeparate) {
        MirrorSeparate(source, target, axis);
    } else if (source.mirror == MirrorMode::kConnected) {
        MirrorConnected(source, target, axis);
    }
    // A mode outside MirrorMode (a number cast in; the readers let none through) leaves the target
    // empty.
}

}  // namespace

void Mirror(PolyMesh& source, PolyMesh& target, Axis axis) {
    mesh_detail::WithSeparateSource(
        source, target, [axis](PolyMesh& from, PolyMesh& to) { MirrorInto(from, to, axis); });
}

}  // namespace korvane
