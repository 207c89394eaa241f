#include <gtest/gtest.h>

#include "view/mouse_navigator.h"

namespace korvane {
namespace {

TEST(MouseNavigatorTest, EachButtonHasItsStep) {
    MouseNavigator navigator;
    navigator.ButtonDown(MouseButton::kRight, 10, 10);
    NavigationMove move = navigator.Move(13, 5, NavigationMode::kMove);
    EXPECT_EQ(move.step, NavigationStep::kOrbit);
    EXPECT_EQ(move.dx, 3);
    EXPECT_EQ(move.dy, 5) << "moving up is positive";
    navigator.ButtonUp(MouseButton::kRight);

    navigator.ButtonDown(MouseButton::kMiddle, 0, 0);
    EXPECT_EQ(navigator.Move(1, 1, NavigationMode::kZoom).step, NavigationStep::kPan);
    navigator.ButtonUp(MouseButton::kMiddle);
    EXPECT_FALSE(navigator.Dragging());
    EXPECT_EQ(navigator.Move(2, 2, NavigationMode::kRotate).step, NavigationStep::kNone);
}

TEST(MouseNavigatorTest, LeftDragFollowsTheNavigationMode) {
    MouseNavigator navigator;
    navigator.ButtonDown(MouseButton::kLeft, 0, 0);
    EXPECT_EQ(navigator.Move(1, 0, NavigationMode::kRotate).step, NavigationStep::kOrbit);
    EXPECT_EQ(navigator.Move(2, 0, NavigationMode::kMove).step, NavigationStep::kPan);
    EXPECT_EQ(navigator.Move(3, 0, NavigationMode::kZoom).step, NavigationStep::kZoom);
}

TEST(MouseNavigatorTest, LeftDuringRightDragZoomsUntilReleased) {
    MouseNavigator navigator;
    navigator.ButtonDown(MouseButton::kRight, 50, 50);
    navigator.Move(60, 50, NavigationMode::kMove);
    navigator.ButtonDown(MouseButton::kLeft, 99, 99);
    const NavigationMove zoom = navigator.Move(60, 40, NavigationMode::kMove);
    EXPECT_EQ(zoom.step, NavigationStep::kZoom);
    EXPECT_EQ(zoom.dx, 0) << "the left press does not move the reference point";
    EXPECT_EQ(zoom.dy, 10);
    EXPECT_FALSE(navigator.leftDragging);

    navigator.ButtonUp(MouseButton::kLeft);
    EXPECT_EQ(navigator.Move(61, 40, NavigationMode::kMove).step, NavigationStep::kOrbit);
}

TEST(MouseNavigatorTest, SecondButtonDuringADragIsIgnored) {
    MouseNavigator navigator;
    navigator.ButtonDown(MouseButton::kLeft, 0, 0);
    navigator.ButtonDown(MouseButton::kMiddle, 5, 5);
    EXPECT_FALSE(navigator.middleDragging);
    navigator.ButtonUp(MouseButton::kMiddle);
    const NavigationMove move = navigator.Move(2, 0, NavigationMode::kRotate);
    EXPECT_EQ(move.step, NavigationStep::kOrbit) << "the middle release ends nothing";
    EXPECT_EQ(move.dx, 2);

    navigator.ButtonDown(MouseButton::kRight, 7, 7);
    EXPECT_FALSE(navigator.rightDragging);
    EXPECT_FALSE(navigator.chordZoom);
}

TEST(MouseNavigatorTest, AppliedStepsMoveTheCamera) {
    Camera camera;
    ApplyNavigation(camera, NavigationMove{NavigationStep::kZoom, 0, -300}, 640, 480);
    EXPECT_NEAR(camera.eye.z, 20.0f, 1e-3f);
    Camera still;
    ApplyNavigation(still, NavigationMove{NavigationStep::kNone, 40, 40}, 640, 480);
    EXPECT_EQ(still.eye.y, 10.0f);
    ApplyNavigation(still, NavigationMove{NavigationStep::kPan, 40, 40}, 640, 0);
    EXPECT_EQ(still.eye.y, 10.0f);
}

}  // namespace
}  // namespace korvane
