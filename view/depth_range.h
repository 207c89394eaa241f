#pragma once

#include "view/camera.h"
#include "view/camera_framing.h"
#include "view/camera_navigation.h"

namespace korvane {

// The distances in front of the eye between which the frame's perspective draws.
struct DepthRange {
    double nearPlane = kViewNearPlane;
    double farPlane = kViewFarPlane;
};

// The range that holds the model's box as seen from the camera. A model that lies between the
// default planes keeps them, so that the picture of every model of ordinary size stays as it was;
// any other is held by planes fitted to its nearest and farthest corner, so that a model in
// kilometres or in millimetres is drawn whole. Empty bounds, a box wholly behind the eye or an eye
// on its target keep the default.
DepthRange DepthRangeFor(const Camera& camera, const Bounds& model);

}  // namespace korvane
