#include "patch/arm_tree.h"

namespace korvane {
namespace {

constexpr std::int32_t kLeafArms = 8;
// An arc cosine near 0 moves by up to the square root of its cosine's rounding (about 1e-16): the
// radius of a narrow cone is taken this much wider.
constexpr double kRadiusRounding = 1e-7;

}  // namespace

void ArmTree::Build(const std::vector<Direction>& directions, std::vector<std::int32_t> arms) {
    directions_ = &directions;
    arms_ = std::move(arms);
    nodes_.clear();
    leafOf_.assign(directions.size(), -1);
    placeOf_.assign(directions.size(), -1);
    if (arms_.empty()) {
        return;
    }
    nodes_.reserve(2 * arms_.size() / kLeafArms + 1);
    nodes_.emplace_back();
    Fill(0, 0, static_cast<std::int32_t>(arms_.size()), -1);
    for (std::size_t i = 0; i < arms_.size(); ++i) {
        placeOf_[static_cast<std::size_t>(arms_[i])] = static_cast<std::int32_t>(i);
    }
}

// Splits at the median along the longest side of the box round the directions until a node holds
// few arms; each node's cone is round the mean of its directions.
void ArmTree::Fill(std::size_t index, std::int32_t begin, std::int32_t end, std::int32_t parent) {
    const auto at = [this](std::int32_t i) -> const Direction& {
        return (*directions_)[static_cast<std::size_t>(arms_[static_cast<std::size_t>(i)])];
    };
    Direction low = at(begin);
    Direction high = low;
    Direction sum{};
    for (std::int32_t i = begin; i < end; ++i) {
        for (std::size_t d = 0; d < 3; ++d) {
            low[d] = std::min(low[d], at(i)[d]);
            high[d] = std::max(high[d], at(i)[d]);
            sum[d] += at(i)[d];
        }
    }
    const double length = std::sqrt(DotOf(sum, sum));
    // Directions that cancel out get a cone round the first of them, as wide as a half-turn.
    const Direction axis =
        length > 1e-6 ? Direction{sum[0] / length, sum[1] / length, sum[2] / length} : at(begin);
    double lowest = 1.0;
    for (std::int32_t i = begin; i < end; ++i) {
        lowest = std::min(lowest, DotOf(axis, at(i)));
    }
    constexpr double kHalfTurn = 3.141592653589793;
    const double radius =
        length > 1e-6 ? std::min(kHalfTurn, std::acos(std::max(-1.0, lowest)) + kRadiusRounding)
                      : kHalfTurn;
    nodes_[index] = {axis, radius, std::cos(radius), std::sin(radius), begin, end, end - begin,
                     -1,   parent};
    if (end - begin <= kLeafArms) {
        for (std::int32_t i = begin; i < end; ++i) {
            leafOf_[static_cast<std::size_t>(arms_[static_cast<std::size_t>(i)])] =
                static_cast<std::int32_t>(index);
        }
        return;
    }
    std::size_t side = 0;
    for (std::size_t d = 1; d < 3; ++d) {
        if (high[d] - low[d] > high[side] - low[side]) {
            side = d;
        }
    }
    const std::int32_t middle = begin + (end - begin) / 2;
    std::nth_element(arms_.begin() + begin, arms_.begin() + middle, arms_.begin() + end,
                     [this, side](std::int32_t a, std::int32_t b) {
                         return (*directions_)[static_cast<std::size_t>(a)][side] <
                                (*directions_)[static_cast<std::size_t>(b)][side];
                     });
    const auto children = static_cast<std::int32_t>(nodes_.size());
    nodes_[index].children = children;
    nodes_.resize(nodes_.size() + 2);
    Fill(static_cast<std::size_t>(children), begin, middle, static_cast<std::int32_t>(index));
    Fill(static_cast<std::size_t>(children) + 1, middle, end, static_cast<std::int32_t>(index));
}

// The arm changes places with the last one left in its leaf, and every node above counts one less.
void ArmTree::Remove(std::int32_t arm) {
    const std::int32_t leaf = leafOf_[static_cast<std::size_t>(arm)];
    if (leaf < 0) {
        return;
    }
    leafOf_[static_cast<std::size_t>(arm)] = -1;
    Node& node = nodes_[static_cast<std::size_t>(leaf)];
    const std::int32_t place = placeOf_[static_cast<std::size_t>(arm)];
    const std::int32_t lastPlace = node.begin + node.left - 1;
    const std::int32_t last = arms_[static_cast<std::size_t>(lastPlace)];
    arms_[static_cast<std::size_t>(place)] = last;
    arms_[static_cast<std::size_t>(lastPlace)] = arm;
    placeOf_[static_cast<std::size_t>(last)] = place;
    placeOf_[static_cast<std::size_t>(arm)] = lastPlace;
    for (std::int32_t at = leaf; at >= 0; at = nodes_[static_cast<std::size_t>(at)].parent) {
        --nodes_[static_cast<std::size_t>(at)].left;
    }
}

}  // namespace korvane
