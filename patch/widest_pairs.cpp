#include "patch/widest_pairs.h"

namespace korvane {

void WidestPairs::Gather(const OpenEnds& ends, const ConnectChains& chains,
                         const PatchObject& object, std::int32_t point, float limit) {
    ends_ = &ends;
    chains_ = &chains;
    object_ = &object;
    point_ = point;
    limit_ = limit;
    arms_.clear();
    const PatchVec3& centre = object.Points()[static_cast<std::size_t>(point)];
    for (const std::int32_t packed : ends.InOrder(point)) {
        if (packed == OpenEnds::kRemoved) {
            continue;
        }
        const ChainEnd end = OpenEnds::Unpack(packed);
        const PatchVec3 arm =
            Subtract(object.Points()[static_cast<std::size_t>(chains.NeighbourPoint(end))], centre);
        arms_.push_back({end, arm, Length(arm), 0.0f, -1, true});
    }
    for (std::size_t i = 0; i < arms_.size(); ++i) {
        FindPartner(i);
    }
}

// Both comparisons strict, as the first pair of the widest angle wins and no angle at or below
// zero ever does.
void WidestPairs::FindPartner(std::size_t i) {
    Arm& arm = arms_[i];
    arm.widest = 0.0f;
    arm.partner = -1;
    for (std::size_t j = i + 1; j < arms_.size(); ++j) {
        if (!arms_[j].alive) {
            continue;
        }
        const float angle = AngleBetween(arm.arm, arms_[j].arm, arm.length, arms_[j].length);
        if (angle > limit_ && angle > arm.widest) {
            arm.widest = angle;
            arm.partner = static_cast<std::int32_t>(j);
        }
    }
}

std::optional<EndPair> WidestPairs::Widest() const {
    const Arm* widest = nullptr;
    std::int32_t place = -1;
    for (std::size_t i = 0; i < arms_.size(); ++i) {
        const Arm& arm = arms_[i];
        if (arm.alive && arm.partner >= 0 && (widest == nullptr || arm.widest > widest->widest)) {
            widest = &arm;
            place = static_cast<std::int32_t>(i);
        }
    }
    if (widest == nullptr) {
        return std::nullopt;
    }
    return EndPair{widest->end, arms_[static_cast<std::size_t>(widest->partner)].end, place,
                   widest->partner};
}

void WidestPairs::Joined(const EndPair& joined, bool farEndHere) {
    if (farEndHere) {
        Gather(*ends_, *chains_, *object_, point_, limit_);
        return;
    }
    arms_[static_cast<std::size_t>(joined.firstPlace)].alive = false;
    arms_[static_cast<std::size_t>(joined.secondPlace)].alive = false;
    for (std::size_t i = 0; i < arms_.size(); ++i) {
        const Arm& arm = arms_[i];
        if (arm.alive && (arm.partner == joined.firstPlace || arm.partner == joined.secondPlace)) {
            FindPartner(i);
        }
    }
}

}  // namespace korvane
