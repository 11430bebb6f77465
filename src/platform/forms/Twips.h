#pragma once

// Twips <-> pixels through the screen's twips per pixel (ScreenService). Every position and size
// the program's windows and controls use is in twips; Qt gets whole pixels, rounded to nearest.
// Without an installed screen service the conversion assumes 15 twips per pixel (96 dpi).

namespace platform {

double twipsPerPixelX();
double twipsPerPixelY();

int twipsToPixelsX(double twips);
int twipsToPixelsY(double twips);
double pixelsToTwipsX(int pixels);
double pixelsToTwipsY(int pixels);

} // namespace platform
