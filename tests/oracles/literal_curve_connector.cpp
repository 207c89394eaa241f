#include "oracles/literal_curve_connector.h"

#include <algorithm>
#include <cmath>

#include "geometry/angles.h"

namespace korvane::testing {
namespace {

// The angle between two arms as the connector must see it: the cosine in float arithmetic, its
// arc cosine correctly rounded to float (taken here in long double, apart from the connector's).
float ReferenceAngle(const PatchVec3& a, const PatchVec3& b) {
    const float product = Length(b) * Length(a);
    if (product == 0.0f) {
        return 0.0f;
    }
    const float cosine = Dot(a, b) / product;
    if (cosine >= 1.0f) {
        return 0.0f;
    }
    return cosine > -1.0f ? static_cast<float>(std::acos(static_cast<long double>(cosine))) : kPi;
}

bool IsHead(const LiteralRef& ref) {
    return &ref.spline->nodes.front() == ref.node;
}

// A reference is a candidate when it sits on an end of an open spline.
bool IsOpenEnd(const LiteralRef& ref) {
    const LiteralSpline& spline = *ref.spline;
    return !spline.closed &&
           (&spline.nodes.front() == ref.node || &spline.nodes.back() == ref.node);
}

// The control point one segment away from the end that ref sits on.
std::int32_t NeighbourOfEnd(const LiteralRef& ref) {
    const auto& nodes = ref.spline->nodes;
    return IsHead(ref) ? std::next(nodes.begin())->point : std::prev(nodes.end(), 2)->point;
}

template <class Predicate>
void DeleteRefsWhere(std::list<LiteralRef>& refs, Predicate matches) {
    refs.remove_if(matches);
}

struct JoinCandidate {
    LiteralRef first{};
    LiteralRef second{};
    bool head1 = false;
    bool head2 = false;
};

void CloseSpline(LiteralNetwork& network, LiteralSpline& spline) {
    spline.closed = true;
    LiteralNode* tail = &spline.nodes.back();
    DeleteRefsWhere(network.refs[static_cast<std::size_t>(tail->point)],
                    [tail](const LiteralRef& ref) { return ref.node == tail; });
    spline.nodes.pop_back();
}

// Merges the spline of join.first into the spline of join.second at their shared end.
void MergeSplines(LiteralNetwork& network, const JoinCandidate& join) {
    LiteralSpline* absorbed = join.first.spline;
    LiteralSpline* survivor = join.second.spline;
    std::vector<const LiteralNode*> walk;
    for (const LiteralNode& node : absorbed->nodes) {
        walk.push_back(&node);
    }
    if (!join.head1) {
        std::reverse(walk.begin(), walk.end());
    }
    bool firstVisited = true;
    for (const LiteralNode* node : walk) {
        auto& pointRefs = network.refs[static_cast<std::size_t>(node->point)];
        if (!firstVisited) {
            LiteralNode added;
            added.point = node->point;
            LiteralNode* placed = join.head2 ? &survivor->nodes.emplace_front(added)
                                             : &survivor->nodes.emplace_back(added);
            pointRefs.push_back({survivor, placed});
        }
        firstVisited = false;
        DeleteRefsWhere(pointRefs,
                        [absorbed](const LiteralRef& ref) { return ref.spline == absorbed; });
    }
    network.splines.remove_if(
        [absorbed](const LiteralSpline& spline) { return &spline == absorbed; });
}

}  // namespace

void LiteralConnectCurves(LiteralNetwork& network, float limitDegrees,
                          const ProgressReceiver& progress, std::size_t maxJoins) {
    const float limit = DegreesToRadians(limitDegrees);
    bool again = true;
    std::size_t joins = 0;
    while (again && joins < maxJoins) {
        again = false;
        int count = 0;
        for (std::size_t p = 0; p < network.points.size(); ++p) {
            if (progress) {
                progress(count);
            }
            ++count;
            const PatchVec3& point = network.points[p];
            float best = 0.0f;
            JoinCandidate join;
            for (auto first = network.refs[p].begin(); first != network.refs[p].end(); ++first) {
                if (!IsOpenEnd(*first)) {
                    continue;
                }
                const PatchVec3 arm1 = Subtract(
                    network.points[static_cast<std::size_t>(NeighbourOfEnd(*first))], point);
                for (auto second = std::next(first); second != network.refs[p].end(); ++second) {
                    if (!IsOpenEnd(*second)) {
                        continue;
                    }
                    const PatchVec3 arm2 = Subtract(
                        network.points[static_cast<std::size_t>(NeighbourOfEnd(*second))], point);
                    const float angle = ReferenceAngle(arm1, arm2);
                    if (angle > limit && angle > best) {
                        best = angle;
                        join = {*first, *second, IsHead(*first), IsHead(*second)};
                        again = true;
                    }
                }
            }
            if (again) {
                if (join.first.spline == join.second.spline) {
                    CloseSpline(network, *join.first.spline);
                } else {
                    MergeSplines(network, join);
                }
                ++joins;
                break;
            }
        }
    }
}

}  // namespace korvane::testing
