#include "Accessibility.h"

#include "Controls.h"

#include <QLabel>

namespace platform {

void labelFor(Label *label, Control *field)
{
    if (!label || !field)
        return;
    QWidget *target = field->inner() ? field->inner() : field;
    if (auto *text = qobject_cast<QLabel *>(label->inner()))
        text->setBuddy(target);
    QString name = label->Caption();
    name.remove(QLatin1Char('&'));
    target->setAccessibleName(name);
}

} // namespace platform
