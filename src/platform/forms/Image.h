#pragma once

#include "Control.h"

#include <QIcon>

class QLabel;

namespace platform {

// Image and picture box: show a picture; an Image has no focus and no border.
class Image : public Control
{
    Q_OBJECT
public:
    Image(QWidget *parent, const QString &name, ControlKind kind = ControlKind::Image);

    QIcon Picture() const { return mPicture; }
    void setPicture(const QIcon &picture);

protected:
    // The picture is drawn again for the new size (a layout scale enlarges the box).
    void resizeEvent(QResizeEvent *event) override;

private:
    void showPicture();

    QLabel *mView;
    QIcon mPicture;
};

} // namespace platform
