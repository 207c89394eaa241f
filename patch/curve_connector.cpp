#include "patch/curve_connector.h"

#include <charconv>
#include <optional>
#include <vector>

#include "geometry/angles.h"

namespace korvane {
namespace {

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

// The list position of every spline, so that a merged spline leaves the list without a walk. The
// splines' index fields hold their slots here until NumberSplines renumbers them at the end.
class SplinePositions {
  public:
    explicit SplinePositions(PatchObject& object) {
        positions_.reserve(static_cast<std::size_t>(object.splines.GetCount()));
        for (auto position = object.splines.GetHeadPosition(); position;) {
            const auto current = position;
            object.splines.GetNext(position)->index = static_cast<std::int32_t>(positions_.size());
            positions_.push_back(current);
        }
    }

    void RemoveAt(PatchObject& object, const Spline& spline) {
        object.splines.RemoveAt(positions_[static_cast<std::size_t>(spline.index)]);
    }

  private:
    std::vector<ObjectList<Spline>::Position> positions_;
};

// "<name> <examined> / <total>", built in one reused buffer: it is made once per step.
class ProgressText {
  public:
    ProgressText(const std::string& name, std::int32_t total)
        : prefix_(name.size() + 1), suffix_(" / " + std::to_string(total)) {
        text_ = name + " ";
    }

    const std::string& For(int examined) {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, examined).ptr;
        text_.resize(prefix_);
        text_.append(digits, end);
        text_ += suffix_;
        return text_;
    }

  private:
    std::size_t prefix_;
    std::string suffix_;
    std::string text_;
};

// Merges the spline of join.first into the spline of join.second at their shared end.
void MergeSplines(PatchObject& object, const JoinCandidate& join,
                  SplinePositions& splinePositions) {
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
    splinePositions.RemoveAt(object, *absorbed);
    delete absorbed;
}

// An open end at a point, with its first segment.
struct OpenEnd {
    SplineRef* ref;
    PatchVec3 arm;
    float armLength;
};

// The pair of open ends at point whose first segments make the widest angle above the limit; the
// first such pair in reference order wins a tie. ends is scratch space, kept between calls.
std::optional<JoinCandidate> WidestJoinablePair(const ControlPoint& point, float limit,
                                                std::vector<OpenEnd>& ends) {
    ends.clear();
    for (SplineRef* ref : point.splineRefs) {
        if (IsOpenEnd(*ref)) {
            const PatchVec3 arm = Subtract(NeighbourOfEnd(*ref), point);
            ends.push_back({ref, arm, Length(arm)});
        }
    }
    float best = 0.0f;
    std::optional<JoinCandidate> join;
    for (std::size_t i = 0; i < ends.size(); ++i) {
        for (std::size_t j = i + 1; j < ends.size(); ++j) {
            const float angle =
                AngleBetween(ends[i].arm, ends[j].arm, ends[i].armLength, ends[j].armLength);
            if (angle > limit && angle > best) {
                best = angle;
                SplineRef* ref1 = ends[i].ref;
                SplineRef* ref2 = ends[j].ref;
                join = JoinCandidate{ref1, ref2, IsHead(*ref1->spline, ref1->node),
                                     IsHead(*ref2->spline, ref2->node)};
            }
        }
    }
    return join;
}

}  // namespace

bool CurveConnector::ConnectCurves(PatchObject& object, float limitDegrees,
                                   const ProgressReceiver& progress, const CancelCheck& cancelled) {
    const float limit = DegreesToRadians(limitDegrees);
    ProgressText progressText(object.name, object.controlPoints.GetCount());
    SplinePositions splinePositions(object);
    std::vector<OpenEnd> ends;
    // A join at P changes no neighbour point and no candidacy at any point before P, so those
    // points cannot have gained a joinable pair: after a join the run goes on at P itself rather
    // than from the first point. Points are examined in list order until none has a pair.
    int count = 0;
    bool finished = true;
    for (auto position = object.controlPoints.GetHeadPosition(); position;) {
        ControlPoint* point = object.controlPoints.GetAt(position);
        if (progress) {
            progress(progressText.For(count));
        }
        const std::optional<JoinCandidate> join = WidestJoinablePair(*point, limit, ends);
        if (!join) {
            object.controlPoints.GetNext(position);
            ++count;
            continue;
        }
        if (join->first->spline == join->second->spline) {
            CloseSpline(*join->first->spline);
        } else {
            MergeSplines(object, *join, splinePositions);
        }
        if (cancelled && cancelled()) {
            finished = false;
            break;
        }
    }
    object.NumberSplines();
    return finished;
}

}  // namespace korvane
