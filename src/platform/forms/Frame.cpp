#include "Frame.h"

#include <QGroupBox>

namespace platform {

Frame::Frame(QWidget *parent, const QString &name, const QString &caption)
    : Control(ControlKind::Frame, parent, name), mBox(new QGroupBox(caption, this))
{
    setInner(mBox);
    setFocusPolicy(Qt::NoFocus);
    mBox->setFocusPolicy(Qt::NoFocus);
    // setInner made the box the focus proxy; a frame hands the focus to nobody.
    setFocusProxy(nullptr);
}

QString Frame::Caption() const
{
    return mBox->title();
}

void Frame::setCaption(const QString &caption)
{
    mBox->setTitle(caption);
}

QWidget *Frame::area() const
{
    return mBox;
}

} // namespace platform
