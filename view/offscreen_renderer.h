#pragma once

#include <cstdint>
#include <string>

#include "geometry/object_list.h"
#include "patch/patch_object.h"
#include "view/camera.h"
#include "view/display_settings.h"
#include "view/png_file.h"

// The view's frame drawn without any window or display: Mesa's surfaceless EGL platform, a
// compatibility context and a framebuffer object of our own.

namespace korvane {

struct OffscreenRenderOptions {
    int width = 640;
    int height = 480;
    DisplaySettings display;
    Camera camera;
    std::uint32_t backgroundColour = 0x646464;  // 0x00BBGGRR, the document's default
};

// Draws the frame and reads it back; image rows run from top to bottom. On failure returns false
// with a one-line reason. modelSamples, when given, receives how many samples of the model (not
// of the background or the axis cross) reached the image: 0 when nothing of it is in view.
bool RenderOffscreen(const ObjectList<PatchObject>& objects, const OffscreenRenderOptions& options,
                     RgbaImage& image, std::string& error, std::uint64_t* modelSamples = nullptr);

bool RenderOffscreenPng(const ObjectList<PatchObject>& objects,
                        const OffscreenRenderOptions& options, const std::string& pngPath,
                        std::string& error);

}  // namespace korvane
