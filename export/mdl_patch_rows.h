#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "geometry/vec3.h"
#include "patch/patch_object.h"

// The <PATCHES> lines of an Animation:Master model and the <NORMALS> they index.

namespace korvane {

struct MdlPatchRow {
    // Bit 8 << i: the spline of side i runs from corner i to corner i + 1.
    std::uint32_t flags = 0;
    // Per corner, the id of its CP on the spline of the side that leaves it; a 3-point patch
    // repeats the first corner (and its normal) in the fourth place.
    std::array<std::int64_t, 4> corners{};
    std::array<std::int32_t, 4> normals{};
};

// Unit normals in millionths, in the order first met. At one control point, normals equal to six
// decimals (as A:M writes them) share one index; looking only there keeps the table's work local,
// and looking at no more than the last few there keeps it bounded.
class NormalTable {
  public:
    using Millionths = std::array<std::int32_t, 3>;

    // Starts on the normals of an object of pointCount control points.
    void BeginObject(std::size_t pointCount);
    // The index of a unit normal at control point `point` of the current object.
    std::int32_t IndexOf(const PatchVec3& normal, std::int32_t point);
    const std::vector<Millionths>& normals() const { return normals_; }

  private:
    std::vector<Millionths> normals_;
    std::vector<std::int32_t> earlierAtItsPoint_;  // per normal: the one before it there, or -1
    std::vector<std::int32_t> latestAt_;  // per point of the current object: its last, or -1
};

// One row per 3- or 4-sided patch of object, in patch order, with the object's CPs numbered
// firstId + node index, and its normals added to the table. Patches are turned as the surfaces are
// (neighbours agree, a closed piece faces outwards), so that in A:M's axes the corners run
// counter-clockwise about the outward side, and each corner's normal is the cross product of the
// handles along its two sides. The object's patches must be current.
std::vector<MdlPatchRow> MdlPatchRows(const PatchObject& object, std::int64_t firstId,
                                      NormalTable& normals);

}  // namespace korvane
