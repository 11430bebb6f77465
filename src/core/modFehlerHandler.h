#pragma once

// Module modFehlerHandler: the two error reporters every procedure's protocol calls, and the
// system-data section of the debug log.

#include "platform/vb/Variant.h"

#include <QString>

#include <cstdint>

// Logs the error, then asks Abort/Retry/Ignore (style 18, title "Almanoria"). Returns the button
// as a 16-bit integer: 3 Abort, 4 Retry, 5 Ignore. Never raises; a failed log write still shows
// the box.
vb::Variant HandleError(std::int32_t number, const QString &description,
                        const QString &procedureName);

// Logs the error only; returns 0. Never raises.
std::int16_t LogError(std::int32_t number, const QString &description,
                      const QString &procedureName);

// Writes the system and locale section at start-up (45 entries).
void WriteSystemData();
