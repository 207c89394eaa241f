#pragma once

#include "geometry/object_list.h"
#include "geometry/vec3.h"
#include "patch/patch_object.h"
#include "view/camera.h"

// Aiming the camera so that a whole model is in view: "frame all" of the desktop and the default
// camera of korvane-cli's render.

namespace korvane {

// An axis-aligned box in world coordinates; a default one is empty.
struct Bounds {
    bool empty = true;
    Vec3 minimum;  // meaningful only when not empty
    Vec3 maximum;

    // Grows the box to hold point; a point with a non-finite coordinate is left out.
    void Include(const Vec3& point);
    Vec3 Centre() const;
};

// The box of every control point of every object [O(points)]. Empty when there is none.
Bounds ControlPointBounds(const ObjectList<PatchObject>& objects);

// Puts the target at the centre of bounds and the eye at the distance where the whole box fits a
// view of width x height pixels, with a small margin, as the frame's perspective draws it. Only
// target and eye move: the viewing direction (heading and pitch), the field of view and the bank
// stay. A camera whose eye sits on its target looks in the start camera's direction. Any size is
// framed: the frame's depth range follows the model (DepthRangeFor). Empty bounds, or bounds too
// large for the camera's coordinates, leave the camera unchanged. A view without area is framed as
// a square one.
void FrameBounds(Camera& camera, const Bounds& bounds, int width, int height);

// Puts the eye where its viewing direction has the given heading and pitch (the angles of
// HeadingDegrees and PitchDegrees: heading from +Z towards +X, pitch positive looking down,
// clamped to -90 ... 90), keeping target and distance. An eye on its target stays there.
void SetViewingDirection(Camera& camera, float headingDegrees, float pitchDegrees);

}  // namespace korvane
