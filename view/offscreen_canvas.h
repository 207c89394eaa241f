#pragma once

#include <memory>
#include <string>

#include "view/png_file.h"

namespace korvane {

// A current OpenGL compatibility context without any window or display (Mesa's surfaceless EGL
// platform) drawing into a framebuffer of its own, for as long as the canvas lives: the frame of
// the view, drawn for the command line, the tests and the benchmarks.
class OffscreenCanvas {
  public:
    OffscreenCanvas();
    OffscreenCanvas(const OffscreenCanvas&) = delete;
    OffscreenCanvas& operator=(const OffscreenCanvas&) = delete;
    ~OffscreenCanvas();

    // Sides from 1 to 16384 pixels, and no larger than the renderer allows. On failure returns
    // false with a one-line reason and nothing is current.
    bool Open(int width, int height, std::string& error);

    // Waits for the drawing to finish and reads the frame; image rows run from top to bottom.
    void Read(RgbaImage& image) const;

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace korvane
