#include "MousePointer.h"

#include "platform/vb/RuntimeError.h"

#include <QCursor>
#include <QGuiApplication>

namespace platform {

namespace {
int &current()
{
    static int pointer = vbDefault;
    return pointer;
}
} // namespace

void setScreenMousePointer(int pointer)
{
    if (pointer != vbDefault && pointer != vbHourglass)
        vb::raise(vb::err::InvalidPropertyValue);
    if (pointer == current())
        return;
    if (pointer == vbHourglass)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
    current() = pointer;
}

int screenMousePointer()
{
    return current();
}

} // namespace platform
