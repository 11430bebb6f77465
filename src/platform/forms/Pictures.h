#pragma once

#include <QIcon>
#include <QPainter>

#include <functional>
#include <initializer_list>

namespace platform {

// The program draws its own pictures. `paint` draws on a square of `designSize` units; the
// icon holds one pixmap per size, each the same drawing scaled, antialiased, on transparency.
QIcon drawnIcon(const std::function<void(QPainter &)> &paint,
                std::initializer_list<int> sizes = {16, 32}, double designSize = 32.0);

} // namespace platform
