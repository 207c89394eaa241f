#pragma once

#include <cstddef>
#include <cstdint>

namespace korvane {

// A coordinate axis, for lathes and mirrors.
enum class Axis { kX, kY, kZ };

inline constexpr Axis kAxes[] = {Axis::kX, Axis::kY, Axis::kZ};

// The axis a Metasequoia file names by number: 0 is X, 1 is Y, and any other number Z.
constexpr Axis AxisNumbered(std::int32_t number) {
    return number == 0 ? Axis::kX : number == 1 ? Axis::kY : Axis::kZ;
}

constexpr std::size_t IndexOf(Axis axis) {
    return static_cast<std::size_t>(axis);
}

}  // namespace korvane
