#include "Collection.h"

#include "RuntimeError.h"

namespace vb {

void Collection::Add(const Variant &item, const QString &key)
{
    if (!key.isEmpty()) {
        for (const Entry &e : mItems) {
            if (e.key.compare(key, Qt::CaseInsensitive) == 0)
                raise(err::DuplicateKey);
        }
    }
    mItems.push_back(Entry{item, key});
}

void Collection::Remove(int position)
{
    if (position < 1 || position > Count())
        raise(err::SubscriptOutOfRange);
    mItems.erase(mItems.begin() + (position - 1));
}

const Variant &Collection::Item(int position) const
{
    if (position < 1 || position > Count())
        raise(err::SubscriptOutOfRange);
    return mItems[static_cast<std::size_t>(position - 1)].item;
}

QString Collection::Key(int position) const
{
    if (position < 1 || position > Count())
        raise(err::SubscriptOutOfRange);
    return mItems[static_cast<std::size_t>(position - 1)].key;
}

} // namespace vb
