#pragma once

// Late binding, as the runtime resolves a call on a generic object at run time: the member is
// looked up by name (letter case ignored) when the call is made, so the caller needs no
// declaration of the object's class. A callable member is a Q_INVOKABLE method or a slot; a
// method with default arguments is found with any number of them given. Each argument is
// converted to the parameter's type as the runtime converts a value (13 Type mismatch when it
// cannot be). Errors: 91 for no object, 438 for a member the object does not have.

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>

namespace vb {

// object.name(args...); the method's result (an invalid QVariant for a method without one).
QVariant CallByName(QObject *object, const QString &name, const QVariantList &args = {});

// object.name for an object member: a Q_PROPERTY holding an object, otherwise a child object
// of that name (the window's controls).
QObject *ObjectMember(QObject *object, const QString &name);

} // namespace vb
