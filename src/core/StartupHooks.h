#pragma once

// The start-up chain lives in the core but has to reach two layers above it: the date engine
// (recompute every entry's days until) and the main window (load it). The core and the main
// window reach the editor layer's windows the same way. The program's main() fills these in
// before it calls Main(); a hook left empty does nothing.

#include <functional>

namespace core {

struct StartupHooks
{
    std::function<void()> recomputeDaysTil; // cDateHandler.SetDaysTil
    std::function<void()> loadMainWindow;   // load frmDazez, which shows itself
    std::function<void()> showWebsiteFallback; // frmURL, modally
    std::function<void()> showAbout;           // frmAbout, modally, without owner
};

StartupHooks &startupHooks();

} // namespace core
