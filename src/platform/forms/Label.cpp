#include "Label.h"

#include "Accessibility.h"

#include <QLabel>

namespace platform {

Label::Label(QWidget *parent, const QString &name, const QString &caption)
    : Control(ControlKind::Label, parent, name), mLabel(new QLabel(caption, this))
{
    mLabel->setTextFormat(Qt::PlainText);
    syncWrap();
    mLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setInner(mLabel);
    setFocusPolicy(Qt::NoFocus);
}

QString Label::Caption() const
{
    return mLabel->text();
}

void Label::setCaption(const QString &caption)
{
    mLabel->setText(caption);
    if (mNamedField)
        labelFor(this, mNamedField);
}

void Label::setAlignment(Alignment alignment)
{
    mAlignment = alignment;
    mLabel->setAlignment(horizontalAlignment(alignment) | Qt::AlignTop);
}

void Label::setWordWrap(bool wrap)
{
    mWordWrap = wrap;
    syncWrap();
}

bool Label::wrapsText() const
{
    return mWordWrap && effectiveDesignFont().linesIn(twipsRect().height()) > 1;
}

void Label::syncWrap()
{
    mLabel->setWordWrap(wrapsText());
}

void Label::resizeEvent(QResizeEvent *event)
{
    Control::resizeEvent(event);
    syncWrap();
}

std::optional<TextRoom> Label::textRoom() const
{
    return TextRoom{{Caption()}, size(), mLabel->font(), wrapsText()};
}

} // namespace platform
