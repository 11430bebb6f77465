#include "RuntimeError.h"

namespace vb {

RuntimeError::RuntimeError(int number, QString description)
    : mNumber(number), mDescription(std::move(description)), mWhat(mDescription.toUtf8())
{
}

QString standardDescription(int number)
{
    switch (number) {
    case err::InvalidProcedureCall:
        return QStringLiteral("Invalid procedure call or argument");
    case err::Overflow:
        return QStringLiteral("Overflow");
    case err::OutOfMemory:
        return QStringLiteral("Out of memory");
    case err::SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    case err::TypeMismatch:
        return QStringLiteral("Type mismatch");
    case err::FileNotFound:
        return QStringLiteral("File not found");
    case err::PermissionDenied:
        return QStringLiteral("Permission denied");
    case err::PathFileAccessError:
        return QStringLiteral("Path/File access error");
    case err::ObjectVariableNotSet:
        return QStringLiteral("Object variable or With block variable not set");
    case err::InvalidUseOfNull:
        return QStringLiteral("Invalid use of Null");
    case err::FormUnloaded:
        return QStringLiteral("Object was unloaded");
    case err::InvalidPropertyValue:
        return QStringLiteral("Invalid property value");
    case err::DuplicateKey:
        return QStringLiteral("This key is already associated with an element of this collection");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

void raise(int number)
{
    throw RuntimeError(number, standardDescription(number));
}

void raise(int number, const QString &description)
{
    throw RuntimeError(number, description);
}

} // namespace vb
