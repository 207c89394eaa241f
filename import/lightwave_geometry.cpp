#include "import/lightwave_geometry.h"

#include <cstdint>
#include <limits>
#include <vector>

#include "import/byte_scanner.h"
#include "import/lightwave_chunks.h"

namespace korvane {

namespace {

constexpr std::size_t kPointBytes = 12;
constexpr std::uint16_t kPolygonCountMask = 0x03FF;  // LWO2: the top six bits are flags
constexpr int kLongIndexMarker = 0xFF;
constexpr std::uint32_t kLongIndexMask = 0x00FFFFFF;
constexpr std::size_t kLayerHeaderBytes = 16;  // number 2, flags 2, pivot 12
constexpr std::size_t kMaxLayerNameBytes = 255;

bool IsUsableCornerCount(int count) {
    return count >= 2 && count <= 4;
}

std::int32_t RoomFor(std::int32_t count, std::size_t wanted) {
    const auto room = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() - count);
    return static_cast<std::int32_t>(wanted < room ? wanted : room);
}

void AppendFaces(PolyMesh& mesh, FaceList list, GrowableArray<MeshFace>& target,
                 const std::vector<MeshFace>& faces) {
    const std::int32_t old = target.count();
    const std::int32_t added = RoomFor(old, faces.size());
    if (added == 0) {
        return;
    }
    mesh.ResizeFaces(list, old + added);
    for (std::int32_t i = 0; i < added; ++i) {
        target[old + i] = faces[static_cast<std::size_t>(i)];
    }
}

// Reads `count` indices into the face (the first four are kept) and, for an outline of five or
// more corners, all of them into `outline`. False when the data ends first.
template <class ReadIndex>
bool ReadCorners(MeshFace& face, int count, std::vector<std::int32_t>& outline,
                 ReadIndex readIndex) {
    outline.clear();
    for (int k = 0; k < count; ++k) {
        std::int32_t index = 0;
        if (!readIndex(index)) {
            return false;
        }
        if (k < 4) {
            face.corners[k] = index;
        }
        if (count > 4) {
            outline.push_back(index);
        }
    }
    return true;
}

}  // namespace

void AppendPoints(PolyMesh& mesh, std::string_view data) {
    const std::int32_t old = mesh.vertexCount();
    const std::int32_t added = RoomFor(old, data.size() / kPointBytes);
    if (added == 0) {
        return;
    }
    mesh.ResizeVertices(old + added);
    BigEndianReader reader(data);
    for (std::int32_t i = 0; i < added; ++i) {
        float x = 0.0f;
        float y = 0.0f;
        float z = 0.0f;
        reader.ReadF32(x);
        reader.ReadF32(y);
        reader.ReadF32(z);
        mesh.positions[old + i].Set(x, y, z);
    }
}

void AppendLwobPolygons(PolyMesh& mesh, std::string_view data) {
    std::vector<MeshFace> byCorners[5];  // slots 2, 3 and 4 are used
    BigEndianReader reader(data);
    const auto readIndex = [&reader](std::int32_t& index) {
        std::uint16_t word = 0;
        const bool read = reader.ReadU16(word);
        index = word;
        return read;
    };
    std::vector<std::int32_t> outline;
    std::uint16_t count = 0;
    while (reader.ReadU16(count)) {
        MeshFace face;
        face.cornerCount = count;
        std::uint16_t surface = 0;
        if (!ReadCorners(face, count, outline, readIndex) || !reader.ReadU16(surface)) {
            break;
        }
        std::uint16_t detailCount = 0;
        if (static_cast<std::int16_t>(surface) < 0 && !reader.ReadU16(detailCount)) {
            break;
        }
        if (IsUsableCornerCount(count)) {
            byCorners[count].push_back(face);
        } else if (count > 4) {
            // The points come before the polygons, so the range check sees them all.
            const bool kept = AppendOutlineLines(outline, mesh.vertexCount(), byCorners[2]);
            ++(kept ? mesh.outlineFaces : mesh.droppedOutlines);
        }
    }
    AppendFaces(mesh, FaceList::kLines, mesh.lines, byCorners[2]);
    AppendFaces(mesh, FaceList::kTriangles, mesh.triangles, byCorners[3]);
    AppendFaces(mesh, FaceList::kQuads, mesh.quads, byCorners[4]);
}

void AppendLwo2Polygons(PolyMesh& mesh, std::string_view data) {
    std::vector<MeshFace> faces;
    BigEndianReader reader(data);
    const auto readIndex = [&reader](std::int32_t& index) {
        if (reader.PeekByte() == kLongIndexMarker) {
            std::uint32_t word = 0;
            const bool read = reader.ReadU32(word);
            index = static_cast<std::int32_t>(word & kLongIndexMask);
            return read;
        }
        std::uint16_t word = 0;
        const bool read = reader.ReadU16(word);
        index = word;
        return read;
    };
    std::vector<std::int32_t> outline;
    std::uint16_t word = 0;
    while (reader.ReadU16(word)) {
        const int count = word & kPolygonCountMask;
        MeshFace face;
        face.cornerCount = count;
        if (!ReadCorners(face, count, outline, readIndex)) {
            break;
        }
        if (count >= 2) {
            faces.push_back(face);
            mesh.outlineCorners.insert(mesh.outlineCorners.end(), outline.begin(), outline.end());
        }
    }
    AppendFaces(mesh, FaceList::kFaces, mesh.faces, faces);
}

std::string LayerName(std::string_view data) {
    if (data.size() <= kLayerHeaderBytes) {
        return {};
    }
    const std::string_view rest = data.substr(kLayerHeaderBytes);
    std::size_t length = 0;
    while (length < rest.size() && length < kMaxLayerNameBytes && rest[length] != '\0' &&
           !IsBlank(static_cast<unsigned char>(rest[length]))) {
        ++length;
    }
    return std::string(rest.substr(0, length));
}

}  // namespace korvane
