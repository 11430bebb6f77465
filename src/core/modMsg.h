#pragma once

// Module modMsg: the program's questions and warnings. Each shows one box titled "Almanoria" and
// hands the answer back; only msgNoDbConnection acts on it itself (No ends the program).

#include "platform/vb/Variant.h"

#include <QString>

#include <cstdint>

std::int16_t msgExitingApp();        // 6 or 7; 0 when the box failed (its caller treats it as Yes)
std::int16_t msgNoDbConnection();    // 6; on No shows "Almanoria is ending" and ends the program
bool msgDelete(const QString &argName);
std::int16_t msgSaveChangedRecord(); // 6 save, 7 discard, 2 stay
bool msgAddNewEvent(const QString &argEventName);
vb::Variant msgEnterEventName();     // Empty
