#pragma once

#include <cstdint>
#include <functional>

namespace korvane {

// Receives how far a long step over one object is, in the step's own unit, from 0.
using ProgressReceiver = std::function<void(std::int32_t done)>;
// Asked now and then during a long step; true stops it there.
using CancelCheck = std::function<bool()>;

}  // namespace korvane
