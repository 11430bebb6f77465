#pragma once

// What a screen reader reads of a program: the desktop's accessibility interface (AT-SPI) on its
// own bus, read with plain D-Bus calls, and the events the programs send on it.

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QDBusMessage;

namespace kxtest {

// One object of a program's accessibility tree: the program's name on the bus and a path.
struct Accessible
{
    QString bus;
    QString path;

    bool isNull() const { return bus.isEmpty() || path.endsWith(QLatin1String("/null")); }
    bool operator==(const Accessible &other) const = default;
};

// The states a reader here asks about (AtspiStateType).
enum class AtState { Active = 1, Focused = 12, Modal = 16, Showing = 25, Visible = 30 };

class AtSpiReader : public QObject
{
    Q_OBJECT
public:
    // An event as a program sent it: "Focus", or an object event's member ("PropertyChange",
    // "StateChanged", "TextChanged") with its kind ("accessible-name", "focused", "insert").
    struct Event
    {
        QString member;
        QString kind;
        int detail = 0;
        Accessible source;
    };

    // Connects to the accessibility bus and asks for every object and focus event, so that the
    // programs started afterwards send them. False when the registry does not answer.
    bool open(const QString &address);
    ~AtSpiReader() override;

    // The program of that name among those the registry knows; null when it is not there.
    Accessible application(const QString &name) const;

    QList<Accessible> children(const Accessible &node) const;
    int indexInParent(const Accessible &node) const;
    QString role(const Accessible &node) const;
    QString name(const Accessible &node) const;
    // The text of its text interface; a null string for an object without one.
    QString text(const Accessible &node) const;
    bool has(const Accessible &node, AtState state) const;
    // The objects the node is labelled by.
    QList<Accessible> labelledBy(const Accessible &node) const;

    // The node and everything below it, depth first.
    QList<Accessible> subtree(const Accessible &root) const;
    // The first node of the subtree that satisfies `match`; null when none does.
    Accessible find(const Accessible &root,
                    const std::function<bool(const Accessible &)> &match) const;
    // The first node of the subtree with that role and name.
    Accessible find(const Accessible &root, const QString &role, const QString &name) const;

    // The events received so far (they arrive while the caller's thread handles events).
    QList<Event> events;

private slots:
    void objectEvent(const QDBusMessage &message);
    void focusEvent(const QDBusMessage &message);

private:
    QDBusMessage call(const Accessible &node, const QString &interface, const QString &method,
                      const QVariantList &arguments = {}) const;

    QDBusConnection mBus{QString()};
};

} // namespace kxtest
