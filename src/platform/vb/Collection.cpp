#include "Collection.h"

#include "RuntimeError.h"

namespace vb {

void Collection::Add(const Variant &item, const QString &key)
{
    auto entry = std::make_unique<Entry>(Entry{item, key});
    if (!key.isEmpty() && !mKeys.emplace(QStringView(entry->key), entry.get()).second)
        raise(err::DuplicateKey);
    try {
        mItems.push_back(std::move(entry));
    } catch (...) {
        if (!key.isEmpty())
            mKeys.erase(QStringView(key));
        throw;
    }
}

void Collection::Remove(int position)
{
    const Entry &entry = at(position);
    if (!entry.key.isEmpty())
        mKeys.erase(QStringView(entry.key));
    mItems.erase(mItems.begin() + (position - 1));
}

void Collection::outOfRange()
{
    raise(err::SubscriptOutOfRange);
}

const Variant &Collection::Item(const QString &key) const
{
    const auto found = key.isEmpty() ? mKeys.end() : mKeys.find(QStringView(key));
    if (found == mKeys.end())
        raise(err::InvalidProcedureCall);
    return found->second->item;
}

QString Collection::Key(int position) const
{
    return at(position).key;
}

} // namespace vb
