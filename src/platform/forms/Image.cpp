#include "Image.h"

#include <QLabel>

namespace platform {

Image::Image(QWidget *parent, const QString &name, ControlKind kind)
    : Control(kind, parent, name), mView(new QLabel(this))
{
    mView->setAlignment(Qt::AlignCenter);
    setInner(mView);
    setFocusPolicy(Qt::NoFocus);
}

void Image::setPicture(const QIcon &picture)
{
    mPicture = picture;
    showPicture();
}

void Image::showPicture()
{
    const QSize size = this->size().isEmpty() ? QSize(32, 32) : this->size();
    mView->setPixmap(mPicture.isNull() ? QPixmap() : mPicture.pixmap(size));
}

void Image::resizeEvent(QResizeEvent *event)
{
    Control::resizeEvent(event);
    showPicture();
}

} // namespace platform
