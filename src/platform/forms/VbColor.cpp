#include "VbColor.h"

namespace platform {

bool isSystemColor(std::int32_t vbColor)
{
    return (static_cast<std::uint32_t>(vbColor) & 0x80000000u) != 0;
}

QPalette::ColorRole systemColorRole(std::int32_t vbColor)
{
    switch (static_cast<std::uint32_t>(vbColor) & 0xFFu) {
    case 0x05:
        return QPalette::Base;
    case 0x08:
        return QPalette::Text;
    case 0x0D:
        return QPalette::Highlight;
    case 0x0E:
        return QPalette::HighlightedText;
    case 0x0F:
        return QPalette::Button;
    case 0x12:
        return QPalette::ButtonText;
    default:
        return QPalette::Base;
    }
}

QColor colorFromVb(std::int32_t vbColor, const QPalette &palette)
{
    if (isSystemColor(vbColor))
        return palette.color(QPalette::Active, systemColorRole(vbColor));
    const auto v = static_cast<std::uint32_t>(vbColor);
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

std::int32_t vbFromColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(rgb.red()) |
                                     (static_cast<std::uint32_t>(rgb.green()) << 8) |
                                     (static_cast<std::uint32_t>(rgb.blue()) << 16));
}

} // namespace platform
