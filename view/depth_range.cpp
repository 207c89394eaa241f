#include "view/depth_range.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvane {
namespace {

// Room beyond the box for curves that bulge past their control points, as a share of the box's
// half diagonal.
constexpr double kBulge = 0.05;
// The deepest far-to-near ratio kept: a 24-bit depth buffer still tells the model's parts apart.
constexpr double kLargestDepthRatio = 1.0e5;

}  // namespace

DepthRange DepthRangeFor(const Camera& camera, const Bounds& model) {
    const DepthRange standard;
    if (model.empty) {
        return standard;
    }
    double fx = static_cast<double>(camera.target.x) - camera.eye.x;
    double fy = static_cast<double>(camera.target.y) - camera.eye.y;
    double fz = static_cast<double>(camera.target.z) - camera.eye.z;
    const double length = std::sqrt(fx * fx + fy * fy + fz * fz);
    if (!(length > 0.0) || !std::isfinite(length)) {
        return standard;
    }
    fx /= length;
    fy /= length;
    fz /= length;

    double nearest = std::numeric_limits<double>::infinity();
    double farthest = -std::numeric_limits<double>::infinity();
    for (int corner = 0; corner < 8; ++corner) {
        const double x = ((corner & 1) != 0 ? model.maximum.x : model.minimum.x) - camera.eye.x;
        const double y = ((corner & 2) != 0 ? model.maximum.y : model.minimum.y) - camera.eye.y;
        const double z = ((corner & 4) != 0 ? model.maximum.z : model.minimum.z) - camera.eye.z;
        const double depth = x * fx + y * fy + z * fz;
        nearest = std::min(nearest, depth);
        farthest = std::max(farthest, depth);
    }
    if (nearest >= standard.nearPlane && farthest <= standard.farPlane) {
        return standard;
    }
    const double dx = static_cast<double>(model.maximum.x) - model.minimum.x;
    const double dy = static_cast<double>(model.maximum.y) - model.minimum.y;
    const double dz = static_cast<double>(model.maximum.z) - model.minimum.z;
    const double bulge = kBulge * 0.5 * std::sqrt(dx * dx + dy * dy + dz * dz);
    farthest += bulge;
    nearest -= bulge;
    if (!(farthest > 0.0) || !std::isfinite(farthest)) {
        return standard;
    }
    DepthRange fitted;
    fitted.farPlane = farthest;
    fitted.nearPlane = std::max(nearest, farthest / kLargestDepthRatio);
    return fitted;
}

}  // namespace korvane
