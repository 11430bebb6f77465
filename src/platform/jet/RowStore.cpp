#include "RowStore.h"

#include "platform/vb/RuntimeError.h"

#include <limits>

namespace jet::detail {

void RowStore::appendFrom(sqlite3_stmt *stmt, const std::vector<Column> &columns)
{
    for (int i = 0; i < mWidth; ++i) {
        const StoredValue value = storedValue(stmt, i, columns[static_cast<std::size_t>(i)].type);
        Cell cell{};
        Kind kind = Kind::Null;
        switch (value.storage) {
        case SQLITE_NULL:
            break;
        case SQLITE_INTEGER:
            kind = Kind::Integer;
            cell.integer = value.integer;
            break;
        case SQLITE_FLOAT:
            kind = Kind::Real;
            cell.real = value.real;
            break;
        default:
            kind = value.storage == SQLITE_BLOB ? Kind::Blob : Kind::Text;
            cell.text = keepText(value.text, value.bytes);
            break;
        }
        mCells.push_back(cell);
        mKinds.push_back(kind);
    }
    ++mRows;
}

void RowStore::append(const std::vector<vb::Variant> &values)
{
    const std::size_t first = mCells.size();
    mCells.resize(first + static_cast<std::size_t>(mWidth));
    mKinds.resize(first + static_cast<std::size_t>(mWidth), Kind::Null);
    for (int i = 0; i < mWidth; ++i)
        put(first + static_cast<std::size_t>(i), values[static_cast<std::size_t>(i)]);
    ++mRows;
}

vb::Variant RowStore::value(int row, int column, ColType type) const
{
    const std::size_t at = index(row, column);
    const Cell &cell = mCells[at];
    StoredValue stored;
    switch (mKinds[at]) {
    case Kind::Null:
        return vb::Variant::null();
    case Kind::Integer:
        stored.storage = SQLITE_INTEGER;
        stored.integer = cell.integer;
        return readValue(stored, type);
    case Kind::Real:
        stored.storage = SQLITE_FLOAT;
        stored.real = cell.real;
        return readValue(stored, type);
    case Kind::Text:
    case Kind::Blob:
        stored.storage = mKinds[at] == Kind::Blob ? SQLITE_BLOB : SQLITE_TEXT;
        // An empty text stays a text, not nothing, also before the buffer holds any byte.
        stored.text = mText.empty() ? "" : mText.data() + cell.text.offset;
        stored.bytes = static_cast<int>(cell.text.bytes);
        return readValue(stored, type);
    case Kind::Empty:
        return vb::Variant();
    case Kind::Int16:
        return vb::Variant(static_cast<std::int16_t>(cell.integer));
    case Kind::Int32:
        return vb::Variant(static_cast<std::int32_t>(cell.integer));
    case Kind::Single:
        return vb::Variant(static_cast<float>(cell.real));
    case Kind::Double:
        return vb::Variant(cell.real);
    case Kind::Date:
        return vb::Variant(vb::Date(cell.real));
    case Kind::Boolean:
        return vb::Variant(cell.integer != 0);
    case Kind::String:
        return vb::Variant(mStrings[cell.string]);
    }
    return vb::Variant();
}

void RowStore::set(int row, int column, const vb::Variant &value)
{
    put(index(row, column), value);
}

RowStore::TextSpan RowStore::keepText(const char *text, int bytes)
{
    const std::size_t offset = mText.size();
    if (offset + static_cast<std::size_t>(bytes) > std::numeric_limits<std::uint32_t>::max())
        vb::raise(vb::err::OutOfMemory);
    mText.insert(mText.end(), text, text + bytes);
    return TextSpan{static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(bytes)};
}

void RowStore::put(std::size_t at, const vb::Variant &value)
{
    Cell &cell = mCells[at];
    Kind &kind = mKinds[at];
    if (const auto *text = value.get<QString>()) {
        if (kind != Kind::String) {
            cell.string = static_cast<std::uint32_t>(mStrings.size());
            mStrings.push_back(*text);
        } else {
            mStrings[cell.string] = *text;
        }
        kind = Kind::String;
        return;
    }
    cell = Cell{};
    if (value.isEmpty()) {
        kind = Kind::Empty;
    } else if (value.isNull()) {
        kind = Kind::Null;
    } else if (const auto *i16 = value.get<std::int16_t>()) {
        kind = Kind::Int16;
        cell.integer = *i16;
    } else if (const auto *i32 = value.get<std::int32_t>()) {
        kind = Kind::Int32;
        cell.integer = *i32;
    } else if (const auto *f = value.get<float>()) {
        kind = Kind::Single;
        cell.real = *f;
    } else if (const auto *d = value.get<double>()) {
        kind = Kind::Double;
        cell.real = *d;
    } else if (const auto *date = value.get<vb::Date>()) {
        kind = Kind::Date;
        cell.real = date->serial();
    } else if (const auto *b = value.get<bool>()) {
        kind = Kind::Boolean;
        cell.integer = *b ? 1 : 0;
    }
}

} // namespace jet::detail
