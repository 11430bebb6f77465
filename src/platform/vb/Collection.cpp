#include "Collection.h"

#include "RuntimeError.h"

namespace vb {

void Collection::Add(const Variant &item, const QString &key)
{
    mItems.push_back(item);
    try {
        mItemKeys.push_back(key);
    } catch (...) {
        mItems.pop_back();
        throw;
    }
    if (key.isEmpty())
        return;
    bool added = false;
    try {
        added = mKeys.emplace(QStringView(mItemKeys.back()), mItems.size() - 1).second;
    } catch (...) {
        mItems.pop_back();
        mItemKeys.pop_back();
        throw;
    }
    if (!added) {
        mItems.pop_back();
        mItemKeys.pop_back();
        raise(err::DuplicateKey);
    }
}

void Collection::Remove(int position)
{
    at(position);
    const auto index = static_cast<std::size_t>(position - 1);
    if (!mItemKeys[index].isEmpty())
        mKeys.erase(QStringView(mItemKeys[index]));
    mItems.erase(mItems.begin() + static_cast<std::ptrdiff_t>(index));
    mItemKeys.erase(mItemKeys.begin() + static_cast<std::ptrdiff_t>(index));
    for (std::size_t i = index; i < mItemKeys.size(); ++i)
        if (!mItemKeys[i].isEmpty())
            mKeys.find(QStringView(mItemKeys[i]))->second = i;
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
    return mItems[found->second];
}

QString Collection::Key(int position) const
{
    at(position);
    return mItemKeys[static_cast<std::size_t>(position - 1)];
}

} // namespace vb
