#include "import/assimp_handback.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace korvane {

namespace {

constexpr std::uint32_t kMaxCount = std::numeric_limits<std::int32_t>::max();

std::uint32_t LoadU32(const char* at) {
    std::uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

void PutU32(std::string& out, std::uint32_t value) {
    char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    out.append(bytes, sizeof bytes);
}

template <class T>
void PutArray(std::string& out, std::span<const T> values) {
    out.append(reinterpret_cast<const char*>(values.data()), values.size_bytes());
}

class Cursor {
  public:
    explicit Cursor(std::string_view bytes) : bytes_(bytes) {}

    std::size_t position() const { return at_; }
    std::size_t remaining() const { return bytes_.size() - at_; }

    bool U8(std::uint8_t& value) {
        if (remaining() < 1) {
            return false;
        }
        value = static_cast<std::uint8_t>(bytes_[at_++]);
        return true;
    }
    bool U32(std::uint32_t& value) {
        if (remaining() < 4) {
            return false;
        }
        value = LoadU32(bytes_.data() + at_);
        at_ += 4;
        return true;
    }
    // `count` elements of `size` bytes, in place; false when fewer bytes remain.
    bool Block(std::uint64_t count, std::uint64_t size, const char*& start) {
        if (count > remaining() / size) {
            return false;
        }
        start = bytes_.data() + at_;
        at_ += static_cast<std::size_t>(count * size);
        return true;
    }
    bool Text(std::string_view& text) {
        std::uint32_t length = 0;
        const char* start = nullptr;
        if (!U32(length) || !Block(length, 1, start)) {
            return false;
        }
        text = {start, length};
        return true;
    }

  private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

// The fixed bytes of a mesh record: tag, name length, material flag, diffuse colour, three counts.
constexpr std::uint64_t kMeshRecordBytes = 1 + 4 + 4 + 12 + 12;
constexpr std::uint64_t kTextRecordBytes = 1 + 4;

class Decoder {
  public:
    Decoder(std::string_view bytes, const HandBackBudget& budget) : in_(bytes), budget_(budget) {}

    HandBack Run() {
        if (!Header()) {
            return Take();
        }
        while (result_.error.empty()) {
            const std::size_t start = in_.position();
            std::uint8_t tag = 0;
            if (!in_.U8(tag)) {
                Fail("ends without its end record", start);
                break;
            }
            switch (tag) {
                case 'M':
                    Mesh(start);
                    break;
                case 'R':
                    result_.refused = Text(result_.refusal, "refusal", start);
                    break;
                case 'S': {
                    std::string_view line;
                    if (Text(line, "side file", start)) {
                        result_.sideFilesRefused.push_back(line);
                    }
                    break;
                }
                case 'T':
                    result_.tooLarge = Text(result_.overBudget, "budget", start);
                    break;
                case 'X':
                    Text(result_.extensions, "extension list", start);
                    break;
                case 'E':
                    End(start);
                    return Take();
                default:
                    Fail("unknown record tag " + std::to_string(tag), start);
                    break;
            }
        }
        return Take();
    }

  private:
    bool Header() {
        const char* magic = nullptr;
        std::uint32_t version = 0;
        if (!in_.Block(kHandBackMagic.size(), 1, magic) ||
            std::string_view(magic, kHandBackMagic.size()) != kHandBackMagic) {
            return Fail("does not start with KVHB", 0);
        }
        if (!in_.U32(version) || version != kHandBackVersion) {
            return Fail("is not of version " + std::to_string(kHandBackVersion), 4);
        }
        return true;
    }

    bool Text(std::string_view& text, const char* what, std::size_t start) {
        if (!in_.Text(text)) {
            return Fail(std::string(what) + " text cut short", start);
        }
        textBytes_ += kTextRecordBytes + text.size();
        if (textBytes_ > budget_.textBytes) {
            return Fail("texts beyond the budget", start);
        }
        return true;
    }

    // Counts the record against the budget; false, and the hand-back is damaged, beyond it.
    bool WithinBudget(const HandBackMesh& mesh, std::size_t start) {
        ++meshesSeen_;
        names_ += mesh.name.size();
        vertices_ += mesh.vertexCount;
        faces_ += mesh.faceCount;
        corners_ += mesh.cornerTotal;
        if (meshesSeen_ > budget_.meshes || names_ > budget_.nameBytes ||
            vertices_ > budget_.vertices || faces_ > budget_.faces || corners_ > budget_.corners) {
            return Fail("meshes beyond the budget of one import (" + std::to_string(meshesSeen_) +
                            " meshes, " + std::to_string(vertices_) + " vertices, " +
                            std::to_string(faces_) + " faces, " + std::to_string(corners_) +
                            " corners so far)",
                        start);
        }
        return true;
    }

    void Mesh(std::size_t start) {
        if (result_.tooLarge) {
            Fail("a mesh after the budget record", start);
            return;
        }
        HandBackMesh mesh;
        std::uint32_t hasMaterial = 0;
        const char* diffuse = nullptr;
        if (!in_.Text(mesh.name) || !in_.U32(hasMaterial) || !in_.Block(3, 4, diffuse) ||
            !in_.U32(mesh.vertexCount) || !in_.U32(mesh.faceCount) || !in_.U32(mesh.cornerTotal)) {
            Fail("mesh header cut short", start);
            return;
        }
        if (hasMaterial > 1) {
            Fail("material flag neither 0 nor 1", start);
            return;
        }
        mesh.hasMaterial = hasMaterial == 1;
        std::memcpy(mesh.diffuse, diffuse, sizeof mesh.diffuse);
        if (mesh.vertexCount > kMaxCount || mesh.faceCount > kMaxCount ||
            mesh.cornerTotal > kMaxCount) {
            Fail("mesh counts beyond 2^31 - 1", start);
            return;
        }
        if (!in_.Block(mesh.vertexCount, 12, mesh.positions) ||
            !in_.Block(mesh.faceCount, 4, mesh.cornerCounts) ||
            !in_.Block(mesh.cornerTotal, 4, mesh.corners)) {
            Fail("mesh counts more than the bytes hold", start);
            return;
        }
        if (!WithinBudget(mesh, start)) {
            return;
        }
        std::uint64_t total = 0;
        for (std::uint32_t f = 0; f < mesh.faceCount; ++f) {
            const std::uint32_t count = HandBackCornerCount(mesh, f);
            if (count < 2) {
                Fail("a face of fewer than two corners", start);
                return;
            }
            total += count;
        }
        if (total != mesh.cornerTotal) {
            Fail("face corners do not add up to the corner total", start);
            return;
        }
        for (std::uint32_t c = 0; c < mesh.cornerTotal; ++c) {
            if (HandBackCorner(mesh, c) >= mesh.vertexCount) {
                Fail("a corner names a vertex the mesh does not have", start);
                return;
            }
        }
        result_.meshes.push_back(mesh);
    }

    void End(std::size_t start) {
        std::uint32_t count = 0;
        if (!in_.U32(count)) {
            Fail("end record cut short", start);
        } else if (count != result_.meshes.size()) {
            Fail("end record counts " + std::to_string(count) + " meshes, not " +
                     std::to_string(result_.meshes.size()),
                 start);
        } else if (in_.remaining() != 0) {
            Fail("bytes after the end record", in_.position());
        } else if (result_.refused && !result_.meshes.empty()) {
            Fail("meshes beside a refusal", start);
        } else if (result_.refused && result_.tooLarge) {
            Fail("a refusal beside a budget record", start);
        } else if (result_.tooLarge) {
            result_.meshes.clear();
        }
    }

    bool Fail(const std::string& why, std::size_t at) {
        if (result_.error.empty()) {
            result_.error = why + " at byte " + std::to_string(at);
        }
        return false;
    }

    HandBack Take() {
        if (!result_.error.empty()) {
            result_.meshes.clear();
            result_.refused = false;
            result_.refusal = {};
            result_.tooLarge = false;
            result_.overBudget = {};
            result_.sideFilesRefused.clear();
            result_.extensions = {};
        }
        return std::move(result_);
    }

    Cursor in_;
    const HandBackBudget& budget_;
    HandBack result_;
    std::uint64_t meshesSeen_ = 0, names_ = 0, vertices_ = 0, faces_ = 0, corners_ = 0;
    std::uint64_t textBytes_ = 0;
};

}  // namespace

std::uint64_t HandBackByteLimit(const HandBackBudget& budget) {
    const std::uint64_t header = kHandBackMagic.size() + 4;
    const std::uint64_t end = 1 + 4;
    return header + kMeshRecordBytes * budget.meshes + budget.nameBytes + 12 * budget.vertices +
           4 * budget.faces + 4 * budget.corners + budget.textBytes + end;
}

HandBack DecodeHandBack(std::string_view bytes, const HandBackBudget& budget) {
    return Decoder(bytes, budget).Run();
}

std::uint32_t HandBackCornerCount(const HandBackMesh& mesh, std::uint32_t face) {
    return LoadU32(mesh.cornerCounts + 4 * std::size_t{face});
}

std::uint32_t HandBackCorner(const HandBackMesh& mesh, std::uint32_t corner) {
    return LoadU32(mesh.corners + 4 * std::size_t{corner});
}

void HandBackPosition(const HandBackMesh& mesh, std::uint32_t vertex, float xyz[3]) {
    std::memcpy(xyz, mesh.positions + 12 * std::size_t{vertex}, 12);
}

void AppendHandBackHeader(std::string& out) {
    out += kHandBackMagic;
    PutU32(out, kHandBackVersion);
}

void AppendHandBackMesh(std::string& out, std::string_view name, const float* diffuse,
                        std::span<const float> xyz, std::span<const std::uint32_t> cornerCounts,
                        std::span<const std::uint32_t> corners) {
    out.push_back('M');
    PutU32(out, static_cast<std::uint32_t>(name.size()));
    out += name;
    const float black[3] = {0.0f, 0.0f, 0.0f};
    PutU32(out, diffuse != nullptr ? 1 : 0);
    PutArray(out, std::span<const float>(diffuse != nullptr ? diffuse : black, 3));
    PutU32(out, static_cast<std::uint32_t>(xyz.size() / 3));
    PutU32(out, static_cast<std::uint32_t>(cornerCounts.size()));
    PutU32(out, static_cast<std::uint32_t>(corners.size()));
    PutArray(out, xyz.first(xyz.size() / 3 * 3));
    PutArray(out, cornerCounts);
    PutArray(out, corners);
}

void AppendHandBackText(std::string& out, char tag, std::string_view text) {
    out.push_back(tag);
    PutU32(out, static_cast<std::uint32_t>(text.size()));
    out += text;
}

void AppendHandBackEnd(std::string& out, std::uint32_t meshCount) {
    out.push_back('E');
    PutU32(out, meshCount);
}

}  // namespace korvane
