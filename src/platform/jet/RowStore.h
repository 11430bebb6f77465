#pragma once

// Not for use outside src/platform/jet.

#include "JetInternal.h"

#include <cstdint>
#include <vector>

namespace jet::detail {

// The rows of a recordset one after the other, `width` values each, kept as the library stored
// them (a number, or the bytes of a text in one buffer for all) and given their column's type
// only when a value is read: reading every row of a statement copies little more than its bytes,
// and a column nobody reads costs nothing more. A value written through the recordset is kept as
// it was written.
class RowStore
{
public:
    explicit RowStore(int width) : mWidth(width) {}
    int rows() const { return mRows; }

    // The statement's current row, its columns read as `columns` type them.
    void appendFrom(sqlite3_stmt *stmt, const std::vector<Column> &columns);
    void append(const std::vector<vb::Variant> &values); // width values, kept as given
    vb::Variant value(int row, int column, ColType type) const;
    void set(int row, int column, const vb::Variant &value);

private:
    enum class Kind : std::uint8_t {
        // as stored, typed when read
        Null,
        Integer,
        Real,
        Text,
        Blob,
        // as written
        Empty,
        Int16,
        Int32,
        Single,
        Double,
        Date,
        Boolean,
        String,
    };
    struct TextSpan
    {
        std::uint32_t offset;
        std::uint32_t bytes;
    };
    union Cell {
        sqlite3_int64 integer;
        double real;
        TextSpan text;
        std::uint32_t string; // position in mStrings
    };

    std::size_t index(int row, int column) const
    {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(mWidth) +
               static_cast<std::size_t>(column);
    }
    TextSpan keepText(const char *text, int bytes);
    void put(std::size_t at, const vb::Variant &value);

    int mWidth;
    int mRows = 0;
    std::vector<Cell> mCells;
    std::vector<Kind> mKinds; // beside the cells, so that a cell takes 8 bytes
    std::vector<char> mText;
    std::vector<QString> mStrings;
};

} // namespace jet::detail
