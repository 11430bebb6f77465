#pragma once

#include "platform/vb/Variant.h"

#include <cstdint>

// The event-type name of argEventId, or Empty when there is none. Reads through a snapshot of
// its own, so the shared recordset and its position are left as they are.
vb::Variant GetEventName(std::int32_t argEventId);
