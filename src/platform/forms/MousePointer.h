#pragma once

// The runtime's Screen.MousePointer: one pointer for every window of the program while it is not
// the default. 0 is the default (each widget's own pointer), 11 the hourglass; any other value
// raises 380 (Invalid property value). Setting the value it already has changes nothing, so a
// pointer is never stacked twice and one setting to 0 always brings the default back.

namespace platform {

constexpr int vbDefault = 0;
constexpr int vbHourglass = 11;

void setScreenMousePointer(int pointer);
int screenMousePointer();

} // namespace platform
