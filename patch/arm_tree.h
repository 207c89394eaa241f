#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace korvane {

// A unit vector in double precision.
using Direction = std::array<double, 3>;

inline double DotOf(const Direction& a, const Direction& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// The directions of the arms at one point in a tree of cones, for finding the arms that make a wide
// angle with a given direction without measuring the angle to every other arm: a cone in which no
// direction can have a cosine with the given one as low as the search still wants is passed over
// whole. Arms are numbered by the caller; a removed arm leaves every later search.
class ArmTree {
  public:
    // Builds the tree over the listed arms, whose directions are directions[arm].
    void Build(const std::vector<Direction>& directions, std::vector<std::int32_t> arms);
    void Remove(std::int32_t arm);

    // Calls visit(arm) for every arm left whose direction may have a cosine of at most `ceiling`
    // with `direction`, cones with the lowest cosines first; visit may lower the ceiling.
    template <class Visit>
    void Search(const Direction& direction, const double& ceiling, Visit&& visit) const {
        if (!nodes_.empty()) {
            SearchFrom(0, direction, ceiling, visit);
        }
    }

  private:
    // The node's arms lie within the angle whose cosine and sine are given of its axis.
    struct Node {
        Direction axis;
        double cosine;
        double sine;
        std::int32_t begin;  // the node's arms are arms_[begin, end), the ones left first
        std::int32_t end;
        std::int32_t left;      // arms left in the node
        std::int32_t children;  // the first of two adjacent children, or -1 for a leaf
        std::int32_t parent;
    };

    void Fill(std::size_t index, std::int32_t begin, std::int32_t end, std::int32_t parent);

    // The lowest cosine `direction` can have with a direction inside the node's cone: that of
    // its angle to the axis and the cone's angle together, down to -1. The sine comes from the
    // cross product, which keeps it exact where the cosine is near -1.
    static double LowestCosine(const Node& node, const Direction& direction) {
        const double cosine = DotOf(direction, node.axis);
        if (cosine <= -node.cosine) {
            return -1.0;
        }
        const Direction& a = node.axis;
        const Direction& d = direction;
        const double cross0 = d[1] * a[2] - d[2] * a[1];
        const double cross1 = d[2] * a[0] - d[0] * a[2];
        const double cross2 = d[0] * a[1] - d[1] * a[0];
        const double sine = std::sqrt(cross0 * cross0 + cross1 * cross1 + cross2 * cross2);
        return cosine * node.cosine - sine * node.sine - kRounding;
    }

    // Room for the rounding of the cone's bounds.
    static constexpr double kRounding = 0x1p-40;

    template <class Visit>
    void SearchFrom(std::int32_t index, const Direction& direction, const double& ceiling,
                    Visit& visit) const {
        const Node& node = nodes_[static_cast<std::size_t>(index)];
        if (node.left == 0 || LowestCosine(node, direction) > ceiling) {
            return;
        }
        if (node.children < 0) {
            for (std::int32_t i = node.begin; i < node.begin + node.left; ++i) {
                visit(arms_[static_cast<std::size_t>(i)]);
            }
            return;
        }
        std::int32_t first = node.children;
        std::int32_t second = node.children + 1;
        if (LowestCosine(nodes_[static_cast<std::size_t>(second)], direction) <
            LowestCosine(nodes_[static_cast<std::size_t>(first)], direction)) {
            std::swap(first, second);
        }
        SearchFrom(first, direction, ceiling, visit);
        SearchFrom(second, direction, ceiling, visit);
    }

    const std::vector<Direction>* directions_ = nullptr;
    std::vector<Node> nodes_;
    std::vector<std::int32_t> arms_;
    std::vector<std::int32_t> leafOf_;   // per arm number
    std::vector<std::int32_t> placeOf_;  // per arm number: its place in arms_
};

}  // namespace korvane
