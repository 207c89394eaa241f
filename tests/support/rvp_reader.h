#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

// An independent reader of ruvoPatch files for tests: it parses the byte layout on its own and
// refuses anything that does not add up, so that written files can be read back and checked.
namespace korvane::testing {

struct RvpNode {
    std::int32_t corner = 0;
    float tension = 0.0f;
    std::int32_t controlPoint = 0;
};

struct RvpSpline {
    std::int32_t closed = 0;
    std::vector<RvpNode> nodes;
};

struct RvpPoint {
    float x = 0, y = 0, z = 0;
    std::int32_t flag = 0;
    std::vector<std::pair<std::int32_t, std::int32_t>> refs;  // (spline, node)
};

struct RvpObject {
    std::string name;
    std::uint32_t colour = 0;
    std::vector<RvpPoint> points;
    std::vector<RvpSpline> splines;
};

class RvpReader {
  public:
    explicit RvpReader(const std::string& bytes) : bytes_(bytes) {}

    // The objects, or nothing with error() set when the bytes are not a well-formed file.
    std::optional<std::vector<RvpObject>> Read() {
        std::vector<RvpObject> objects;
        std::string tag;
        std::uint32_t count = 0;
        if (!String(tag) || tag != "object_info" || !U32(count)) {
            return Fail("bad header");
        }
        for (std::uint32_t i = 0; i < count; ++i) {
            RvpObject object;
            if (!Object(object)) {
                return std::nullopt;
            }
            objects.push_back(std::move(object));
        }
        if (!String(tag) || tag != "end") {
            return Fail("bad trailer");
        }
        if (at_ != bytes_.size()) {
            return Fail("bytes after the trailer");
        }
        return objects;
    }

    const std::string& error() const { return error_; }

  private:
    std::nullopt_t Fail(const std::string& text) {
        if (error_.empty()) {
            error_ = text + " at byte " + std::to_string(at_);
        }
        return std::nullopt;
    }

    bool Bytes(void* out, std::size_t n) {
        if (bytes_.size() - at_ < n) {
            Fail("file ends early");
            return false;
        }
        std::memcpy(out, bytes_.data() + at_, n);
        at_ += n;
        return true;
    }

    bool U32(std::uint32_t& v) {
        unsigned char b[4];
        if (!Bytes(b, 4)) {
            return false;
        }
        v = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
        return true;
    }
    bool I32(std::int32_t& v) {
        std::uint32_t u = 0;
        const bool ok = U32(u);
        v = static_cast<std::int32_t>(u);
        return ok;
    }
    bool F32(float& v) {
        std::uint32_t u = 0;
        const bool ok = U32(u);
        std::memcpy(&v, &u, 4);
        return ok;
    }

    bool String(std::string& s) {
        unsigned char b = 0;
        if (!Bytes(&b, 1)) {
            return false;
        }
        std::uint32_t length = b;
        if (b == 0xFF) {
            unsigned char w[2];
            if (!Bytes(w, 2)) {
                return false;
            }
            length = w[0] | (w[1] << 8);
            if (length == 0xFFFF && !U32(length)) {
                return false;
            }
        }
        if (bytes_.size() - at_ < length) {
            Fail("string runs past the end");
            return false;
        }
        s.assign(bytes_.data() + at_, length);
        at_ += length;
        return true;
    }

    bool Expect(std::int32_t expected) {
        std::int32_t v = 0;
        if (!I32(v)) {
            return false;
        }
        if (v != expected) {
            Fail("fixed value " + std::to_string(v) + " is not " + std::to_string(expected));
            return false;
        }
        return true;
    }

    bool Object(RvpObject& object) {
        std::uint32_t pointCount = 0, splineCount = 0, pointCountAgain = 0;
        std::string blank;
        if (!String(object.name) || !U32(object.colour)) {
            return false;
        }
        for (const std::int32_t fixed : {0, 1, 0, 1, 1, 0, 0}) {
            if (!Expect(fixed)) {
                return false;
            }
        }
        if (!String(blank) || blank != " " || !Expect(0) || !U32(pointCount)) {
            return Fail("bad object header"), false;
        }
        if (pointCount > bytes_.size()) {
            return Fail("point count too large"), false;
        }
        object.points.resize(pointCount);
        for (RvpPoint& p : object.points) {
            if (!F32(p.x) || !F32(p.y) || !F32(p.z) || !I32(p.flag)) {
                return false;
            }
        }
        if (!U32(splineCount) || splineCount > bytes_.size()) {
            return Fail("bad spline count"), false;
        }
        object.splines.resize(splineCount);
        for (RvpSpline& s : object.splines) {
            std::uint32_t nodeCount = 0;
            if (!I32(s.closed) || !Expect(1) || !U32(nodeCount) || nodeCount > bytes_.size()) {
                return false;
            }
            s.nodes.resize(nodeCount);
            for (RvpNode& n : s.nodes) {
                if (!I32(n.corner) || !F32(n.tension) || !I32(n.controlPoint)) {
                    return false;
                }
            }
        }
        if (!U32(pointCountAgain) || pointCountAgain != pointCount) {
            return Fail("second point count differs"), false;
        }
        for (RvpPoint& p : object.points) {
            std::uint32_t refCount = 0;
            if (!U32(refCount) || refCount > bytes_.size()) {
                return false;
            }
            p.refs.resize(refCount);
            for (auto& ref : p.refs) {
                if (!I32(ref.first) || !I32(ref.second)) {
                    return false;
                }
            }
        }
        return true;
    }

    const std::string& bytes_;
    std::size_t at_ = 0;
    std::string error_;
};

// Cross-checks one object: every node names a point in range and is listed exactly once in that
// point's references; every reference names an existing node on that point. Returns the problems.
inline std::vector<std::string> CheckRvpObject(const RvpObject& object) {
    std::vector<std::string> problems;
    const auto pointCount = static_cast<std::int32_t>(object.points.size());
    std::vector<std::vector<int>> seen(object.splines.size());
    for (std::size_t s = 0; s < object.splines.size(); ++s) {
        const RvpSpline& spline = object.splines[s];
        if (spline.nodes.size() < 2) {
            problems.push_back("spline " + std::to_string(s) + " has fewer than two nodes");
        }
        seen[s].assign(spline.nodes.size(), 0);
        for (const RvpNode& n : spline.nodes) {
            if (n.controlPoint < 0 || n.controlPoint >= pointCount) {
                problems.push_back("spline " + std::to_string(s) + " names a missing point");
            }
        }
    }
    for (std::int32_t p = 0; p < pointCount; ++p) {
        for (const auto& [s, n] : object.points[p].refs) {
            if (s < 0 || s >= static_cast<std::int32_t>(object.splines.size()) || n < 0 ||
                n >= static_cast<std::int32_t>(object.splines[s].nodes.size())) {
                problems.push_back("point " + std::to_string(p) + " names a missing node");
                continue;
            }
            if (object.splines[s].nodes[n].controlPoint != p) {
                problems.push_back("point " + std::to_string(p) + " names a node elsewhere");
            }
            ++seen[s][n];
        }
    }
    for (std::size_t s = 0; s < seen.size(); ++s) {
        for (std::size_t n = 0; n < seen[s].size(); ++n) {
            if (seen[s][n] != 1) {
                problems.push_back("node " + std::to_string(s) + "/" + std::to_string(n) +
                                   " is referenced " + std::to_string(seen[s][n]) + " times");
            }
        }
    }
    return problems;
}

}  // namespace korvane::testing
