// The start-up floor: what a start of the program has to do, from the encrypted file to a shown
// window with the entry list, done with plain library calls and plain Qt (PlainStart.h), so that
// the real program's start can be measured against it side by side (scripts/measure-startup.sh).
//   kx_startup_floor <database file>
// It opens the file, makes the two days-until passes of a start, fills the list in days-until
// order, reads the coming events, and shows the window titled "Kalendrix start floor" until it
// is closed or ended.

#include "PlainStart.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>

namespace {

// Five pictures, one per known event type: what the list shows beside a name.
std::array<QIcon, 5> eventPictures()
{
    const std::array<QColor, 5> colours = {Qt::red, Qt::magenta, Qt::yellow, Qt::blue, Qt::green};
    std::array<QIcon, 5> icons;
    for (std::size_t i = 0; i < icons.size(); ++i) {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setBrush(colours[i]);
        painter.drawEllipse(2, 2, 12, 12);
        icons[i] = QIcon(pixmap);
    }
    return icons;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kx_startup_floor <database file>\n");
        return 2;
    }
    const QDate today = QDate::currentDate();
    sqlite3 *db = kxfloor::openKeyed(QString::fromLocal8Bit(argv[1]));
    if (!db) {
        std::fprintf(stderr, "kx_startup_floor: %s did not open\n", argv[1]);
        return 1;
    }
    // The start's first pass, before any window.
    if (!kxfloor::daysTilPass(db, today))
        return 1;

    QWidget window;
    window.setWindowTitle(QStringLiteral("Kalendrix start floor"));
    auto *layout = new QVBoxLayout(&window);
    auto *tree = new QTreeWidget(&window);
    kxfloor::setUpList(*tree);
    layout->addWidget(tree);
    window.resize(672, 420);

    // The list fill's own pass, then its rows; then the coming events.
    if (!kxfloor::daysTilPass(db, today))
        return 1;
    const int rows = kxfloor::fillList(db, *tree, eventPictures());
    const std::vector<kxfloor::ComingEvent> coming = kxfloor::readComingEvents(db);
    window.show();
    std::fprintf(stderr, "kx_startup_floor: %d rows, %zu coming events\n", rows, coming.size());
    const int code = app.exec();
    sqlite3_close(db);
    return code;
}
