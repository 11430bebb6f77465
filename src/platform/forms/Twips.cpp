#include "Twips.h"

#include "platform/services/Services.h"

#include <cmath>

namespace platform {

namespace {
constexpr double kDefaultTwipsPerPixel = 15.0;

double valid(double tpp)
{
    return tpp > 0 ? tpp : kDefaultTwipsPerPixel;
}
} // namespace

double twipsPerPixelX()
{
    const ScreenService *screen = services().screen;
    return valid(screen ? screen->twipsPerPixelX() : kDefaultTwipsPerPixel);
}

double twipsPerPixelY()
{
    const ScreenService *screen = services().screen;
    return valid(screen ? screen->twipsPerPixelY() : kDefaultTwipsPerPixel);
}

int twipsToPixelsX(double twips)
{
    return static_cast<int>(std::lround(twips / twipsPerPixelX()));
}

int twipsToPixelsY(double twips)
{
    return static_cast<int>(std::lround(twips / twipsPerPixelY()));
}

double pixelsToTwipsX(int pixels)
{
    return pixels * twipsPerPixelX();
}

double pixelsToTwipsY(int pixels)
{
    return pixels * twipsPerPixelY();
}

} // namespace platform
