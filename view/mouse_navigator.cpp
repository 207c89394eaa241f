#include "view/mouse_navigator.h"

#include "view/camera_navigation.h"

namespace korvane {

void MouseNavigator::ButtonDown(MouseButton button, int x, int y) {
    switch (button) {
        case MouseButton::kLeft:
            if (rightDragging) {
                chordZoom = 1;
            }
            if (!rightDragging && !middleDragging) {
                leftDragging = 1;
                lastMouseX = x;
                lastMouseY = y;
            }
            break;
        case MouseButton::kMiddle:
            if (!rightDragging && !leftDragging) {
                middleDragging = 1;
                lastMouseX = x;
                lastMouseY = y;
            }
            break;
        case MouseButton::kRight:
            if (!leftDragging && !middleDragging) {
                rightDragging = 1;
                lastMouseX = x;
                lastMouseY = y;
            }
            break;
    }
}

void MouseNavigator::ButtonUp(MouseButton button) {
    switch (button) {
        case MouseButton::kLeft:
            chordZoom = 0;
            leftDragging = 0;
            break;
        case MouseButton::kMiddle:
            middleDragging = 0;
            break;
        case MouseButton::kRight:
            rightDragging = 0;
            break;
    }
}

NavigationMove MouseNavigator::Move(int x, int y, NavigationMode navigationMode) {
    NavigationMove move;
    move.dx = x - lastMouseX;
    move.dy = lastMouseY - y;
    if (chordZoom) {
        move.step = NavigationStep::kZoom;
    } else if (leftDragging) {
        switch (navigationMode) {
            case NavigationMode::kRotate:
                move.step = NavigationStep::kOrbit;
                break;
            case NavigationMode::kMove:
                move.step = NavigationStep::kPan;
                break;
            case NavigationMode::kZoom:
                move.step = NavigationStep::kZoom;
                break;
            default:
                break;
        }
    } else if (middleDragging) {
        move.step = NavigationStep::kPan;
    } else if (rightDragging) {
        move.step = NavigationStep::kOrbit;
    }
    lastMouseX = x;
    lastMouseY = y;
    return move;
}

void ApplyNavigation(Camera& camera, const NavigationMove& move, int width, int height) {
    switch (move.step) {
        case NavigationStep::kOrbit:
            OrbitCamera(camera, move.dx, move.dy);
            break;
        case NavigationStep::kPan:
            PanCamera(camera, move.dx, move.dy, width, height);
            break;
        case NavigationStep::kZoom:
            ZoomCamera(camera, move.dx, move.dy);
            break;
        case NavigationStep::kNone:
            break;
    }
}

}  // namespace korvane
