#include "oracles/literal_curve_connector.h"

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

bool IsHead(const Spline& spline, const SplineNode* node) {
    return spline.nodes.GetHead() == node;
}

// A reference is a candidate when it sits on an end of an open spline.
bool IsOpenEnd(const SplineRef& ref) {
    const Spline& spline = *ref.spline;
    return spline.closed == 0 &&
           (spline.nodes.GetHead() == ref.node || spline.nodes.GetTail() == ref.node);
}

// The control point one segment away from the end that ref sits on.
const ControlPoint& NeighbourOfEnd(const SplineRef& ref) {
    const Spline& spline = *ref.spline;
    auto position =
        IsHead(spline, ref.node) ? spline.nodes.GetHeadPosition() : spline.nodes.GetTailPosition();
    if (IsHead(spline, ref.node)) {
        spline.nodes.GetNext(position);
    } else {
        spline.nodes.GetPrev(position);
    }
    return *spline.nodes.GetAt(position)->controlPoint;
}

template <class Predicate>
void DeleteRefsWhere(ControlPoint& point, Predicate matches) {
    auto position = point.splineRefs.GetHeadPosition();
    while (position) {
        const auto current = position;
        SplineRef* ref = point.splineRefs.GetNext(position);
        if (matches(*ref)) {
            point.splineRefs.RemoveAt(current);
            delete ref;
        }
    }
}

struct JoinCandidate {
    SplineRef* first = nullptr;
    SplineRef* second = nullptr;
    bool head1 = false;
    bool head2 = false;
};

void CloseSpline(Spline& spline) {
    spline.closed = 1;
    SplineNode* tail = spline.nodes.GetTail();
    DeleteRefsWhere(*tail->controlPoint, [tail](const SplineRef& ref) { return ref.node == tail; });
    spline.nodes.RemoveAt(spline.nodes.GetTailPosition());
    delete tail;
}

// Merges the spline of join.first into the spline of join.second at their shared end.
void MergeSplines(PatchObject& object, const JoinCandidate& join) {
    Spline* absorbed = join.first->spline;
    Spline* survivor = join.second->spline;
    auto position =
        join.head1 ? absorbed->nodes.GetHeadPosition() : absorbed->nodes.GetTailPosition();
    bool firstVisited = true;
    while (position) {
        SplineNode* node =
            join.head1 ? absorbed->nodes.GetNext(position) : absorbed->nodes.GetPrev(position);
        ControlPoint* point = node->controlPoint;
        if (!firstVisited) {
            SplineNode* added = new SplineNode;
            added->controlPoint = point;
            if (join.head2) {
                survivor->nodes.AddHead(added);
            } else {
                survivor->nodes.AddTail(added);
            }
            SplineRef* ref = point->AddSplineRef();
            ref->spline = survivor;
            ref->node = added;
        }
        firstVisited = false;
        DeleteRefsWhere(*point,
                        [absorbed](const SplineRef& ref) { return ref.spline == absorbed; });
    }
    object.NumberSplines();
    object.splines.RemoveAt(object.splines.FindIndex(absorbed->index));
    delete absorbed;
}

}  // namespace

void LiteralConnectCurves(PatchObject& object, float limitDegrees,
                          const ProgressReceiver& progress) {
    const float limit = DegreesToRadians(limitDegrees);
    const std::string total = std::to_string(object.controlPoints.GetCount());
    bool again = true;
    while (again) {
        again = false;
        int count = 0;
        for (ControlPoint* point : object.controlPoints) {
            if (progress) {
                progress(object.name + " " + std::to_string(count) + " / " + total);
            }
            ++count;
            float best = 0.0f;
            JoinCandidate join;
            for (auto first = point->splineRefs.GetHeadPosition(); first;) {
                SplineRef* ref1 = point->splineRefs.GetNext(first);
                if (!IsOpenEnd(*ref1)) {
                    continue;
                }
                const PatchVec3 arm1 = Subtract(NeighbourOfEnd(*ref1), *point);
                for (auto second = first; second;) {
                    SplineRef* ref2 = point->splineRefs.GetNext(second);
                    if (!IsOpenEnd(*ref2)) {
                        continue;
                    }
                    const PatchVec3 arm2 = Subtract(NeighbourOfEnd(*ref2), *point);
                    const float angle = ReferenceAngle(arm1, arm2);
                    if (angle > limit && angle > best) {
                        best = angle;
                        join = {ref1, ref2, IsHead(*ref1->spline, ref1->node),
                                IsHead(*ref2->spline, ref2->node)};
                        again = true;
                    }
                }
            }
            if (again) {
                if (join.first->spline == join.second->spline) {
                    CloseSpline(*join.first->spline);
                } else {
                    MergeSplines(object, join);
                }
                break;
            }
        }
    }
}

}  // namespace korvane::testing
