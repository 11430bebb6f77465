#include "Accessibility.h"

#include "Controls.h"

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

} // namespace

void labelFor(Label *label, Control *field)
{
    if (!label || !field)
        return;
    QWidget *target = field->inner() ? field->inner() : field;
    if (auto *text = qobject_cast<QLabel *>(label->inner()))
        text->setBuddy(target);
    // The desktop's screen readers take a field's label from the labels beside it (a combo box
    // reads out its value as its name), and the label control's own text sits in another
    // branch: a hidden label next to the field names it there.
    auto *name = new QLabel(spoken(label->Caption()), field);
    name->setObjectName(field->objectName() + QStringLiteral("_label"));
    name->setBuddy(target);
    name->hide();
    target->setAccessibleName(spoken(label->Caption()));
}

} // namespace platform
