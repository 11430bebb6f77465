#pragma once

// How a text box counts its characters against MaxLength: as the user counts them, one for each
// Unicode character (code point), so that an emoji, which Qt holds in two UTF-16 units, is one
// character, and a limit never keeps half of one. In a multi-line box's Qt text a line break
// ("\n") is the CR LF of its Text and counts two: pass lineBreak = 2 there.

#include <QStringView>

namespace platform::textlimit {

// The characters of `text`.
int length(QStringView text, int lineBreak = 1);

// The UTF-16 length of the longest head of `text` that holds at most `room` characters.
qsizetype fittingHead(QStringView text, int room, int lineBreak = 1);

// The UTF-16 length of the last `count` characters of the first `end` units of `text` (of all of
// them when they hold fewer).
qsizetype lastCharacters(QStringView text, qsizetype end, int count);

} // namespace platform::textlimit
