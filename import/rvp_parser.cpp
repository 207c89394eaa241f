#include "import/rvp_parser.h"

#include <cstdint>
#include <limits>

#include "import/little_endian_reader.h"
#include "import/rvp_links.h"
#include "patch/patch_network_access.h"

namespace korvane {
namespace {

constexpr std::string_view kHeader = "object_info";
constexpr std::string_view kTrailer = "end";
constexpr int kSettingsBeforeText = 7;

// The fewest bytes one record of each kind takes, so that a count the rest of the file cannot
// hold is refused before anything is allocated for it.
constexpr std::uint64_t kObjectBytes = 50;  // empty name and text, colour, settings, three counts
constexpr std::uint64_t kPointBytes = 20;   // position, flag, and later its reference count
constexpr std::uint64_t kSplineBytes = 12;  // closed, a setting, node count
constexpr std::uint64_t kNodeBytes = 12;
constexpr std::uint64_t kRefBytes = 8;

class RvpParser {
  public:
    RvpParser(std::string_view bytes, std::string& error) : in_(bytes), error_(error) {}

    std::optional<std::vector<PatchObject>> Run() {
        std::string_view header;
        if (!in_.ReadString(header) || header != kHeader) {
            Fail("the file does not start with \"object_info\"");
            return std::nullopt;
        }
        std::uint32_t objectCount = 0;
        if (!Count(objectCount, kObjectBytes, "objects")) {
            return std::nullopt;
        }
        // Grown object by object: an empty object takes far fewer bytes in the file than here.
        std::vector<PatchObject> objects;
        for (std::uint32_t i = 0; i < objectCount; ++i) {
            context_ = "object " + std::to_string(i) + ": ";
            PatchObject& object = objects.emplace_back();
            if (!Object(object)) {
                return std::nullopt;
            }
            if (const std::string broken = LinkReferences(object); !broken.empty()) {
                Fail(broken);
                return std::nullopt;
            }
        }
        context_.clear();
        std::string_view trailer;
        if (!String(trailer)) {
            return std::nullopt;
        }
        if (trailer != kTrailer) {
            Fail("the objects are not followed by \"end\"");
            return std::nullopt;
        }
        if (in_.remaining() != 0) {
            Fail(std::to_string(in_.remaining()) + " bytes follow the closing \"end\"");
            return std::nullopt;
        }
        return objects;
    }

  private:
    bool Fail(const std::string& text) {
        error_ = context_ + text;
        return false;
    }
    bool EndsEarly() {
        return Fail("the file ends early at byte " + std::to_string(in_.position()));
    }

    bool U32(std::uint32_t& value) { return in_.ReadU32(value) || EndsEarly(); }
    bool I32(std::int32_t& value) { return in_.ReadI32(value) || EndsEarly(); }
    bool F32(float& value) { return in_.ReadF32(value) || EndsEarly(); }
    bool String(std::string_view& text) { return in_.ReadString(text) || EndsEarly(); }

    // A count of records of at least bytesEach bytes each, which the rest of the file must hold.
    bool Count(std::uint32_t& count, std::uint64_t bytesEach, const std::string& what) {
        if (!U32(count)) {
            return false;
        }
        if (count > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()) ||
            count * bytesEach > in_.remaining()) {
            return Fail("the file ends early or is damaged: " + std::to_string(count) + " " + what +
                        " counted at byte " + std::to_string(in_.position() - 4) +
                        " need at least " + std::to_string(count * bytesEach) + " bytes, but " +
                        std::to_string(in_.remaining()) + " follow");
        }
        return true;
    }

    bool Object(PatchObject& object) {
        std::string_view name;
        std::string_view text;
        std::int32_t setting = 0;
        if (!String(name) || !U32(object.colour)) {
            return false;
        }
        object.name = name;
        for (int i = 0; i < kSettingsBeforeText; ++i) {
            if (!I32(setting)) {
                return false;
            }
        }
        return String(text) && I32(setting) && Points(object) && Splines(object) &&
               References(object);
    }

    // A point's flag is read past: every point the format holds is taken alike, and the export
    // writes 1.
    bool Points(PatchObject& object) {
        std::uint32_t count = 0;
        if (!Count(count, kPointBytes, "control points")) {
            return false;
        }
        std::vector<PatchVec3>& points = PatchNetworkAccess::Points(object);
        points.resize(count);
        for (PatchVec3& point : points) {
            std::int32_t flag = 0;
            if (!F32(point.x) || !F32(point.y) || !F32(point.z) || !I32(flag)) {
                return false;
            }
        }
        return true;
    }

    bool Splines(PatchObject& object) {
        std::uint32_t count = 0;
        if (!Count(count, kSplineBytes, "splines")) {
            return false;
        }
        std::vector<bool>& splineClosed = PatchNetworkAccess::SplineClosedFlags(object);
        std::vector<std::int32_t>& splineStart = PatchNetworkAccess::SplineStarts(object);
        std::vector<SplineNode>& nodes = PatchNetworkAccess::Nodes(object);
        splineClosed.reserve(count);
        splineStart.reserve(std::size_t{count} + 1);
        for (std::uint32_t s = 0; s < count; ++s) {
            std::int32_t closed = 0;
            std::int32_t setting = 0;
            std::uint32_t nodeCount = 0;
            if (!I32(closed) || !I32(setting) || !Count(nodeCount, kNodeBytes, "nodes")) {
                return false;
            }
            splineClosed.push_back(closed != 0);
            for (std::uint32_t k = 0; k < nodeCount; ++k) {
                SplineNode& node = nodes.emplace_back();
                std::int32_t corner = 0;
                if (!I32(corner) || !F32(node.tension) || !I32(node.controlPoint)) {
                    return false;
                }
                node.corner = corner != 0;
            }
            splineStart.push_back(object.NodeCount());
        }
        return true;
    }

    // Each reference as the file gives it, naming its node by position within its spline, for
    // LinkReferences to check and resolve.
    bool References(PatchObject& object) {
        std::uint32_t pointCount = 0;
        if (!U32(pointCount)) {
            return false;
        }
        if (pointCount != object.Points().size()) {
            return Fail("the references are given for " + std::to_string(pointCount) +
                        " control points, but the object has " +
                        std::to_string(object.Points().size()));
        }
        std::vector<std::int32_t>& refStart = PatchNetworkAccess::RefStarts(object);
        std::vector<SplineRef>& refs = PatchNetworkAccess::Refs(object);
        refStart.reserve(std::size_t{pointCount} + 1);
        for (std::uint32_t p = 0; p < pointCount; ++p) {
            std::uint32_t count = 0;
            if (!Count(count, kRefBytes, "references")) {
                return false;
            }
            for (std::uint32_t r = 0; r < count; ++r) {
                SplineRef& ref = refs.emplace_back();
                if (!I32(ref.spline) || !I32(ref.node)) {
                    return false;
                }
            }
            refStart.push_back(object.RefCount());
        }
        return true;
    }

    LittleEndianReader in_;
    std::string& error_;
    std::string context_;
};

}  // namespace

std::optional<std::vector<PatchObject>> ParseRvp(std::string_view bytes, std::string& error) {
    return RvpParser(bytes, error).Run();
}

}  // namespace korvane
