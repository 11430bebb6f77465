#pragma once

#include "Date.h"

#include <QString>

#include <cstdint>
#include <variant>

namespace vb {

// The runtime's type codes, as VarType() numbers them.
enum class VarType : int {
    Empty = 0,
    Null = 1,
    Integer = 2, // 16-bit
    Long = 3,    // 32-bit
    Single = 4,
    Double = 5,
    Date = 7,
    String = 8,
    Boolean = 11,
};

struct NullTag
{
    friend bool operator==(NullTag, NullTag) { return true; }
};

// A value of any of the runtime's simple types. Default-constructed it is Empty; Null is a
// separate value (a database column with nothing in it). The conversions in Conversions.h give
// the runtime's rules, errors included; the accessors here never convert.
class Variant
{
public:
    Variant() = default;
    static Variant null()
    {
        Variant v;
        v.mValue = NullTag{};
        return v;
    }

    Variant(std::int16_t v) : mValue(v) {}
    Variant(std::int32_t v) : mValue(v) {}
    Variant(float v) : mValue(v) {}
    Variant(double v) : mValue(v) {}
    Variant(vb::Date v) : mValue(v) {}
    Variant(const QString &v) : mValue(v) {}
    Variant(const char *v) : mValue(QString::fromUtf8(v)) {}
    Variant(bool v) : mValue(v) {}

    VarType type() const;
    bool isEmpty() const { return std::holds_alternative<std::monostate>(mValue); }
    bool isNull() const { return std::holds_alternative<NullTag>(mValue); }
    bool isNumeric() const; // Integer, Long, Single, Double or Boolean

    template <class T> const T *get() const { return std::get_if<T>(&mValue); }

    // Same type and same value; Empty == Empty, Null == Null. Not the runtime's "=" operator,
    // which converts (see Conversions.h: compareEqual).
    friend bool operator==(const Variant &a, const Variant &b) { return a.mValue == b.mValue; }

private:
    std::variant<std::monostate, NullTag, std::int16_t, std::int32_t, float, double, vb::Date,
                 QString, bool>
        mValue;
};

} // namespace vb
