#pragma once

#include "geometry/vec3.h"
#include "view/camera.h"

// The camera arithmetic of the view's mouse navigation. dx and dy are pixel offsets since the
// previous mouse event, dy positive when the mouse moved up; width and height are the view's
// client size in pixels.

namespace korvane {

// The depth range of the frame's perspective, in world units in front of the eye.
inline constexpr double kViewNearPlane = 1.5;
inline constexpr double kViewFarPlane = 10000.0;

// One notch of a mouse wheel, in the window system's angle units (eighths of a degree).
inline constexpr int kWheelNotch = 120;
// What one notch towards the target leaves of the eye's distance from it.
inline constexpr float kWheelZoomPerNotch = 0.85f;

// The image's up direction: (0, 1, 0) turned by bank, then the pitch and heading of the viewing
// direction target - eye.
Vec3 UpVector(const Camera& camera);

// The world offset in the image plane, at distance from the eye, that a pixel offset (px, py)
// covers. Zero when the view has no area or the distance is 0.
Vec3 PixelsToWorld(const Camera& camera, float px, float py, float distance, int width, int height);

// Turns the eye about the target by 0.5 degree per pixel; the pitch stays within -90 ... 90.
void OrbitCamera(Camera& camera, int dx, int dy);

// Moves eye and target together so that the model follows the mouse.
void PanCamera(Camera& camera, int dx, int dy, int width, int height);

// Scales the eye's distance from the target by dx x 0.001 + 1 + dy x 0.005; a negative factor
// puts the eye on the far side of the target.
void ZoomCamera(Camera& camera, int dx, int dy);

// Moves the eye along its line to the target, nearer for angleDelta > 0: each notch scales the
// distance by perNotch (0 < perNotch < 1), each notch back by 1 / perNotch, so steps in and out by
// the same angle undo each other; parts of a notch scale by the same power. Any size of model can
// be reached: going in the eye stops only a few float steps short of the target, so that it never
// reaches or crosses it, and going out at 1e30 (or stays where it already is beyond). A perNotch
// outside (0, 1), or an eye on its target, changes nothing.
void WheelZoomCamera(Camera& camera, int angleDelta, float perNotch = kWheelZoomPerNotch);

}  // namespace korvane
