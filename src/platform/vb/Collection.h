#pragma once

#include "CaseInsensitive.h"
#include "Variant.h"

#include <QString>

#include <unordered_map>
#include <vector>

namespace vb {

// The runtime's keyed collection: 1-based positions, Add appends with an optional text key
// (unique, compared without regard to case), Remove by position closes the gap and keeps the
// order of the rest. Item(i) out of range raises 9 "Subscript out of range" (so do Remove and
// Key); a duplicate key raises 457; Item(key) of a key not in the collection raises 5 "Invalid
// procedure call or argument". An empty key means "no key" and never clashes.
// Adding and finding a key take constant time, whatever the count: the keys are hashed.
class Collection
{
public:
    Collection() = default;
    Collection(Collection &&) noexcept = default;
    Collection &operator=(Collection &&) noexcept = default;

    int Count() const { return static_cast<int>(mItems.size()); }
    void Add(const Variant &item, const QString &key = QString());
    void Remove(int position); // also renumbers the keys of the items behind it
    // Inline: the notice timer reads two lists by position for every coming event at each tick.
    const Variant &Item(int position) const { return at(position); }
    const Variant &Item(const QString &key) const;
    const Variant &operator()(int position) const { return Item(position); }
    QString Key(int position) const; // the key an item was added with ("" when none)

private:
    const Variant &at(int position) const
    {
        if (position < 1 || position > Count())
            outOfRange();
        return mItems[static_cast<std::size_t>(position - 1)];
    }
    [[noreturn]] static void outOfRange();

    // In order of position, side by side, the items apart from their keys, so that reading the
    // items one after the other touches nothing else.
    std::vector<Variant> mItems;
    std::vector<QString> mItemKeys; // beside mItems, "" for an item without a key
    // Each key's position, 0-based. The views look at mItemKeys' own copies: the text of a
    // QString stays where it is when the QString itself moves.
    std::unordered_map<QStringView, std::size_t, CaseInsensitiveHash, CaseInsensitiveEqual>
        mKeys;
};

} // namespace vb
