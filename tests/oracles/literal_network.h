#pragma once

#include <array>
#include <list>
#include <vector>

#include "patch/patch_object.h"

namespace korvane::testing {

// The patch network as linked records, the way it was first written: every node and reference its
// own record, a point's references in a list that a join edits in place. The oracles run on it, so
// that they share no code with the flat network they check.
struct LiteralNode {
    std::int32_t point = 0;
    PatchVec3 handleIn;
    PatchVec3 handleOut;
    float tension = 0.3f;
    bool corner = false;
};

struct LiteralSpline {
    bool closed = false;
    std::list<LiteralNode> nodes;  // head to tail
};

struct LiteralRef {
    LiteralSpline* spline;
    LiteralNode* node;
};

struct LiteralNetwork {
    explicit LiteralNetwork(const PatchObject& object);

    std::vector<PatchVec3> points;
    std::list<LiteralSpline> splines;
    std::vector<std::list<LiteralRef>> refs;  // per point
};

// Everything connection and handles can change, by position: each spline's closed flag and nodes,
// and each point's references as (spline position, node position).
struct NetworkShape {
    struct Node {
        std::int32_t point;
        std::array<float, 6> handles;
        float tension;
        bool corner;
        bool operator==(const Node&) const = default;
    };
    std::vector<std::pair<bool, std::vector<Node>>> splines;
    std::vector<std::vector<std::pair<int, int>>> references;
    bool operator==(const NetworkShape&) const = default;
};

NetworkShape ShapeOf(const LiteralNetwork& network);
NetworkShape ShapeOf(const PatchObject& object);

// A patch by positions: for each edge, its spline, the positions of its two nodes in that spline,
// and whether it runs forward.
struct PatchShape {
    struct Edge {
        int spline;
        int start;
        int end;
        bool forward;
        bool operator==(const Edge&) const = default;
    };
    int cornerCount;
    std::array<Edge, 4> edges;
    bool operator==(const PatchShape&) const = default;
};

std::vector<PatchShape> PatchShapesOf(const PatchObject& object);

}  // namespace korvane::testing
