#include "Services.h"

namespace platform {

namespace {
Services gServices;
}

Services &services()
{
    return gServices;
}

void installServices(const Services &s)
{
    gServices = s;
}

} // namespace platform
