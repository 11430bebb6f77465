#include "StartupHooks.h"

namespace core {

StartupHooks &startupHooks()
{
    static StartupHooks hooks;
    return hooks;
}

} // namespace core
