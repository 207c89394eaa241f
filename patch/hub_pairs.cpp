#include "patch/hub_pairs.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvane {
namespace {

// Arms whose length lies in this range keep the float cosine of any two of them within
// kCosineError of the true one: no square or product of lengths leaves the normal floats, and the
// dot product, the two square roots, their product and the quotient round at most about ten times
// 2^-24 away from it.
constexpr float kShortestInTree = 0x1p-40f;
constexpr float kLongestInTree = 0x1p40f;
constexpr double kCosineError = 0x1p-20;
// An angle rounded to a float is at most half a float step below 4 (2^-23) from the arc cosine it
// came from.
constexpr double kAngleRounding = 0x1p-21;

// The highest true cosine between two arms' directions at which AngleBetween can still give
// `angle` or more; above 1 when every angle may.
double CosineCeiling(float angle) {
    const double below = static_cast<double>(angle) - kAngleRounding;
    return below <= 0.0 ? 2.0 : std::cos(below) + kCosineError;
}

bool Finite(const PatchVec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

}  // namespace

void HubPairs::Gather(const OpenEnds& ends, const ConnectChains& chains, const PatchObject& object,
                      std::int32_t point, float limit) {
    arms_.clear();
    heap_.clear();
    limit_ = limit;
    const PatchVec3& centre = object.Points()[static_cast<std::size_t>(point)];
    bool finite = true;
    for (const std::int32_t packed : ends.InOrder(point)) {
        if (packed == OpenEnds::kRemoved) {
            continue;
        }
        const ChainEnd end = OpenEnds::Unpack(packed);
        const PatchVec3 arm =
            Subtract(object.Points()[static_cast<std::size_t>(chains.NeighbourPoint(end))], centre);
        finite = finite && Finite(arm);
        const auto order = static_cast<std::int32_t>(arms_.size());
        arms_.push_back({end, arm, Length(arm), order, -1, true});
    }
    nextOrder_ = static_cast<std::int32_t>(arms_.size());
    LinkTwins();
    Classify(finite);
    for (std::size_t i = 0; i < arms_.size(); ++i) {
        OfferFor(static_cast<std::int32_t>(i));
    }
}

void HubPairs::LinkTwins() {
    byChain_.clear();
    for (std::size_t i = 0; i < arms_.size(); ++i) {
        byChain_.push_back(static_cast<std::uint64_t>(arms_[i].end.chain) << 32 | i);
    }
    std::sort(byChain_.begin(), byChain_.end());
    for (std::size_t i = 1; i < byChain_.size(); ++i) {
        if (byChain_[i] >> 32 == byChain_[i - 1] >> 32) {
            const auto a = static_cast<std::uint32_t>(byChain_[i - 1]);
            const auto b = static_cast<std::uint32_t>(byChain_[i]);
            arms_[a].twin = static_cast<std::int32_t>(b);
            arms_[b].twin = static_cast<std::int32_t>(a);
        }
    }
}

// Puts each arm into the tree, beside it or out of the search. An arm that is not finite may make
// the widest angle with any other, the zero arm included, so then every arm is measured with every
// other.
void HubPairs::Classify(bool finite) {
    kinds_.assign(arms_.size(), Kind::kOdd);
    directions_.assign(arms_.size(), Direction{});
    odd_.clear();
    std::vector<std::int32_t> inTree;
    for (std::size_t i = 0; i < arms_.size(); ++i) {
        const Arm& arm = arms_[i];
        if (finite && arm.length == 0.0f) {
            kinds_[i] = Kind::kInert;
        } else if (!finite || arm.length < kShortestInTree || arm.length > kLongestInTree) {
            odd_.push_back(static_cast<std::int32_t>(i));
        } else {
            const Direction v{arm.arm.x, arm.arm.y, arm.arm.z};
            const double length = std::sqrt(DotOf(v, v));
            directions_[i] = {v[0] / length, v[1] / length, v[2] / length};
            kinds_[i] = Kind::kTree;
            inTree.push_back(static_cast<std::int32_t>(i));
        }
    }
    tree_.Build(directions_, std::move(inTree));
}

void HubPairs::OfferFor(std::int32_t arm) {
    if (kinds_[static_cast<std::size_t>(arm)] == Kind::kInert) {
        return;
    }
    const Partner partner = FindPartner(arm);
    if (partner.arm >= 0) {
        Push(arm, partner);
    }
}

void HubPairs::Push(std::int32_t arm, const Partner& partner) {
    heap_.push_back({partner.angle, arm, arms_[static_cast<std::size_t>(arm)].order, partner.arm,
                     arms_[static_cast<std::size_t>(partner.arm)].order});
    std::push_heap(heap_.begin(), heap_.end(), Below);
}

HubPairs::Partner HubPairs::FindPartner(std::int32_t arm) const {
    Partner best;
    if (kinds_[static_cast<std::size_t>(arm)] != Kind::kTree) {
        for (std::size_t other = 0; other < arms_.size(); ++other) {
            Consider(arm, static_cast<std::int32_t>(other), best);
        }
        return best;
    }
    SearchTree(arm, best);
    for (const std::int32_t other : odd_) {
        Consider(arm, other, best);
    }
    return best;
}

// The tree's arms are compared by their cosines with the arm, and few cosines are turned into
// angles: every cosine between tieLow and tieHigh is known to give the widest angle so far, and
// every one from `narrower` up a narrower angle. A cosine above those of the widest can at most tie
// with it, which only an earlier arm would win.
void HubPairs::SearchTree(std::int32_t arm, Partner& best) const {
    const Arm& a = arms_[static_cast<std::size_t>(arm)];
    const Direction& direction = directions_[static_cast<std::size_t>(arm)];
    SearchReach reach(CosineCeiling(std::max(limit_, 0.0f)));
    float tieLow = 0.0f;
    float tieHigh = 0.0f;
    float narrower = std::numeric_limits<float>::infinity();
    tree_.Search(direction, reach, [&](std::int32_t other) {
        if (other == arm ||
            DotOf(direction, directions_[static_cast<std::size_t>(other)]) > reach.Ceiling()) {
            return;
        }
        const Arm& b = arms_[static_cast<std::size_t>(other)];
        const float cosine = CosineBetween(a.arm, b.arm, a.length, b.length);
        const bool earlier =
            best.arm >= 0 && b.order < arms_[static_cast<std::size_t>(best.arm)].order;
        if (best.arm >= 0 && cosine >= tieLow) {
            if (cosine <= tieHigh) {
                best.arm = earlier ? other : best.arm;
                return;
            }
            if (cosine >= narrower || !earlier) {
                return;
            }
        }
        const float angle = AngleOfCosine(cosine);
        if (best.arm >= 0 && angle == best.angle) {
            tieLow = std::min(tieLow, cosine);
            tieHigh = std::max(tieHigh, cosine);
            best.arm = earlier ? other : best.arm;
        } else if (best.arm >= 0 && angle < best.angle) {
            narrower = std::min(narrower, cosine);
        } else if (angle > limit_ && angle > best.angle) {
            best = {angle, other};
            tieLow = cosine;
            tieHigh = cosine;
            narrower = std::numeric_limits<float>::infinity();
            reach.Narrow(CosineCeiling(angle));
        }
    });
}

// The angle is the same whichever arm is measured from, as AngleBetween multiplies and adds the
// same numbers both ways.
void HubPairs::Consider(std::int32_t arm, std::int32_t other, Partner& best) const {
    const Arm& a = arms_[static_cast<std::size_t>(arm)];
    const Arm& b = arms_[static_cast<std::size_t>(other)];
    if (other == arm || !b.alive) {
        return;
    }
    const float angle = AngleBetween(a.arm, b.arm, a.length, b.length);
    if (angle > limit_ &&
        (angle > best.angle || (angle == best.angle && best.arm >= 0 &&
                                b.order < arms_[static_cast<std::size_t>(best.arm)].order))) {
        best = {angle, other};
    }
}

// The top arm has the widest angle left, and no earlier arm has a partner at that angle: its
// partner, the first at that angle, makes the pair. When that partner has gone, the arm looks
// again; at the same angle it stays on top with the new partner.
std::optional<EndPair> HubPairs::Widest() {
    while (!heap_.empty()) {
        Offer& top = heap_.front();
        if (!Current(top.arm, top.armOrder)) {
            std::pop_heap(heap_.begin(), heap_.end(), Below);
            heap_.pop_back();
            continue;
        }
        if (!Current(top.partner, top.partnerOrder)) {
            const Partner partner = FindPartner(top.arm);
            if (partner.arm < 0 || partner.angle != top.angle) {
                const std::int32_t arm = top.arm;
                std::pop_heap(heap_.begin(), heap_.end(), Below);
                heap_.pop_back();
                if (partner.arm >= 0) {
                    Push(arm, partner);
                }
                continue;
            }
            top.partner = partner.arm;
            top.partnerOrder = arms_[static_cast<std::size_t>(partner.arm)].order;
        }
        const bool armFirst = top.armOrder < top.partnerOrder;
        const std::int32_t first = armFirst ? top.arm : top.partner;
        const std::int32_t second = armFirst ? top.partner : top.arm;
        return EndPair{arms_[static_cast<std::size_t>(first)].end,
                       arms_[static_cast<std::size_t>(second)].end, first, second};
    }
    return std::nullopt;
}

void HubPairs::Joined(const EndPair& joined, bool farEndHere) {
    Kill(joined.firstPlace);
    Kill(joined.secondPlace);
    // The survivor's other end, if here, now has its twin wherever the far end was.
    const std::int32_t survivorOther = arms_[static_cast<std::size_t>(joined.secondPlace)].twin;
    const std::int32_t farEnd =
        farEndHere ? arms_[static_cast<std::size_t>(joined.firstPlace)].twin : -1;
    if (survivorOther >= 0) {
        arms_[static_cast<std::size_t>(survivorOther)].twin = farEnd;
    }
    if (farEnd < 0) {
        return;
    }
    Arm& moved = arms_[static_cast<std::size_t>(farEnd)];
    moved.end = joined.second;
    moved.order = nextOrder_++;
    moved.twin = survivorOther;
    OfferFor(farEnd);
}

void HubPairs::Kill(std::int32_t arm) {
    arms_[static_cast<std::size_t>(arm)].alive = false;
    if (kinds_[static_cast<std::size_t>(arm)] == Kind::kTree) {
        tree_.Remove(arm);
    }
}

// Wider angles first, then earlier arms.
bool HubPairs::Below(const Offer& a, const Offer& b) {
    return a.angle != b.angle ? a.angle < b.angle : a.armOrder > b.armOrder;
}

}  // namespace korvane
