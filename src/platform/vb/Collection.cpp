#include "Collection.h"

#include "RuntimeError.h"

namespace vb {

void Collection::Add(const Variant &item, const QString &key)
{
    mItems.push_back(Entry{item, key});
    if (key.isEmpty())
        return;
    bool added = false;
    try {
        added = mKeys.emplace(QStringView(mItems.back().key), mItems.size() - 1).second;
    } catch (...) {
        mItems.pop_back();
        throw;
    }
    if (!added) {
        mItems.pop_back();
        raise(err::DuplicateKey);
    }
}

void Collection::Remove(int position)
{
    const Entry &entry = at(position);
    if (!entry.key.isEmpty())
        mKeys.erase(QStringView(entry.key));
    const auto index = static_cast<std::size_t>(position - 1);
    mItems.erase(mItems.begin() + static_cast<std::ptrdiff_t>(index));
    for (std::size_t i = index; i < mItems.size(); ++i)
        if (!mItems[i].key.isEmpty())
            mKeys.find(QStringView(mItems[i].key))->second = i;
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
    return mItems[found->second].item;
}

QString Collection::Key(int position) const
{
    return at(position).key;
}

} // namespace vb
