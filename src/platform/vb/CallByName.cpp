#include "CallByName.h"

#include "RuntimeError.h"

#include <QMetaMethod>
#include <QMetaProperty>

#include <vector>

namespace vb {

namespace {

constexpr int kNoSuchMember = 438;

[[noreturn]] void raiseNoSuchMember()
{
    raise(kNoSuchMember, QStringLiteral("Object doesn't support this property or method"));
}

bool sameName(const QByteArray &memberName, const QString &wanted)
{
    return QString::fromLatin1(memberName).compare(wanted, Qt::CaseInsensitive) == 0;
}

} // namespace

QVariant CallByName(QObject *object, const QString &name, const QVariantList &args)
{
    if (!object)
        raise(err::ObjectVariableNotSet);
    const QMetaObject *meta = object->metaObject();
    // Later methods belong to the more derived class: they win, as an override would.
    for (int i = meta->methodCount() - 1; i >= 0; --i) {
        const QMetaMethod method = meta->method(i);
        if (method.access() != QMetaMethod::Public ||
            (method.methodType() != QMetaMethod::Method &&
             method.methodType() != QMetaMethod::Slot) ||
            method.parameterCount() != args.size() || !sameName(method.name(), name))
            continue;

        std::vector<QVariant> converted;
        converted.reserve(static_cast<std::size_t>(args.size()));
        for (int p = 0; p < args.size(); ++p) {
            QVariant value = args.at(p);
            const QMetaType type = method.parameterMetaType(p);
            if (value.metaType() != type && !value.convert(type))
                raise(err::TypeMismatch);
            converted.push_back(std::move(value));
        }
        const QMetaType returnType = method.returnMetaType();
        QVariant result;
        if (returnType.isValid() && returnType.id() != QMetaType::Void)
            result = QVariant(returnType);
        std::vector<void *> argv;
        argv.push_back(result.isValid() ? result.data() : nullptr);
        for (QVariant &value : converted)
            argv.push_back(value.data());
        QMetaObject::metacall(object, QMetaObject::InvokeMetaMethod, method.methodIndex(),
                              argv.data());
        return result;
    }
    raiseNoSuchMember();
}

QObject *ObjectMember(QObject *object, const QString &name)
{
    if (!object)
        raise(err::ObjectVariableNotSet);
    const QMetaObject *meta = object->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (!sameName(property.name(), name))
            continue;
        const QVariant value = property.read(object);
        if (value.metaType().flags().testFlag(QMetaType::PointerToQObject))
            return value.value<QObject *>();
    }
    const QList<QObject *> children = object->findChildren<QObject *>();
    for (QObject *child : children)
        if (child->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return child;
    raiseNoSuchMember();
}

} // namespace vb
