#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane {

// One object of a ruvoPatch file as the file lists it, in flat tables: references are positions
// in these tables, as in the file. Spline s owns nodes[splineStart[s]] up to
// nodes[splineStart[s + 1]]; control point p owns refs[refStart[p]] up to refs[refStart[p + 1]].
struct RvpNetwork {
    struct Point {
        float x = 0.0f, y = 0.0f, z = 0.0f;
        std::int32_t flag = 0;
    };
    struct Node {
        std::int32_t corner = 0;
        float tension = 0.0f;
        std::int32_t point = 0;  // position in points
    };
    struct Ref {
        std::int32_t spline = 0;  // position in closed / splineStart
        std::int32_t node = 0;    // position within that spline
    };

    std::string name;  // bytes as stored
    std::uint32_t colour = 0;
    std::vector<Point> points;
    std::vector<std::int32_t> closed;        // per spline, 0 or 1
    std::vector<std::uint32_t> splineStart;  // one more than there are splines
    std::vector<Node> nodes;
    std::vector<std::uint32_t> refStart;  // one more than there are points
    std::vector<Ref> refs;
};

}  // namespace korvane
