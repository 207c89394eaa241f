#include "patch/curve_connector.h"

#include "geometry/angles.h"

#include "patch/connect_chains.h"
#include "patch/hub_pairs.h"
#include "patch/open_ends.h"
#include "patch/patch_network_access.h"
#include "patch/widest_pairs.h"

namespace korvane {
namespace {

// Up to this many ends at a point, every pair of them is measured; beyond it, a tree of their
// directions finds the partners.
constexpr std::size_t kFewEnds = 64;
// Points examined between two questions whether to stop, where no join asks it: a few hundred
// microseconds of work, far less than a person notices.
constexpr std::int32_t kPointsBetweenCancelChecks = 4096;

// Joins the ends `first` and `second` (first earlier in the point's reference order) at point.
// True when the absorbed chain's far end was at point too: the merged chain's end there is made
// anew, which moves it last in the point's order.
bool Join(ConnectChains& chains, OpenEnds& ends, std::int32_t point, ChainEnd first,
          ChainEnd second) {
    ends.Remove(point, first);
    ends.Remove(point, second);
    if (first.chain == second.chain) {
        chains.Close(first.chain);
        return false;
    }
    // The far end of the absorbed chain becomes the survivor's end on the joined side, made anew
    // and so last in its point's reference order.
    const ChainEnd farEnd{first.chain, !first.head};
    const std::int32_t farPoint = chains.EndPoint(farEnd);
    ends.Remove(farPoint, farEnd);
    chains.Merge(first, second);
    ends.Append(farPoint, second);
    return farPoint == point;
}

// The joins at one point, widest pair first; false when cancelled stopped them.
template <class Pairs>
bool JoinAt(Pairs& pairs, const PatchObject& object, ConnectChains& chains, OpenEnds& ends,
            std::int32_t point, float limit, const ProgressReceiver& progress,
            const CancelCheck& cancelled) {
    pairs.Gather(ends, chains, object, point, limit);
    while (const std::optional<EndPair> pair = pairs.Widest()) {
        pairs.Joined(*pair, Join(chains, ends, point, pair->first, pair->second));
        if (cancelled && cancelled()) {
            return false;
        }
        if (progress) {
            progress(point);
        }
    }
    return true;
}

// The joins, point by point; false when cancelled stopped them.
bool JoinAll(const PatchObject& object, ConnectChains& chains, OpenEnds& ends, float limit,
             const ProgressReceiver& progress, const CancelCheck& cancelled) {
    WidestPairs pairs;
    HubPairs hubPairs;
    // A join at P changes no neighbour point and no candidacy at any point before P, so those
    // points cannot have gained a joinable pair: after a join the run goes on at P itself rather
    // than from the first point. Points are examined in list order until none has a pair.
    for (std::int32_t point = 0; point < object.PointCount(); ++point) {
        if (progress) {
            progress(point);
        }
        if (point % kPointsBetweenCancelChecks == 0 && point > 0 && cancelled && cancelled()) {
            return false;
        }
        const bool joined =
            ends.InOrder(point).size() > kFewEnds
                ? JoinAt(hubPairs, object, chains, ends, point, limit, progress, cancelled)
                : JoinAt(pairs, object, chains, ends, point, limit, progress, cancelled);
        if (!joined) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool ConnectCurves(PatchObject& object, float limitDegrees, const ProgressReceiver& progress,
                   const CancelCheck& cancelled) {
    ConnectChains chains(object);
    bool finished = false;
    {
        OpenEnds ends(object);
        // The splines and references are rebuilt from the chains at the end; until then the
        // object holds only its points and its old nodes.
        std::vector<SplineRef>().swap(PatchNetworkAccess::Refs(object));
        std::vector<std::int32_t>().swap(PatchNetworkAccess::RefStarts(object));
        std::vector<std::int32_t>().swap(PatchNetworkAccess::SplineStarts(object));
        std::vector<bool>().swap(PatchNetworkAccess::SplineClosedFlags(object));
        finished =
            JoinAll(object, chains, ends, DegreesToRadians(limitDegrees), progress, cancelled);
    }
    chains.WriteBack(object);
    return finished;
}

}  // namespace korvane
