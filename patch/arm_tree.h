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

// How far a search reaches: to the directions whose cosine with the searched one is at most
// `ceiling`, which lie at `angle` or more from it. The reach only ever narrows.
class SearchReach {
  public:
    explicit SearchReach(double ceiling) { Narrow(ceiling); }

    void Narrow(double ceiling) {
        ceiling_ = ceiling;
        angle_ = std::acos(std::clamp(ceiling, -1.0, 1.0));
        cosine_ = std::cos(angle_);
        sine_ = std::sin(angle_);
    }
    double Ceiling() const { return ceiling_; }
    double Angle() const { return angle_; }
    double Cosine() const { return cosine_; }
    double Sine() const { return sine_; }

  private:
    double ceiling_ = 0.0;
    double angle_ = 0.0;
    double cosine_ = 0.0;
    double sine_ = 0.0;
};

// The directions of the arms at one point in a tree of cones, for finding the arms that make a wide
// angle with a given direction without measuring the angle to every other arm: a cone in which no
// direction can have a cosine with the given one as low as the search still wants is passed over
// whole. Arms are numbered by the caller; a removed arm leaves every later search.
class ArmTree {
  public:
    // Builds the tree over the listed arms, whose directions are directions[arm].
    void Build(const std::vector<Direction>& directions, std::vector<std::int32_t> arms);
    void Remove(std::int32_t arm);

    // Calls visit(arm) for every arm left in a cone that the reach from `direction` may meet, the
    // cones nearest the opposite direction first; visit may narrow the reach.
    template <class Visit>
    void Search(const Direction& direction, const SearchReach& reach, Visit&& visit) const {
        if (!nodes_.empty()) {
            SearchFrom(0, direction, reach, visit);
        }
    }

  private:
    // The node's arms lie within `radius` of its axis.
    struct Node {
        Direction axis;
        double radius;
        double cosine;  // of the radius
        double sine;
        std::int32_t begin;  // the node's arms are arms_[begin, end), the ones left first
        std::int32_t end;
        std::int32_t left;      // arms left in the node
        std::int32_t children;  // the first of two adjacent children, or -1 for a leaf
        std::int32_t parent;
    };

    void Fill(std::size_t index, std::int32_t begin, std::int32_t end, std::int32_t parent);

    // False when every direction in the node's cone lies nearer `direction` than the reach: its
    // angle to the axis and the radius together fall short of the reach's angle, that is, the
    // cosine of the angle to the axis exceeds that of the reach's angle less the radius.
    static bool Meets(const Node& node, const Direction& direction, const SearchReach& reach) {
        return node.radius >= reach.Angle() ||
               DotOf(direction, node.axis) <=
                   reach.Cosine() * node.cosine + reach.Sine() * node.sine + kRounding;
    }

    // Room for the rounding of the cones and the reach.
    static constexpr double kRounding = 0x1p-40;

    template <class Visit>
    void SearchFrom(std::int32_t index, const Direction& direction, const SearchReach& reach,
                    Visit& visit) const {
        const Node& node = nodes_[static_cast<std::size_t>(index)];
        if (node.left == 0 || !Meets(node, direction, reach)) {
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
        if (DotOf(direction, nodes_[static_cast<std::size_t>(second)].axis) <
            DotOf(direction, nodes_[static_cast<std::size_t>(first)].axis)) {
            std::swap(first, second);
        }
        SearchFrom(first, direction, reach, visit);
        SearchFrom(second, direction, reach, visit);
    }

    const std::vector<Direction>* directions_ = nullptr;
    std::vector<Node> nodes_;
    std::vector<std::int32_t> arms_;
    std::vector<std::int32_t> leafOf_;   // per arm number
    std::vector<std::int32_t> placeOf_;  // per arm number: its place in arms_
};

}  // namespace korvane
