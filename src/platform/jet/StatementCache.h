#pragma once

// Prepared statements of one open file, kept for reuse and found by their text, so that a
// statement opened again and again (an event type's name for every row of the entry list) is
// prepared once. At most kCapacity are kept; the one unused for the longest goes first.

#include <sqlite3.h>

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace jet::detail {

struct RecordsetShape;

class StatementCache
{
public:
    static constexpr std::size_t kCapacity = 32;

    // A statement with what the recordset layer learned of it (null for other statements).
    struct Kept
    {
        sqlite3_stmt *stmt = nullptr;
        std::shared_ptr<const RecordsetShape> shape;
    };

    StatementCache() = default;
    StatementCache(const StatementCache &) = delete;
    StatementCache &operator=(const StatementCache &) = delete;
    ~StatementCache() { clear(); }

    // Takes the statement kept under `key` out of the cache (an empty Kept when there is none):
    // while it is out, a nested use of the same text prepares a statement of its own.
    Kept take(const std::string &key);
    // Keeps a statement after its use, reset and with its bindings cleared, as the most recent;
    // finalizes it instead when one is kept under the key already.
    void give(const std::string &key, Kept kept);
    // Finalizes every kept statement (before the file is closed).
    void clear();
    // The statements kept now (not those out in use).
    std::size_t size() const;

private:
    struct Entry
    {
        std::string key;
        Kept kept;
    };
    std::list<Entry> mKept; // the most recently used first; an entry is empty while in use
    std::unordered_map<std::string_view, std::list<Entry>::iterator> mIndex;
};

} // namespace jet::detail
