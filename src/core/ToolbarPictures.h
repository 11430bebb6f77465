#pragma once

// The program's toolbar pictures: the image list ils2 that the main window's and the editor's
// toolbars take their pictures from. One picture per toolbar key, keyed by it, in this order:
// "new", "save", "delete", "cut", "copy", "paste", "showevents", "systray", "help", "exit".
// Each is the desktop icon theme's picture of its standard name where the theme has one, and a
// drawn picture of the program's own where it has none, so every key always has a picture.

#include <QIcon>
#include <QList>
#include <QString>

class QObject;
class QPainter;

namespace platform {
class ImageList;
}

namespace core {

struct ToolbarPicture
{
    QString key;
    QString themeName; // the icon theme's standard name
};

// The keys and theme names, in the image list's order.
const QList<ToolbarPicture> &toolbarPictures();

// A new image list "ils2" owned by `owner`, filled with every toolbar picture.
platform::ImageList *makeToolbarImageList(QObject *owner);

// The program's own picture for a key (a null icon for an unknown key).
QIcon drawnToolbarPicture(const QString &key);

// The calendar page the program shows for its events, on a 32-unit square (platform::drawnIcon):
// the notice window's icon, and the base of the show-events picture.
void paintCalendar(QPainter &p);

} // namespace core
