#include "PictureBox.h"

namespace platform {

PictureBox::PictureBox(QWidget *parent, const QString &name)
    : Image(parent, name, ControlKind::PictureBox)
{
}

} // namespace platform
