#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "geometry/axis.h"
#include "geometry/growable_array.h"
#include "geometry/vec3.h"

// The short-lived polygon mesh that a reader fills for one object. Only vertex positions and the
// edge list reach the patch model; faces exist to derive the edges and to drive the modifiers.
// Derived data (edges, per-vertex face lists) is rebuilt on demand behind validity flags.

namespace korvane {

struct MeshFace {
    std::int32_t cornerCount = 3;
    // Vertex indices in outline order, the first cornerCount used. A face of five or more
    // corners in `faces` keeps its first four here and all of them in PolyMesh::outlineCorners.
    std::int32_t corners[4] = {0, 0, 0, 0};
};

struct MeshEdge {
    std::int32_t first = 0;   // vertex index
    std::int32_t second = 0;  // vertex index, never equal to first
};

// Indices of the faces (of one kind) that use a vertex, ascending, once per corner that uses it.
using FaceIndexList = GrowableArray<std::int32_t>;

enum class FaceList { kFaces, kLines, kTriangles, kQuads };

// How a mirror adds the reflected half. The numbers are those a Metasequoia file gives.
enum class MirrorMode : std::int32_t {
    kNone = 0,
    kSeparate = 1,   // a second, unconnected half
    kConnected = 2,  // joined to the source along its open edges
};

class PolyMesh {
  public:
    PolyMesh() = default;
    PolyMesh(const PolyMesh&) = delete;
    PolyMesh& operator=(const PolyMesh&) = delete;
    ~PolyMesh();

    std::int32_t vertexCount() const { return vertexCount_; }

    // Discards all vertices; allocates n at (0, 0, 0) with empty face lists (none for n <= 0);
    // faceListsValid becomes false.
    void SetVertexCount(std::int32_t n);
    // Keeps the first min(old, n) positions; new vertices at (0, 0, 0).
    void ResizeVertices(std::int32_t n);
    // Discards faces and allocates n new records.
    void SetFaceCount(std::int32_t n);
    // Changes the length of one face list, keeping its records in order.
    void ResizeFaces(FaceList list, std::int32_t n);
    // Sorts faces into lines, triangles and quads and empties faces. A face of five or more
    // corners becomes the lines of its outline, in its place among the lines (no line where two
    // neighbouring corners are the same vertex); one that names a vertex out of range is dropped
    // whole and counted in droppedOutlines. Faces of 0 or 1 corners are dropped.
    void SplitFaces();
    void ClearFaces();
    bool NeedsModifiers() const;
    // Removes from faces, lines, triangles and quads every record that names a vertex index below 0
    // or not below vertexCount() among the corners it uses (for lines, triangles and quads: 2, 3
    // and 4 corners, whatever cornerCount says; for faces: cornerCount corners when it is 2 to 4,
    // other records are left for SplitFaces to drop). Keeps the order of the remaining records,
    // sets cornerCount of every kept line, triangle and quad to 2, 3 and 4, and returns how many
    // records were removed. Readers call it after filling the faces and before BuildEdges, to
    // report dropped faces; every mesh operation also skips such records on its own.
    std::int32_t DropInvalidFaces();

    std::string name;                 // bytes as read, no character-set conversion
    std::uint32_t colour = 0xDCD2BE;  // 0x00BBGGRR
    MirrorMode mirror = MirrorMode::kNone;
    bool mirrorDistanceSet = false;
    bool mirrorAxisX = true;
    bool mirrorAxisY = false;
    bool mirrorAxisZ = false;
    float mirrorDistance = 100.0f;
    bool lathe = false;
    Axis latheAxis = Axis::kY;
    std::int32_t latheSegments = 12;

    // Parallel per-vertex arrays of vertexCount() entries.
    GrowableArray<Vec3> positions;
    std::unique_ptr<FaceIndexList[]> vertexTriangles;  // vertexCount() lists
    std::unique_ptr<FaceIndexList[]> vertexQuads;      // vertexCount() lists

    GrowableArray<MeshEdge> edges;
    GrowableArray<MeshFace> faces;  // as read, before SplitFaces
    GrowableArray<MeshFace> lines;
    GrowableArray<MeshFace> triangles;
    GrowableArray<MeshFace> quads;
    // The corners of every face in `faces` with five or more corners, face after face in order.
    std::vector<std::int32_t> outlineCorners;
    std::int32_t outlineFaces = 0;     // faces of five or more corners kept as outlines
    std::int32_t droppedOutlines = 0;  // such faces dropped for a corner out of range
    bool edgesValid = false;
    bool faceListsValid = false;

  private:
    void ReleaseVertices();

    std::int32_t vertexCount_ = 0;
};

// Appends the lines of a closed outline of five or more corners, as SplitFaces makes them, for a
// reader that fills `lines` itself. False, with nothing appended, when a corner is out of range.
bool AppendOutlineLines(std::span<const std::int32_t> corners, std::int32_t vertexCount,
                        std::vector<MeshFace>& lines);

}  // namespace korvane
