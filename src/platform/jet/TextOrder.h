#pragma once

// How the program's text columns compare: every letter without regard to case, accents kept
// apart, and in the order of the user's language. The columns declare the collation NOCASE; each
// open file gets this order under that name, in place of the library's own, which folds the case
// of A-Z only and sorts by character code. The file itself is unchanged, so the library's shell
// still reads it with its own NOCASE (no index covers a text column, so none can disagree).

#include <QCollator>
#include <QLocale>

#include <sqlite3.h>

#include <array>
#include <cstdint>

namespace jet::detail {

class TextOrder
{
public:
    // The order of `locale`, made on first use and kept for the life of the process. The C locale
    // names no language; it gets the neutral Unicode order (that of English, which has no
    // tailoring), so that accented letters sort beside their base letters rather than after "z".
    static const TextOrder &forLocale(const QLocale &locale);

    // Below, at or above 0 as the UTF-8 text `a` sorts before, equal to or after `b`.
    int compare(const char *a, int aLength, const char *b, int bLength) const;

    // Makes this the NOCASE collation of the open file `db`; the library's result code.
    int install(sqlite3 *db) const;

    TextOrder(const TextOrder &) = delete;
    TextOrder &operator=(const TextOrder &) = delete;

private:
    explicit TextOrder(const QLocale &locale);
    void rankAsciiCharacters();
    int compareByRank(const char *a, int aLength, const char *b, int bLength) const;
    int compareWithCollator(const char *a, int aLength, const char *b, int bLength) const;

    QCollator mCollator;
    // The place of each ASCII character in the collator's order (a letter's two cases share one);
    // -1 for one that has no place of its own. Used only while mAsciiByRank holds: the collator
    // orders ASCII text character by character, as these places say (checked when made).
    std::array<std::int16_t, 128> mRank{};
    bool mAsciiByRank = false;
};

} // namespace jet::detail
