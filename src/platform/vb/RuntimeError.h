#pragma once

#include <QString>

#include <exception>

namespace vb {

// A run-time error as the rest of the program sees it: a number and the runtime's text for it.
// Every layer below core raises this (and only this) for a failure that a procedure's error
// protocol is expected to handle. Numbers are the runtime's and the database engine's own
// (13 Type mismatch, 94 Invalid use of Null, 3024 file not found, ...).
class RuntimeError : public std::exception
{
public:
    RuntimeError(int number, QString description);

    int number() const noexcept { return mNumber; }
    const QString &description() const noexcept { return mDescription; }
    const char *what() const noexcept override { return mWhat.constData(); }

private:
    int mNumber;
    QString mDescription;
    QByteArray mWhat;
};

// The runtime's own error numbers used by this program.
namespace err {
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int SubscriptOutOfRange = 9;
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccessError = 75;
constexpr int ObjectVariableNotSet = 91;
constexpr int InvalidUseOfNull = 94;
constexpr int InvalidProcedureCall = 5;
constexpr int FormUnloaded = 364;
constexpr int InvalidPropertyValue = 380;
constexpr int DuplicateKey = 457; // key already in a Collection
} // namespace err

// Raises the runtime error `number` with the runtime's standard description for it (see
// standardDescription; numbers without a text of their own get "Application-defined or
// object-defined error").
[[noreturn]] void raise(int number);
[[noreturn]] void raise(int number, const QString &description);
QString standardDescription(int number);

} // namespace vb
