#pragma once

#include <QPalette>
#include <QSize>

#include <cstdint>

class QPainter;

namespace korvane {

// Paints a spin button of the given size at the painter's origin: the button face, each half
// outlined raised or, when it is the pressed half (1 upper, 2 lower), sunken, and an arrow in
// each half, shifted by a pixel in the pressed half; filled black when enabled, embossed in the
// light and dark colours of the palette when not.
void DrawSpinButton(QPainter& painter, QSize size, std::int32_t pressedHalf, bool enabled,
                    const QPalette& palette);

}  // namespace korvane
