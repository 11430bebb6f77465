#pragma once

// Module modDataSQL: the debug-log writer and the one-column lookups through the shared
// recordset.

#include "platform/vb/Date.h"
#include "platform/vb/Variant.h"

#include <QString>

#include <cstdint>

// Appends one entry to "DebugLog.TXT" in the program's folder. The run's first call deletes the
// previous run's file and writes the header line after the entry's first line. Lines end in
// CR LF, in the locale's encoding. Every failure is ignored step by step; it never raises.
// Layout: text; [header]; "Number: n" when n > 0; "Description: d" when d is not empty; the time
// stamp when it is not zero; " extra" when given and not empty; an empty line.
void WriteDebugLog(std::int32_t number, const QString &text, const QString &description,
                   vb::Date timeStamp, const vb::Variant &extra = vb::Variant());

// The `argIdColumn` value of the first row whose `argWhereColumn` equals `argWhereValue` (text
// comparison of the database: case ignored); -1 when no row matches. Apostrophes inside the
// value are doubled, so a value such as O'Brien finds its row.
std::int32_t ReturnId(const QString &argTable, const QString &argWhereColumn,
                      const QString &argWhereValue, const QString &argIdColumn);

// The `argReturnColumn` value, as text, of the first row whose `argWhereColumn` = argId; "" when
// no row matches.
QString ReturnString(const QString &argTable, const QString &argReturnColumn,
                     const QString &argWhereColumn, std::int32_t argId);

namespace core {
// The debug log's per-run flag back to "nothing written yet" (tests; a new run).
void resetDebugLogRunFlag();
} // namespace core
