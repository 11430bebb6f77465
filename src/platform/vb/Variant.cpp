#include "Variant.h"

namespace vb {

VarType Variant::type() const
{
    // Indices follow the order of the alternatives in mValue.
    static constexpr VarType kTypes[] = {VarType::Empty, VarType::Null,   VarType::Integer,
                                         VarType::Long,  VarType::Single, VarType::Double,
                                         VarType::Date,  VarType::String, VarType::Boolean};
    return kTypes[mValue.index()];
}

bool Variant::isNumeric() const
{
    switch (type()) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Boolean:
        return true;
    default:
        return false;
    }
}

} // namespace vb
