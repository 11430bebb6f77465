#pragma once

// Text keys compared without regard to case, as QString::compare(..., Qt::CaseInsensitive)
// compares them (each letter case-folded), with a hash that agrees with that comparison, for
// hashed look-ups of such keys (the collection's keys, a recordset's column names).

#include <QString>
#include <QStringView>

#include <cstddef>

namespace vb {

struct CaseInsensitiveHash
{
    using is_transparent = void;
    // Equal under the comparison gives equal hashes: every code unit outside the surrogates goes
    // in case-folded, a surrogate as a mark of its own (a supplementary letter's case then only
    // spreads less, it never splits equal keys).
    // Not noexcept on purpose: the standard library's hashed containers then keep each key's
    // hash and compare it before the keys themselves, so a lookup folds no other key's letters.
    std::size_t operator()(QStringView key) const;
    std::size_t operator()(const QString &key) const { return (*this)(QStringView(key)); }
};

struct CaseInsensitiveEqual
{
    using is_transparent = void;
    // Keys spelt alike, the common case, are equal without the letter-by-letter folding.
    bool operator()(QStringView a, QStringView b) const noexcept
    {
        return a.size() == b.size() && (a == b || a.compare(b, Qt::CaseInsensitive) == 0);
    }
};

} // namespace vb
