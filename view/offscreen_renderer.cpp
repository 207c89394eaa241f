#include "view/offscreen_renderer.h"

#include "view/offscreen_canvas.h"
#include "view/sample_counter.h"
#include "view/scene_drawer.h"

namespace korvane {

bool RenderOffscreen(const ObjectList<PatchObject>& objects, const OffscreenRenderOptions& options,
                     RgbaImage& image, std::string& error, std::uint64_t* modelSamples) {
    OffscreenCanvas canvas;
    if (!canvas.Open(options.width, options.height, error)) {
        return false;
    }
    SceneFrame frame;
    frame.objects = &objects;
    frame.display = options.display;
    frame.camera = options.camera;
    frame.backgroundColour = options.backgroundColour;
    frame.width = options.width;
    frame.height = options.height;
    // One frame: surfaces need not be kept, and streaming them keeps the memory small.
    DrawCache cache;
    cache.SetSurfaceSource(SurfaceSource::kStreamOnce);
    SampleCounter counter;
    DrawFrame(frame, cache, &counter);
    if (modelSamples != nullptr) {
        if (!counter.Usable()) {
            error = "this OpenGL cannot count what it draws";
            return false;
        }
        *modelSamples = counter.Samples();
    }
    canvas.Read(image);
    cache.Clear();
    return true;
}

bool RenderOffscreenPng(const ObjectList<PatchObject>& objects,
                        const OffscreenRenderOptions& options, const std::string& pngPath,
                        std::string& error) {
    RgbaImage image;
    return RenderOffscreen(objects, options, image, error) && WritePng(image, pngPath, error);
}

}  // namespace korvane
