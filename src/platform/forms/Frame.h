#pragma once

// A frame: a bordered box with an optional caption that groups controls. Controls created inside
// it take their positions relative to it and still register with the window (Form::Controls()).
// It takes no focus itself; its caption, when there is one, is the group's accessible name.

#include "Control.h"

class QGroupBox;

namespace platform {

class Frame : public Control
{
    Q_OBJECT
public:
    Frame(QWidget *parent, const QString &name, const QString &caption = QString());

    QString Caption() const;
    void setCaption(const QString &caption);
    // The widget that the frame's controls are created in.
    QWidget *area() const;

private:
    QGroupBox *mBox;
};

} // namespace platform
