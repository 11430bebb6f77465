#include "StatementCache.h"

namespace jet::detail {

// A statement taken out leaves its entry in place, empty, so that giving it back costs no
// allocation: the entry only moves to the front.
StatementCache::Kept StatementCache::take(const std::string &key)
{
    const auto found = mIndex.find(key);
    if (found == mIndex.end())
        return {};
    Kept kept = std::move(found->second->kept);
    found->second->kept = Kept{};
    return kept;
}

void StatementCache::give(const std::string &key, Kept kept)
{
    if (!kept.stmt)
        return;
    sqlite3_reset(kept.stmt);
    sqlite3_clear_bindings(kept.stmt);
    const auto found = mIndex.find(key);
    if (found != mIndex.end()) {
        Kept &slot = found->second->kept;
        if (slot.stmt) {
            sqlite3_finalize(kept.stmt); // a nested use's own statement
            return;
        }
        slot = std::move(kept);
        mKept.splice(mKept.begin(), mKept, found->second);
        return;
    }
    mKept.push_front(Entry{key, std::move(kept)});
    mIndex.emplace(mKept.front().key, mKept.begin());
    if (mKept.size() > kCapacity) {
        mIndex.erase(mKept.back().key);
        sqlite3_finalize(mKept.back().kept.stmt);
        mKept.pop_back();
    }
}

std::size_t StatementCache::size() const
{
    std::size_t kept = 0;
    for (const Entry &entry : mKept)
        kept += entry.kept.stmt ? 1 : 0;
    return kept;
}

void StatementCache::clear()
{
    mIndex.clear();
    for (Entry &entry : mKept)
        sqlite3_finalize(entry.kept.stmt);
    mKept.clear();
}

} // namespace jet::detail
