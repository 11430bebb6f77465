#pragma once

// The runtime's colour numbers. A plain colour is 0x00BBGGRR (red in the low byte). A number with
// the high bit set, 0x800000nn, names system colour nn and follows the widget palette; as a
// signed 32-bit value &H80000005 reads -2147483643. Controls store the number they were given
// and read it back unchanged; only the painting goes through QColor.

#include <QColor>
#include <QPalette>

#include <cstdint>

namespace platform {

namespace vbcolor {
constexpr std::int32_t system(std::uint32_t index)
{
    return static_cast<std::int32_t>(0x80000000u | index);
}
constexpr std::int32_t WindowBackground = system(0x05); // -2147483643
constexpr std::int32_t WindowText = system(0x08);
constexpr std::int32_t Highlight = system(0x0D);
constexpr std::int32_t HighlightText = system(0x0E);
constexpr std::int32_t ButtonFace = system(0x0F);
constexpr std::int32_t ButtonText = system(0x12);
} // namespace vbcolor

bool isSystemColor(std::int32_t vbColor);

// The palette role a system colour follows; unknown system colours follow the base colour.
QPalette::ColorRole systemColorRole(std::int32_t vbColor);

// The colour a number stands for: plain colours directly, system colours from `palette`.
QColor colorFromVb(std::int32_t vbColor, const QPalette &palette = QPalette());

// The plain colour number of a colour (alpha dropped).
std::int32_t vbFromColor(const QColor &color);

} // namespace platform
