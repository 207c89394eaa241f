#include "patch/smooth_tessellation.h"

#include <array>
#include <cstddef>

#include "patch/curve_fields.h"
#include "patch/smooth_patches.h"

namespace korvane {

SurfaceTessellation TessellateSmoothSurfaces(const PatchObject& object,
                                             std::int32_t surfaceResolution) {
    SurfaceTessellation result;
    if (!object.PatchesValid()) {
        return result;
    }
    const CurveFields fields = ComputeCurveFields(object);
    std::size_t samples = 0;
    std::size_t cells = 0;
    for (const Patch& patch : object.Patches()) {
        const int pieces = patch.cornerCount == 4 ? 1 : patch.cornerCount == 3 ? 3 : 0;
        const auto steps = static_cast<std::size_t>(SurfaceNetSteps(pieces, surfaceResolution));
        samples += static_cast<std::size_t>(pieces) * (steps + 1) * (steps + 1);
        cells += static_cast<std::size_t>(pieces) * steps * steps;
    }
    result.samples.reserve(samples);
    result.triangles.reserve(6 * cells);
    std::array<std::vector<SurfaceSample>, 3> grids;
    for (const Patch& patch : object.Patches()) {
        const int count = SampleSmoothPatch(object, fields, patch, surfaceResolution, grids);
        const int steps = SurfaceNetSteps(count, surfaceResolution);
        const auto row = static_cast<std::uint32_t>(steps + 1);
        for (int k = 0; k < count; ++k) {
            const std::vector<SurfaceSample>& grid = grids[static_cast<std::size_t>(k)];
            const auto first = static_cast<std::uint32_t>(result.samples.size());
            result.samples.insert(result.samples.end(), grid.begin(), grid.end());
            for (std::uint32_t v = 0; v + 1 < row; ++v) {
                for (std::uint32_t u = 0; u + 1 < row; ++u) {
                    const std::uint32_t a0 = first + u + row * v;
                    const std::uint32_t a1 = a0 + 1;
                    const std::uint32_t b0 = a0 + row;
                    const std::uint32_t b1 = b0 + 1;
                    result.triangles.insert(result.triangles.end(), {a0, a1, b0, a1, b1, b0});
                }
            }
        }
    }
    return result;
}

}  // namespace korvane
