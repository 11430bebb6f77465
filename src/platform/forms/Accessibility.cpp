#include "Accessibility.h"

#include "Control.h"
#include "Form.h"
#include "Label.h"
#include "StatusBar.h"

#include "platform/services/HelpWindow.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QLabel>

namespace platform {

namespace {

// A caption as read aloud: "&" marks an access key, "&&" is a "&".
QString spoken(const QString &caption)
{
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&' && i + 1 < caption.size())
            ++i;
        out += caption.at(i);
    }
    return out;
}

bool isPresented(const QAccessibleInterface *child)
{
    const auto *control = qobject_cast<const Control *>(child ? child->object() : nullptr);
    return !control || !liesOutsideItsWindow(control);
}

// A widget whose list of children leaves out the controls that are not presented.
class Container : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;

    int childCount() const override
    {
        int count = 0;
        for (int i = 0; i < QAccessibleWidget::childCount(); ++i)
            count += isPresented(QAccessibleWidget::child(i)) ? 1 : 0;
        return count;
    }

    QAccessibleInterface *child(int index) const override
    {
        for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
            QAccessibleInterface *c = QAccessibleWidget::child(i);
            if (isPresented(c) && index-- == 0)
                return c;
        }
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!isPresented(child))
            return -1;
        int index = 0;
        for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
            QAccessibleInterface *c = QAccessibleWidget::child(i);
            if (c == child)
                return index;
            index += isPresented(c) ? 1 : 0;
        }
        return -1;
    }
};

class Window : public Container
{
public:
    explicit Window(QWidget *w) : Container(w, QAccessible::Window) {}

    QAccessible::Role role() const override
    {
        return widget()->isModal() ? QAccessible::Dialog : QAccessible::Window;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = Container::state();
        s.modal = widget()->isModal();
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        // The toolkit names a minimised window by its icon text, which no window here has.
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return widget()->windowTitle();
        return Container::text(t);
    }
};

// A control that is not presented is hidden from the interface, whatever the toolkit thinks of
// its widgets, which are shown as far as the toolkit knows.
QAccessible::State withoutShowing(QAccessible::State s)
{
    s.invisible = true;
    s.offscreen = true;
    return s;
}

class ControlView : public Container
{
public:
    ControlView(Control *control, QAccessible::Role role) : Container(control, role) {}

    Control *control() const { return static_cast<Control *>(widget()); }

    QAccessible::State state() const override
    {
        const QAccessible::State s = Container::state();
        return liesOutsideItsWindow(control()) ? withoutShowing(s) : s;
    }

    int childCount() const override
    {
        return liesOutsideItsWindow(control()) ? 0 : Container::childCount();
    }

    QAccessibleInterface *child(int index) const override
    {
        return liesOutsideItsWindow(control()) ? nullptr : Container::child(index);
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return liesOutsideItsWindow(control()) ? -1 : Container::indexOfChild(child);
    }
};

class StatusBarView : public ControlView, public QAccessibleTextInterface
{
public:
    explicit StatusBarView(StatusBar *bar) : ControlView(bar, QAccessible::StatusBar) {}

    QString all() const { return static_cast<StatusBar *>(control())->panelTexts(); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name || t == QAccessible::Value)
            return all();
        return ControlView::text(t);
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return ControlView::interface_cast(t);
    }

    // Read-only text without a caret or a selection.
    void selection(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override
    {
        const QString t = all();
        if (endOffset < 0 || endOffset > t.size())
            endOffset = static_cast<int>(t.size());
        startOffset = std::clamp(startOffset, 0, endOffset);
        return t.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(all().size()); }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return QString();
    }
};

// The widget that does the work of a control that is not presented. Made only for such a
// control, in place of the toolkit's own, so it says what that would: role, name, check state
// and the button's action.
class HiddenInner : public QAccessibleWidget
{
public:
    HiddenInner(QWidget *w, Control *control) : QAccessibleWidget(w, roleOf(w)), mControl(control)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (const auto *button = qobject_cast<const QAbstractButton *>(widget())) {
            s.checkable = button->isCheckable();
            s.checked = button->isChecked();
        }
        return liesOutsideItsWindow(mControl) ? withoutShowing(s) : s;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            if (const auto *button = qobject_cast<const QAbstractButton *>(widget()))
                return spoken(button->text());
            if (const auto *label = qobject_cast<const QLabel *>(widget()))
                return label->text();
        }
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (qobject_cast<const QAbstractButton *>(widget()) && widget()->isEnabled())
            names.prepend(qobject_cast<const QCheckBox *>(widget()) ? toggleAction()
                                                                    : pressAction());
        return names;
    }

    void doAction(const QString &action) override
    {
        auto *button = qobject_cast<QAbstractButton *>(widget());
        if (button && (action == pressAction() || action == toggleAction()))
            button->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    static QAccessible::Role roleOf(const QWidget *w)
    {
        if (qobject_cast<const QCheckBox *>(w))
            return QAccessible::CheckBox;
        if (qobject_cast<const QAbstractButton *>(w))
            return QAccessible::Button;
        if (qobject_cast<const QLabel *>(w))
            return QAccessible::StaticText;
        return QAccessible::Client;
    }

    Control *mControl;
};

// The toolkit's own interfaces of a control's buttons and labels stand while the control is on
// its window; one that is not presented gets its stand-in.
bool takesHiddenInner(const Control *control)
{
    const QWidget *inner = control->inner();
    return liesOutsideItsWindow(control) &&
           (qobject_cast<const QAbstractButton *>(inner) || qobject_cast<const QLabel *>(inner));
}

QAccessibleInterface *interfaceFor(const QString &, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (qobject_cast<Form *>(widget) || qobject_cast<HelpWindow *>(widget))
        return new Window(widget);
    if (auto *bar = qobject_cast<StatusBar *>(widget))
        return new StatusBarView(bar);
    if (auto *control = qobject_cast<Control *>(widget))
        return new ControlView(control, QAccessible::Client);
    auto *owner = qobject_cast<Control *>(widget->parentWidget());
    if (owner && owner->inner() == widget && takesHiddenInner(owner))
        return new HiddenInner(widget, owner);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    // Installed after the toolkit's own, so asked first; installing twice adds nothing.
    QAccessible::installFactory(interfaceFor);
}

bool liesOutsideItsWindow(const Control *control)
{
    const QWidget *container = control ? control->parentWidget() : nullptr;
    return container && !QRect(QPoint(), container->size()).intersects(control->geometry());
}

void controlPlaced(Control *control)
{
    QWidget *inner = control->inner();
    if (!inner)
        return;
    // The interface of the inner widget may have been made before the control was placed
    // (the toolkit makes one for every change it reports): one of the wrong kind goes, and the
    // next question makes the right one.
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(inner);
    if (iface && (dynamic_cast<HiddenInner *>(iface) != nullptr) != takesHiddenInner(control))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

void notifyTextChanged(QObject *object, const QString &before, const QString &after)
{
    if (!QAccessible::isActive() || before == after)
        return;
    QAccessibleEvent named(object, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleTextUpdateEvent text(object, 0, before, after);
    QAccessible::updateAccessibility(&text);
}

void labelFor(Label *label, Control *field)
{
    if (!label || !field)
        return;
    label->setNamedField(field);
    QWidget *target = field->inner() ? field->inner() : field;
    if (auto *text = qobject_cast<QLabel *>(label->inner()))
        text->setBuddy(target);
    // The desktop's screen readers take a field's label from the labels beside it (a combo box
    // reads out its value as its name), and the label control's own text sits in another
    // branch: a hidden label next to the field names it there.
    const QString labelName = field->objectName() + QStringLiteral("_label");
    auto *name = field->findChild<QLabel *>(labelName, Qt::FindDirectChildrenOnly);
    if (!name) {
        name = new QLabel(field);
        name->setObjectName(labelName);
        name->setBuddy(target);
        name->hide();
    }
    name->setText(spoken(label->Caption()));
    target->setAccessibleName(spoken(label->Caption()));
}

} // namespace platform
