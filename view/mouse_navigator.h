#pragma once

#include <cstdint>

#include "view/camera.h"

namespace korvane {

enum class MouseButton { kLeft, kMiddle, kRight };

// What a plain left drag does; the application's navigationMode holds one of these values.
enum class NavigationMode { kRotate, kMove, kZoom };

enum class NavigationStep { kNone, kOrbit, kPan, kZoom };

struct NavigationMove {
    NavigationStep step = NavigationStep::kNone;
    int dx = 0;  // pixels to the right since the previous event
    int dy = 0;  // pixels upwards since the previous event
};

// The drag states of the view. From idle one of the left, middle and right drags starts; a
// second button during a drag is ignored, except the left button during a right drag, which zooms
// until it is released. Coordinates are client pixels with y growing downwards.
class MouseNavigator {
  public:
    void ButtonDown(MouseButton button, int x, int y);
    void ButtonUp(MouseButton button);
    // The step that a move to (x, y) performs; the position becomes the new reference.
    NavigationMove Move(int x, int y, NavigationMode navigationMode);

    bool Dragging() const { return leftDragging || middleDragging || rightDragging; }

    std::int32_t chordZoom = 0;
    std::int32_t leftDragging = 0;
    std::int32_t rightDragging = 0;
    std::int32_t middleDragging = 0;
    int lastMouseX = 0;
    int lastMouseY = 0;
};

// Applies one move to the camera; width and height are the view's client size.
void ApplyNavigation(Camera& camera, const NavigationMove& move, int width, int height);

}  // namespace korvane
