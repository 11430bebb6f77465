#include "Pictures.h"

#include <QPixmap>

namespace platform {

QIcon drawnIcon(const std::function<void(QPainter &)> &paint, std::initializer_list<int> sizes,
                double designSize)
{
    QIcon icon;
    for (int size : sizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / designSize, size / designSize);
        paint(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace platform
