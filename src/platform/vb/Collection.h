#pragma once

#include "Variant.h"

#include <QString>
#include <vector>

namespace vb {

// The runtime's keyed collection: 1-based positions, Add appends with an optional text key
// (unique, compared without regard to case), Remove by position closes the gap. Item(i) out of
// range raises 9 "Subscript out of range" (so do Remove and Key); a duplicate key raises 457.
// An empty key means "no key" and never clashes.
class Collection
{
public:
    int Count() const { return static_cast<int>(mItems.size()); }
    void Add(const Variant &item, const QString &key = QString());
    void Remove(int position);
    const Variant &Item(int position) const;
    const Variant &operator()(int position) const { return Item(position); }
    QString Key(int position) const; // the key an item was added with ("" when none)

private:
    struct Entry
    {
        Variant item;
        QString key;
    };
    std::vector<Entry> mItems;
};

} // namespace vb
