#pragma once

// Boxes and dialogs wait for the user: over them the pointer is the arrow, also while the program
// shows the hourglass for the work that asked (a backup's save dialog, an error box during it).
// For the scope of one box; the program's pointer is back afterwards.

#include <QCursor>
#include <QGuiApplication>

namespace platform {

class ArrowWhileAsking
{
public:
    ArrowWhileAsking() : mPushed(QGuiApplication::overrideCursor() != nullptr)
    {
        if (mPushed)
            QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    }
    ~ArrowWhileAsking()
    {
        if (mPushed)
            QGuiApplication::restoreOverrideCursor();
    }
    ArrowWhileAsking(const ArrowWhileAsking &) = delete;
    ArrowWhileAsking &operator=(const ArrowWhileAsking &) = delete;

private:
    bool mPushed;
};

} // namespace platform
