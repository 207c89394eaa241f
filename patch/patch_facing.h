#pragma once

#include <cstdint>
#include <vector>

#include "patch/patch_object.h"

// Which way each patch of a network faces. Patch detection finds each loop in an arbitrary
// direction; the surfaces and the spline-patch exports turn patches so that neighbours agree.

namespace korvane {

// The control point at corner `corner` of patch.
inline std::int32_t CornerPoint(const PatchObject& object, const Patch& patch, int corner) {
    return object
        .Nodes()[static_cast<std::size_t>(patch.edgeStart[static_cast<std::size_t>(corner)])]
        .controlPoint;
}

// The spline segment under side `side` of patch, named by the node it leaves forwards (the node
// whose handleOut it uses), so that both patches on a segment name it alike.
inline std::int32_t SegmentOf(const Patch& patch, int side) {
    const auto s = static_cast<std::size_t>(side);
    return patch.forward[s] ? patch.edgeStart[s] : patch.edgeEnd[s];
}

// Whether a patch has a surface to draw or write: three or four corners.
inline bool HasSurface(const Patch& patch) {
    return patch.cornerCount == 3 || patch.cornerCount == 4;
}

// The indices of the object's patches that have a surface, in list order.
std::vector<std::int32_t> SurfacePatches(const PatchObject& object);

// Which of the given patches (indices into object.Patches()) to turn: neighbours across a segment
// must run along it in opposite directions. Each connected piece keeps the direction of its first
// patch, unless it is closed (every side shared by exactly two patches) and then encloses a
// negative volume: a closed piece, turned so, runs counter-clockwise about its outward side.
std::vector<bool> TurnedPatches(const PatchObject& object,
                                const std::vector<std::int32_t>& patches);

}  // namespace korvane
