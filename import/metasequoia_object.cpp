#include "import/metasequoia_object.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace korvane {

namespace {

// Coordinates and the mirror distance of a file are in units ten times the model's.
constexpr float kImportScale = 0.1f;
constexpr std::int32_t kMinLatheSegments = 3;
constexpr std::int32_t kLastMirrorMode = static_cast<std::int32_t>(MirrorMode::kConnected);

// Fewest bytes one item takes in the file: a declared count is clamped to what the rest of the
// file could hold, so that a corrupt count never allocates beyond the file's size.
constexpr std::size_t kMinTextVertexBytes = 6;   // "0 0 0" and the blank in front of it
constexpr std::size_t kMinFaceLineBytes = 4;     // "0 V(" of a face without corners
constexpr std::int64_t kBinaryVertexBytes = 12;  // x, y, z as little-endian 32-bit floats

std::int32_t ClampCount(std::int32_t declared, std::size_t remaining, std::size_t itemBytes) {
    if (declared <= 0) {
        return 0;
    }
    const std::size_t fits = remaining / itemBytes;
    return fits < static_cast<std::size_t>(declared) ? static_cast<std::int32_t>(fits) : declared;
}

// The file's Z axis points the other way.
Vec3 ConvertPosition(float x, float y, float z) {
    Vec3 position;
    position.Set(x * kImportScale, y * kImportScale, -(z * kImportScale));
    return position;
}

float LittleEndianFloat(std::string_view fourBytes) {
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) {
        bits = (bits << 8) | static_cast<unsigned char>(fourBytes[static_cast<std::size_t>(i)]);
    }
    return std::bit_cast<float>(bits);
}

std::uint32_t ColourByte(float component) {
    const double scaled = std::trunc(static_cast<double>(component) * 255.0);
    if (!std::isfinite(scaled)) {
        return 0;
    }
    double low = std::fmod(scaled, 256.0);  // two's complement low byte, also for huge values
    if (low < 0.0) {
        low += 256.0;
    }
    return static_cast<std::uint32_t>(low);
}

class ObjectReader {
  public:
    ObjectReader(ByteScanner& scanner, PolyMesh& mesh, ParseOutcome& outcome)
        : scanner_(scanner), mesh_(mesh), outcome_(outcome) {}

    // Reads the chunk and counts it in outcome_.mirrorsLeftOut when its mirror mode is unknown.
    std::string Read();

  private:
    std::string ReadChunk();
    // A token that the chunk needs; the end of the bytes there means the file was cut.
    std::string ChunkToken();
    // Reads settings up to "vertex" or "BVertex" and returns that keyword; empty when the object
    // closes first or the bytes end.
    std::string ReadAttributes();
    void ApplyAttribute(const std::string& keyword);
    void ReadTextVertices();
    void ReadBinaryVertices();
    std::int64_t ReadBracketedByteCount();
    void SkipPastLineEnd();
    void SkipToClosingBrace();
    void ReadFaces();
    // False when the bytes end before all of the line's corner indices were read.
    bool ReadFaceLine(MeshFace& face);

    ByteScanner& scanner_;
    PolyMesh& mesh_;
    ParseOutcome& outcome_;
    bool unknownMirror_ = false;  // the last mirror mode read is none of MirrorMode's
};

std::string ObjectReader::ChunkToken() {
    std::string token = scanner_.ReadToken();
    if (token.empty()) {
        outcome_.truncated = true;
    }
    return token;
}

std::string ObjectReader::Read() {
    std::string next = ReadChunk();
    if (unknownMirror_) {
        ++outcome_.mirrorsLeftOut;
    }
    return next;
}

std::string ObjectReader::ReadChunk() {
    mesh_.name = MetasequoiaObjectName(ChunkToken());
    const std::string vertexKeyword = ReadAttributes();
    if (vertexKeyword == "vertex") {
        ReadTextVertices();
    } else if (vertexKeyword == "BVertex") {
        ReadBinaryVertices();
    } else {
        return scanner_.ReadToken();  // closed without vertices (or cut)
    }
    std::string token = ChunkToken();
    if (token == "vertexattr") {
        ChunkToken();  // opening brace
        SkipToClosingBrace();
        token = ChunkToken();
    }
    if (token == "face") {
        ReadFaces();
        return ChunkToken();  // the object's closing brace
    }
    return scanner_.ReadToken();
}

// A "}" that closes the object ends it too: an object without a vertex chunk must not take the
// next object's settings and geometry.
std::string ObjectReader::ReadAttributes() {
    std::int64_t depth = 0;
    for (std::string token = ChunkToken(); !token.empty(); token = ChunkToken()) {
        if (token == "vertex" || token == "BVertex") {
            return token;
        }
        if (token == "{") {
            ++depth;
        } else if (token == "}" && --depth <= 0) {
            return {};
        }
        ApplyAttribute(token);
    }
    return {};
}

void ObjectReader::ApplyAttribute(const std::string& keyword) {
    std::int32_t number = 0;
    if (keyword == "patch" || keyword == "segment" || keyword == "visible" ||
        keyword == "locking" || keyword == "shading") {
        scanner_.SkipInt();
    } else if (keyword == "facet") {
        scanner_.SkipFloats(1);
    } else if (keyword == "color") {
        float red = 0.0f;
        float green = 0.0f;
        float blue = 0.0f;
        scanner_.ReadFloat(red);
        scanner_.ReadFloat(green);
        scanner_.ReadFloat(blue);
        mesh_.colour = PackMetasequoiaColour(red, green, blue);
    } else if (keyword == "mirror") {
        scanner_.ReadInt(number);
        // A mode the mirror does not know would empty the object: it is kept unmirrored instead,
        // and reported.
        unknownMirror_ = number < 0 || number > kLastMirrorMode;
        mesh_.mirror = unknownMirror_ ? MirrorMode::kNone : static_cast<MirrorMode>(number);
    } else if (keyword == "mirror_axis") {
        scanner_.ReadInt(number);
        mesh_.mirrorAxisX = (number & 1) != 0;
        mesh_.mirrorAxisY = (number & 2) != 0;
        mesh_.mirrorAxisZ = (number & 4) != 0;
    } else if (keyword == "mirror_dis") {
        float distance = 0.0f;
        scanner_.ReadFloat(distance);
        mesh_.mirrorDistance = distance * kImportScale;
        mesh_.mirrorDistanceSet = true;
    } else if (keyword == "lathe") {
        scanner_.ReadInt(number);
        if (number != 0) {
            mesh_.lathe = true;
        }
    } else if (keyword == "lathe_axis") {
        scanner_.ReadInt(number);
        mesh_.latheAxis = AxisNumbered(number);
    } else if (keyword == "lathe_seg") {
        scanner_.ReadInt(number);
        mesh_.latheSegments = number < kMinLatheSegments ? kMinLatheSegments : number;
    }
}

void ObjectReader::ReadTextVertices() {
    std::int32_t declared = 0;
    scanner_.ReadInt(declared);
    ChunkToken();  // opening brace
    const std::int32_t count = ClampCount(declared, scanner_.remaining(), kMinTextVertexBytes);
    mesh_.SetVertexCount(count);
    std::int32_t read = 0;
    for (; read < count; ++read) {
        scanner_.SkipWhiteSpace();
        if (scanner_.AtEnd()) {
            break;
        }
        float x = 0.0f;
        float y = 0.0f;
        float z = 0.0f;
        scanner_.ReadFloat(x);
        scanner_.ReadFloat(y);
        scanner_.ReadFloat(z);
        mesh_.positions[read] = ConvertPosition(x, y, z);
    }
    if (read < count) {
        outcome_.truncated = true;
        mesh_.ResizeVertices(read);
    }
    ChunkToken();  // closing brace
}

// BVertex n {
//     Vector n [bytes]
//     <block of the bracketed byte count: x, y, z per vertex as little-endian floats>
// }
// The count after "Vector" and the bracketed byte count must agree; when they do not, or the file
// ends inside the block, only the whole vertices that both allow and the file holds are read.
void ObjectReader::ReadBinaryVertices() {
    scanner_.SkipInt();
    ChunkToken();  // opening brace
    ChunkToken();  // the word that opens the block
    std::int32_t declaredCount = 0;
    scanner_.ReadInt(declaredCount);
    const std::int64_t declared = std::max(declaredCount, 0);
    const std::int64_t bracketed = ReadBracketedByteCount();
    SkipPastLineEnd();
    // Without a bracketed size the count alone tells where the block ends.
    const std::int64_t blockBytes = bracketed < 0 ? declared * kBinaryVertexBytes : bracketed;
    const std::int64_t wanted = std::min<std::int64_t>(declared, blockBytes / kBinaryVertexBytes);
    if (blockBytes != declared * kBinaryVertexBytes) {
        ++outcome_.vertexBlocksMismatched;
    }
    if (blockBytes > 0) {
        const std::string_view block = scanner_.TakeBytes(static_cast<std::size_t>(blockBytes));
        if (block.size() < static_cast<std::size_t>(blockBytes)) {
            outcome_.truncated = true;
        }
        const auto whole = static_cast<std::int64_t>(block.size()) / kBinaryVertexBytes;
        const auto count = static_cast<std::int32_t>(std::min(wanted, whole));
        mesh_.SetVertexCount(count);
        for (std::int32_t i = 0; i < count; ++i) {
            const std::string_view vertex =
                block.substr(static_cast<std::size_t>(i * kBinaryVertexBytes));
            mesh_.positions[i] = ConvertPosition(LittleEndianFloat(vertex.substr(0, 4)),
                                                 LittleEndianFloat(vertex.substr(4, 4)),
                                                 LittleEndianFloat(vertex.substr(8, 4)));
        }
    }
    SkipToClosingBrace();
}

// "[96]": the block's size in bytes (0 for a negative one), or -1 when the line holds none.
std::int64_t ObjectReader::ReadBracketedByteCount() {
    while (scanner_.PeekByte() == ' ' || scanner_.PeekByte() == '\t') {
        scanner_.ReadByte();
    }
    if (scanner_.PeekByte() != '[') {
        return -1;
    }
    scanner_.ReadByte();
    std::int32_t bytes = 0;
    scanner_.ReadInt(bytes);
    return std::max(bytes, 0);
}

// Up to and including a line feed or form feed: the binary block starts right after it.
void ObjectReader::SkipPastLineEnd() {
    for (int c = scanner_.ReadByte(); c != '\n' && c != '\f'; c = scanner_.ReadByte()) {
        if (c == -1) {
            outcome_.truncated = true;
            return;
        }
    }
}

// Counts nested braces up to the "}" that closes the chunk (after a binary block, or a vertex
// attribute block with sub-blocks of any name).
void ObjectReader::SkipToClosingBrace() {
    std::int64_t depth = 0;
    for (int c = scanner_.ReadNonBlankByte(); c != -1; c = scanner_.ReadNonBlankByte()) {
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (depth == 0) {
                return;
            }
            --depth;
        }
    }
    outcome_.truncated = true;
}

void ObjectReader::ReadFaces() {
    std::int32_t declared = 0;
    scanner_.ReadInt(declared);
    ChunkToken();  // opening brace
    const std::int32_t count = ClampCount(declared, scanner_.remaining(), kMinFaceLineBytes);
    mesh_.SetFaceCount(count);
    std::int32_t read = 0;
    while (read < count && ReadFaceLine(mesh_.faces[read])) {
        ++read;
    }
    if (read < count) {
        outcome_.truncated = true;
        mesh_.ResizeFaces(FaceList::kFaces, read);
    }
    ChunkToken();  // closing brace
}

// <corner count> V(<index> ...) [M(<material>)] [UV(...)] ... up to the line feed
bool ObjectReader::ReadFaceLine(MeshFace& face) {
    scanner_.SkipWhiteSpace();
    if (scanner_.AtEnd()) {
        return false;
    }
    std::int32_t cornerCount = 0;
    scanner_.ReadInt(cornerCount);
    face.cornerCount = cornerCount;
    const bool outline = cornerCount > 4;
    const std::size_t outlineStart = mesh_.outlineCorners.size();
    scanner_.ReadTokenPart(2);  // "V("
    for (std::int32_t k = 0; k < cornerCount; ++k) {
        std::int32_t index = 0;
        if (!scanner_.ReadInt(index)) {
            if (scanner_.AtEnd()) {
                mesh_.outlineCorners.resize(outlineStart);
                return false;
            }
            if (outline) {
                // An outline with corners missing has no shape to keep.
                mesh_.outlineCorners.resize(outlineStart);
                face.cornerCount = 0;
            }
            break;  // nothing after this parses as an index either: the other corners stay 0
        }
        if (k < 4) {
            face.corners[k] = index;
        }
        if (outline) {
            mesh_.outlineCorners.push_back(index);
        }
    }
    scanner_.SkipToLineFeed();
    return true;
}

}  // namespace

std::string ReadMetasequoiaObject(ByteScanner& scanner, PolyMesh& mesh, ParseOutcome& outcome) {
    return ObjectReader(scanner, mesh, outcome).Read();
}

std::string MetasequoiaObjectName(std::string token) {
    if (!token.empty() && token.front() == '"') {
        token.erase(0, 1);
        if (!token.empty() && token.back() == '"') {
            token.pop_back();
        }
    }
    return token.empty() ? std::string("metaseq_obj_01") : token;
}

std::uint32_t PackMetasequoiaColour(float red, float green, float blue) {
    return ColourByte(red) | (ColourByte(green) << 8) | (ColourByte(blue) << 16);
}

}  // namespace korvane
