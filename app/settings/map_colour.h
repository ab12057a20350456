#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

namespace vembra {

// The colour a stored colour value stands for: top byte 0 is an RGB colour 0x00BBGGRR; top byte
// 0xFF names a system colour by its index in the low byte (17: disabled text), taken from the
// nearest role of the palette. Any other value reads as black.
QColor colourFromStored(std::int32_t value, const QPalette& palette);

// The stored form of an RGB colour: 0x00BBGGRR.
std::int32_t storedFromColour(const QColor& colour);

} // namespace vembra
