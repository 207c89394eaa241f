#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace korvane {

// Joins vertices at exactly the same position. Formats split a vertex wherever its normal or
// texture coordinate changes, and a split vertex would cut the network apart along every seam;
// assimp's own join step compares every attribute, so it leaves those splits in place.
//
// `xyz` holds three floats per vertex. On return `welded` holds each distinct position once, in
// the order of its first appearance, and remap[i] is the welded index of vertex i. Coordinates
// are equal when their bits are, except that -0.0 and +0.0 are one coordinate (a NaN welds only
// with the same bits). Linear time: one probe of a hash table per vertex on average.
void WeldPositions(std::span<const float> xyz, std::vector<float>& welded,
                   std::vector<std::uint32_t>& remap);

}  // namespace korvane
