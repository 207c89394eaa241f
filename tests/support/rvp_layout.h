#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Writes ruvoPatch files from a description, so that a test can say exactly what a file holds,
// including what the export never writes: other settings, references to nothing, wrong counts.
namespace korvane::testing {

class RvpBytes {
  public:
    RvpBytes& U32(std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes_ += static_cast<char>((value >> (8 * i)) & 0xFF);
        }
        return *this;
    }
    RvpBytes& I32(std::int32_t value) { return U32(static_cast<std::uint32_t>(value)); }
    RvpBytes& F32(float value) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return U32(bits);
    }
    // With the shortest length prefix.
    RvpBytes& Str(std::string_view text) {
        if (text.size() < 0xFF) {
            bytes_ += static_cast<char>(text.size());
        } else {
            bytes_ += '\xFF';
            const auto length = static_cast<std::uint32_t>(text.size());
            const std::uint16_t medium =
                length < 0xFFFF ? static_cast<std::uint16_t>(length) : 0xFFFF;
            bytes_ += static_cast<char>(medium & 0xFF);
            bytes_ += static_cast<char>(medium >> 8);
            if (medium == 0xFFFF) {
                U32(length);
            }
        }
        bytes_ += text;
        return *this;
    }

    const std::string& bytes() const { return bytes_; }

  private:
    std::string bytes_;
};

struct RvpSplineLayout {
    std::int32_t closed = 0;
    std::vector<std::int32_t> nodePoints;  // the control point of each node
};

// One object: control point i sits at (i, 0, 0); refs holds each point's (spline, node) pairs.
struct RvpLayout {
    std::string name = "t";
    std::uint32_t colour = 0xFFFFFF;
    std::array<std::int32_t, 7> settings = {0, 1, 0, 1, 1, 0, 0};
    std::string text = " ";
    std::int32_t settingAfterText = 0;
    std::int32_t splineSetting = 1;
    std::int32_t pointFlag = 1;
    std::int32_t points = 0;
    std::vector<RvpSplineLayout> splines;
    std::vector<std::vector<std::pair<std::int32_t, std::int32_t>>> refs;
    std::optional<std::uint32_t> pointCountAgain;  // when the second count is to differ
};

// Refers to every node from its point, spline after spline, as the export lists them.
inline void ReferEveryNode(RvpLayout& layout) {
    layout.refs.assign(static_cast<std::size_t>(layout.points), {});
    for (std::size_t s = 0; s < layout.splines.size(); ++s) {
        const std::vector<std::int32_t>& nodes = layout.splines[s].nodePoints;
        for (std::size_t n = 0; n < nodes.size(); ++n) {
            layout.refs[static_cast<std::size_t>(nodes[n])].emplace_back(
                static_cast<std::int32_t>(s), static_cast<std::int32_t>(n));
        }
    }
}

// Three points joined by three open two-node splines, every node referred to.
inline RvpLayout TriangleLayout() {
    RvpLayout layout;
    layout.points = 3;
    layout.splines = {{0, {0, 1}}, {0, {1, 2}}, {0, {2, 0}}};
    ReferEveryNode(layout);
    return layout;
}

inline void PutObject(RvpBytes& out, const RvpLayout& layout) {
    out.Str(layout.name).U32(layout.colour);
    for (const std::int32_t setting : layout.settings) {
        out.I32(setting);
    }
    out.Str(layout.text).I32(layout.settingAfterText).I32(layout.points);
    for (std::int32_t i = 0; i < layout.points; ++i) {
        out.F32(static_cast<float>(i)).F32(0.0f).F32(0.0f).I32(layout.pointFlag);
    }
    out.U32(static_cast<std::uint32_t>(layout.splines.size()));
    for (const RvpSplineLayout& spline : layout.splines) {
        out.I32(spline.closed).I32(layout.splineSetting);
        out.U32(static_cast<std::uint32_t>(spline.nodePoints.size()));
        for (const std::int32_t point : spline.nodePoints) {
            out.I32(0).F32(0.3f).I32(point);
        }
    }
    out.U32(layout.pointCountAgain.value_or(static_cast<std::uint32_t>(layout.points)));
    for (const auto& refs : layout.refs) {
        out.U32(static_cast<std::uint32_t>(refs.size()));
        for (const auto& [spline, node] : refs) {
            out.I32(spline).I32(node);
        }
    }
}

// Puts a 32-bit little-endian value over the four bytes at `at`.
inline void OverwriteU32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes.at(at + i) = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

inline std::string RvpFile(const std::vector<RvpLayout>& objects) {
    RvpBytes out;
    out.Str("object_info").U32(static_cast<std::uint32_t>(objects.size()));
    for (const RvpLayout& layout : objects) {
        PutObject(out, layout);
    }
    out.Str("end");
    return out.bytes();
}

}  // namespace korvane::testing
