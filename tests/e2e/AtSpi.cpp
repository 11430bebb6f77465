#include "AtSpi.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace kxtest {

namespace {

const QString kRegistry = QStringLiteral("org.a11y.atspi.Registry");
const QString kRoot = QStringLiteral("/org/a11y/atspi/accessible/root");
const QString kAccessible = QStringLiteral("org.a11y.atspi.Accessible");
constexpr int kLabelledBy = 2; // AtspiRelationType

// An object reference, (so), from where the argument stands.
Accessible reference(const QDBusArgument &argument)
{
    Accessible node;
    QDBusObjectPath path;
    argument.beginStructure();
    argument >> node.bus >> path;
    argument.endStructure();
    node.path = path.path();
    return node;
}

QList<Accessible> references(const QDBusArgument &argument)
{
    QList<Accessible> nodes;
    argument.beginArray();
    while (!argument.atEnd())
        nodes << reference(argument);
    argument.endArray();
    return nodes;
}

bool answered(const QDBusMessage &reply)
{
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
}

QDBusArgument argumentOf(const QDBusMessage &reply)
{
    return reply.arguments().constFirst().value<QDBusArgument>();
}

} // namespace

AtSpiReader::~AtSpiReader()
{
    if (mBus.isConnected())
        QDBusConnection::disconnectFromBus(mBus.name());
}

bool AtSpiReader::open(const QString &address)
{
    if (!mBus.isConnected()) {
        static int connections = 0;
        mBus = QDBusConnection::connectToBus(address,
                                             QStringLiteral("kxtest-a11y-%1").arg(++connections));
        if (!mBus.isConnected())
            return false;
        for (const char *member : {"PropertyChange", "StateChanged", "TextChanged"})
            mBus.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Object"),
                         QLatin1String(member), this, SLOT(objectEvent(QDBusMessage)));
        mBus.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Focus"),
                     QStringLiteral("Focus"), this, SLOT(focusEvent(QDBusMessage)));
    }
    for (const char *event : {"object:", "focus:"}) {
        QDBusMessage m =
            QDBusMessage::createMethodCall(kRegistry, QStringLiteral("/org/a11y/atspi/registry"),
                                           kRegistry, QStringLiteral("RegisterEvent"));
        m << QLatin1String(event) << QStringList() << QString();
        if (mBus.call(m).type() != QDBusMessage::ReplyMessage)
            return false;
    }
    return true;
}

QDBusMessage AtSpiReader::call(const Accessible &node, const QString &interface,
                               const QString &method, const QVariantList &arguments) const
{
    if (node.isNull())
        return {};
    QDBusMessage m = QDBusMessage::createMethodCall(node.bus, node.path, interface, method);
    m.setArguments(arguments);
    return mBus.call(m, QDBus::Block, 5000);
}

Accessible AtSpiReader::application(const QString &name) const
{
    for (const Accessible &app : children({kRegistry, kRoot}))
        if (this->name(app) == name)
            return app;
    return {};
}

QList<Accessible> AtSpiReader::children(const Accessible &node) const
{
    const QDBusMessage reply = call(node, kAccessible, QStringLiteral("GetChildren"));
    return answered(reply) ? references(argumentOf(reply)) : QList<Accessible>();
}

int AtSpiReader::indexInParent(const Accessible &node) const
{
    const QDBusMessage reply = call(node, kAccessible, QStringLiteral("GetIndexInParent"));
    return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().constFirst().toInt() : -2;
}

QString AtSpiReader::role(const Accessible &node) const
{
    const QDBusMessage reply = call(node, kAccessible, QStringLiteral("GetRoleName"));
    return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().constFirst().toString()
                                                      : QString();
}

QString AtSpiReader::name(const Accessible &node) const
{
    const QDBusMessage reply = call(node, QStringLiteral("org.freedesktop.DBus.Properties"),
                                    QStringLiteral("Get"), {kAccessible, QStringLiteral("Name")});
    if (reply.type() != QDBusMessage::ReplyMessage)
        return QString();
    return reply.arguments().constFirst().value<QDBusVariant>().variant().toString();
}

QString AtSpiReader::text(const Accessible &node) const
{
    const QDBusMessage reply =
        call(node, QStringLiteral("org.a11y.atspi.Text"), QStringLiteral("GetText"), {0, -1});
    return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().constFirst().toString()
                                                      : QString();
}

bool AtSpiReader::has(const Accessible &node, AtState state) const
{
    const QDBusMessage reply = call(node, kAccessible, QStringLiteral("GetState"));
    if (!answered(reply))
        return false;
    const QDBusArgument argument = argumentOf(reply);
    QList<uint> words;
    argument.beginArray();
    while (!argument.atEnd()) {
        uint word = 0;
        argument >> word;
        words << word;
    }
    argument.endArray();
    const int bit = static_cast<int>(state);
    return words.size() > bit / 32 && (words[bit / 32] >> (bit % 32) & 1u);
}

QList<Accessible> AtSpiReader::labelledBy(const Accessible &node) const
{
    const QDBusMessage reply = call(node, kAccessible, QStringLiteral("GetRelationSet"));
    if (!answered(reply))
        return {};
    const QDBusArgument argument = argumentOf(reply);
    QList<Accessible> labels;
    argument.beginArray();
    while (!argument.atEnd()) {
        uint type = 0;
        argument.beginStructure();
        argument >> type;
        const QList<Accessible> targets = references(argument);
        argument.endStructure();
        if (type == kLabelledBy)
            labels << targets;
    }
    argument.endArray();
    return labels;
}

QList<Accessible> AtSpiReader::subtree(const Accessible &root) const
{
    QList<Accessible> nodes{root};
    for (const Accessible &child : children(root))
        nodes << subtree(child);
    return nodes;
}

Accessible AtSpiReader::find(const Accessible &root,
                             const std::function<bool(const Accessible &)> &match) const
{
    if (match(root))
        return root;
    for (const Accessible &child : children(root))
        if (const Accessible found = find(child, match); !found.isNull())
            return found;
    return {};
}

Accessible AtSpiReader::find(const Accessible &root, const QString &role, const QString &name) const
{
    return find(root, [&](const Accessible &node) {
        return this->role(node) == role && this->name(node) == name;
    });
}

void AtSpiReader::objectEvent(const QDBusMessage &message)
{
    const QVariantList arguments = message.arguments();
    events.append({message.member(),
                   arguments.value(0).toString(),
                   arguments.value(1).toInt(),
                   {message.service(), message.path()}});
}

void AtSpiReader::focusEvent(const QDBusMessage &message)
{
    events.append({message.member(), QString(), 0, {message.service(), message.path()}});
}

} // namespace kxtest
