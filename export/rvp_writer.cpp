#include "export/rvp_writer.h"

#include <bit>
#include <cstring>
#include <iterator>
#include <limits>
#include <span>
#include <string_view>

#include "export/atomic_file_writer.h"
#include "geometry/huge_pages.h"

namespace korvane {
namespace {

// The widest string prefix counts 32 bits; a longer text loses its excess.
std::string_view Storable(std::string_view text) {
    return text.substr(0, std::numeric_limits<std::uint32_t>::max() - 1);
}

// Bytes of a string with its length prefix: 1 byte below 255; 0xFF and 16 bits below 0xFFFE;
// 0xFF, 0xFFFF and 32 bits beyond.
std::size_t StringBytes(std::string_view text) {
    const std::size_t length = Storable(text).size();
    return length + (length < 0xFF ? 1 : length < 0xFFFE ? 3 : 7);
}

// Writes values in the archive's encoding into a buffer sized beforehand: 32-bit little-endian
// integers, IEEE single floats bit for bit, and strings as length prefix plus bytes without
// terminator. At a million faces the file is tens of megabytes, written value by value.
class ArchiveWriter {
  public:
    explicit ArchiveWriter(std::uint8_t* out) : out_(out) {}

    void PutCount(std::uint32_t value) {
        out_[0] = static_cast<std::uint8_t>(value);
        out_[1] = static_cast<std::uint8_t>(value >> 8);
        out_[2] = static_cast<std::uint8_t>(value >> 16);
        out_[3] = static_cast<std::uint8_t>(value >> 24);
        out_ += 4;
    }
    void PutInt(std::int32_t value) { PutCount(static_cast<std::uint32_t>(value)); }
    void PutFloat(float value) { PutCount(std::bit_cast<std::uint32_t>(value)); }

    void PutString(std::string_view text) {
        text = Storable(text);
        const std::size_t length = text.size();
        if (length < 0xFF) {
            PutByte(static_cast<std::uint8_t>(length));
        } else if (length < 0xFFFE) {
            PutByte(0xFF);
            PutShort(static_cast<std::uint16_t>(length));
        } else {
            PutByte(0xFF);
            PutShort(0xFFFF);
            PutCount(static_cast<std::uint32_t>(length));
        }
        std::memcpy(out_, text.data(), length);
        out_ += length;
    }

  private:
    void PutByte(std::uint8_t value) { *out_++ = value; }
    void PutShort(std::uint16_t value) {
        PutByte(static_cast<std::uint8_t>(value));
        PutByte(static_cast<std::uint8_t>(value >> 8));
    }

    std::uint8_t* out_;
};

std::uint32_t CountOf(std::int32_t count) {
    return static_cast<std::uint32_t>(count);
}

constexpr std::int32_t kFixedSettings[] = {0, 1, 0, 1, 1, 0, 0};
constexpr std::string_view kFixedText = " ";

std::size_t ObjectBytes(const PatchObject& object) {
    const std::size_t points = object.Points().size();
    return StringBytes(object.name) + 4 + 4 * std::size(kFixedSettings) + StringBytes(kFixedText) +
           4 + 4 + 16 * points + 4 + 12 * object.SplineClosedFlags().size() +
           12 * object.Nodes().size() + 4 + 4 * points + 8 * object.Refs().size();
}

// Every point is written with flag 1, the only value the format's points take here. A reference
// names its node by position within its spline.
void PutObject(ArchiveWriter& out, const PatchObject& object) {
    out.PutString(object.name);
    out.PutCount(object.colour);
    // Settings of the format that this program always writes the same way.
    for (std::int32_t fixed : kFixedSettings) {
        out.PutInt(fixed);
    }
    out.PutString(kFixedText);
    out.PutInt(0);

    out.PutCount(CountOf(object.PointCount()));
    for (const PatchVec3& point : object.Points()) {
        out.PutFloat(point.x);
        out.PutFloat(point.y);
        out.PutFloat(point.z);
        out.PutInt(1);
    }
    out.PutCount(CountOf(object.SplineCount()));
    for (std::int32_t spline = 0; spline < object.SplineCount(); ++spline) {
        out.PutInt(object.Closed(spline) ? 1 : 0);
        out.PutInt(1);
        out.PutCount(CountOf(object.SplineNodeCount(spline)));
        for (const SplineNode& node : object.SplineNodes(spline)) {
            out.PutInt(node.corner ? 1 : 0);
            out.PutFloat(node.tension);
            out.PutInt(node.controlPoint);
        }
    }
    out.PutCount(CountOf(object.PointCount()));
    for (std::int32_t point = 0; point < object.PointCount(); ++point) {
        const std::span<const SplineRef> refs = object.RefsOf(point);
        out.PutCount(static_cast<std::uint32_t>(refs.size()));
        for (const SplineRef& ref : refs) {
            out.PutInt(ref.spline);
            out.PutInt(ref.node - object.SplineStarts()[static_cast<std::size_t>(ref.spline)]);
        }
    }
}

}  // namespace

std::vector<std::uint8_t> SerializeRvp(const ObjectList<PatchObject>& objects) {
    const std::string_view header = "object_info";
    const std::string_view trailer = "end";
    std::size_t size = StringBytes(header) + 4 + StringBytes(trailer);
    for (const PatchObject* object : objects) {
        size += ObjectBytes(*object);
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(size);
    AdviseHugePages(bytes);
    bytes.resize(size);
    ArchiveWriter out(bytes.data());
    out.PutString(header);
    out.PutCount(CountOf(objects.GetCount()));
    for (const PatchObject* object : objects) {
        PutObject(out, *object);
    }
    out.PutString(trailer);
    return bytes;
}

WriteResult WriteRvpFile(const std::string& path, const ObjectList<PatchObject>& objects) {
    const std::vector<std::uint8_t> bytes = SerializeRvp(objects);
    return WriteFileAtomically(path, bytes);
}

}  // namespace korvane
