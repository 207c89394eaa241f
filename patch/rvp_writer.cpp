#include "patch/rvp_writer.h"

#include <bit>
#include <limits>
#include <string_view>

#include "patch/atomic_file_writer.h"

namespace korvane {
namespace {

// Appends values in the archive's encoding: 32-bit little-endian integers, IEEE single floats bit
// for bit, and strings as length prefix plus bytes without terminator.
class ArchiveBuffer {
  public:
    void PutCount(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes_.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }
    void PutInt(std::int32_t value) { PutCount(static_cast<std::uint32_t>(value)); }
    void PutFloat(float value) { PutCount(std::bit_cast<std::uint32_t>(value)); }

    // Prefix: 1 byte below 255; 0xFF and 16 bits below 0xFFFE; 0xFF, 0xFFFF and 32 bits beyond.
    void PutString(std::string_view text) {
        // The widest prefix counts 32 bits; a longer text loses its excess.
        text = text.substr(0, std::numeric_limits<std::uint32_t>::max() - 1);
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
        bytes_.insert(bytes_.end(), text.begin(), text.end());
    }

    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

  private:
    void PutByte(std::uint8_t value) { bytes_.push_back(value); }
    void PutShort(std::uint16_t value) {
        PutByte(static_cast<std::uint8_t>(value));
        PutByte(static_cast<std::uint8_t>(value >> 8));
    }

    std::vector<std::uint8_t> bytes_;
};

std::uint32_t CountOf(std::int32_t count) {
    return static_cast<std::uint32_t>(count);
}

void PutSpline(ArchiveBuffer& out, const Spline& spline) {
    out.PutInt(spline.closed);
    out.PutInt(1);
    out.PutCount(CountOf(spline.nodes.GetCount()));
    for (const SplineNode* node : spline.nodes) {
        out.PutInt(node->corner);
        out.PutFloat(node->tension);
        out.PutInt(node->controlPoint->index);
    }
}

void PutObject(ArchiveBuffer& out, PatchObject& object) {
    object.NumberControlPoints();
    object.NumberSplines();

    out.PutString(object.name);
    out.PutCount(object.colour);
    // Settings of the format that this program always writes the same way.
    for (std::int32_t fixed : {0, 1, 0, 1, 1, 0, 0}) {
        out.PutInt(fixed);
    }
    out.PutString(" ");
    out.PutInt(0);

    out.PutCount(CountOf(object.controlPoints.GetCount()));
    for (const ControlPoint* point : object.controlPoints) {
        out.PutFloat(point->x);
        out.PutFloat(point->y);
        out.PutFloat(point->z);
        out.PutInt(point->pointFlag);
    }
    out.PutCount(CountOf(object.splines.GetCount()));
    for (const Spline* spline : object.splines) {
        PutSpline(out, *spline);
    }
    out.PutCount(CountOf(object.controlPoints.GetCount()));
    for (const ControlPoint* point : object.controlPoints) {
        out.PutCount(CountOf(point->splineRefs.GetCount()));
        for (const SplineRef* ref : point->splineRefs) {
            out.PutInt(ref->spline->index);
            out.PutInt(ref->node->index);
        }
    }
}

}  // namespace

std::vector<std::uint8_t> SerializeRvp(const ObjectList<PatchObject>& objects) {
    ArchiveBuffer out;
    out.PutString("object_info");
    out.PutCount(CountOf(objects.GetCount()));
    for (PatchObject* object : objects) {
        PutObject(out, *object);
    }
    out.PutString("end");
    return out.Take();
}

WriteResult WriteRvpFile(const std::string& path, const ObjectList<PatchObject>& objects) {
    const std::vector<std::uint8_t> bytes = SerializeRvp(objects);
    return WriteFileAtomically(path, bytes);
}

}  // namespace korvane
