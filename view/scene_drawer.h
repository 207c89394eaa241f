#pragma once

#include <cstddef>
#include <cstdint>

#include "geometry/object_list.h"
#include "patch/patch_object.h"
#include "view/camera.h"
#include "view/depth_range.h"
#include "view/display_settings.h"
#include "view/draw_cache.h"

namespace korvane {

// Everything one frame needs; the view and the offscreen renderer fill it from the same values.
struct SceneFrame {
    const ObjectList<PatchObject>* objects = nullptr;  // drawn head to tail; may be null
    DisplaySettings display;
    Camera camera;
    std::uint32_t backgroundColour = 0x646464;  // 0x00BBGGRR
    int width = 0;                              // viewport in pixels
    int height = 0;
    // The camera is being dragged: an object whose surfaces are too big to keep up with it
    // (kMovingSurfaceSamples) shows their stand-in alone, without its points and curves.
    bool moving = false;
    // A still frame with more to draw than this, counting control points, curve vertices and
    // held surface triangles, is drawn in parts, one a call, so that no call takes long: each
    // part draws the next partSize of them, in the order of a frame drawn at once, points and
    // curves in chunks of about partSize. The parts drawn in turn into the same buffers make the
    // frame drawn at once; surfaces not held yet are left to StoreSurfaces meanwhile (listed by
    // TakeMissing). 0: always at once, points and curves in one chunk each.
    std::size_t partSize = 0;
    std::size_t part = 0;
};

// Told when the model's drawing begins and ends within a frame, by whoever wants to know what of
// the model alone reached the image.
class ModelDrawObserver {
  public:
    virtual ~ModelDrawObserver() = default;
    virtual void BeforeModel() = 0;
    virtual void AfterModel() = 0;
};

// One whole frame into the current context: background, camera with the depth range that holds
// the model, lights, axis cross, then the points and curves of every object (the selected one's
// highlighted), then the surfaces of every object. The objects' geometry comes from cache, which
// drops the entries of objects that are gone.
// Returns whether the frame is complete: false when parts of it are still to be drawn.
bool DrawFrame(const SceneFrame& frame, DrawCache& cache, ModelDrawObserver* observer = nullptr);

// Projection and model view. The world's Z is mirrored so that, seen from the default camera, +X
// runs right, +Y up and +Z into the screen. A view without area keeps the old projection.
void SetupCamera(const Camera& camera, int width, int height, const DepthRange& depth = {});

// Two white point lights that move with the scene, two-sided lighting; leaves lighting off.
void SetupLights();

// Red X, green Y and blue Z axes, 5 units long, 2 pixels wide.
void DrawAxisCross();

}  // namespace korvane
