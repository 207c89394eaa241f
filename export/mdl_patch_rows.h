#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
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

// Unit normals as text, "x y z" with six significant digits as A:M writes them, in the order
// first met; normals that print alike share one index.
class NormalTable {
  public:
    std::int32_t IndexOf(const PatchVec3& normal);
    const std::vector<std::string>& lines() const { return lines_; }

  private:
    std::vector<std::string> lines_;
    std::unordered_map<std::string, std::int32_t> indices_;
};

// One row per 3- or 4-sided patch of object, in patch order, with the object's CPs numbered
// firstId + node index. Patches are turned as the surfaces are (neighbours agree, a closed piece
// faces outwards), so that in A:M's axes the corners run counter-clockwise about the outward
// side, and each corner's normal is the cross product of the handles along its two sides.
// The object's patches must be current.
std::vector<MdlPatchRow> MdlPatchRows(const PatchObject& object, std::int64_t firstId,
                                      NormalTable& normals);

}  // namespace korvane
