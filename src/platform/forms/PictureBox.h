#pragma once

#include "Image.h"

namespace platform {

class PictureBox : public Image
{
    Q_OBJECT
public:
    PictureBox(QWidget *parent, const QString &name);
};

} // namespace platform
