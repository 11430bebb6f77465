#include "ToolbarPictures.h"

#include "platform/forms/ImageList.h"
#include "platform/forms/Pictures.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

#include <functional>
#include <map>

namespace core {

namespace {

// Drawn on a 32-unit square and scaled, as the program's other pictures are.

const QColor kInk(60, 60, 60);

void paintPage(QPainter &p, const QRectF &r)
{
    const double fold = r.width() * 0.3;
    QPolygonF page({r.topLeft(), QPointF(r.right() - fold, r.top()),
                    QPointF(r.right(), r.top() + fold), r.bottomRight(), r.bottomLeft()});
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(Qt::white);
    p.drawPolygon(page);
    p.setBrush(QColor(220, 220, 220));
    p.drawPolygon(
        QPolygonF({QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold),
                   QPointF(r.right(), r.top() + fold)}));
}

void paintNew(QPainter &p)
{
    paintPage(p, QRectF(6, 3, 19, 26));
    // A star: something new.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 170, 0));
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const double radius = i % 2 == 0 ? 7 : 3;
        star << QPointF(23 + radius * qCos(a), 9 + radius * qSin(a));
    }
    p.drawPolygon(star);
}

void paintSave(QPainter &p)
{
    p.setPen(QPen(QColor(30, 50, 110), 1.5));
    p.setBrush(QColor(60, 100, 190));
    p.drawPolygon(QPolygonF(
        {QPointF(4, 4), QPointF(25, 4), QPointF(28, 7), QPointF(28, 28), QPointF(4, 28)}));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 4, 16, 10));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(9, 19, 14, 9));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 50, 110));
    p.drawRect(QRectF(18, 6, 3, 6));
}

void paintDelete(QPainter &p)
{
    p.setPen(QPen(QColor(200, 30, 30), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 7), QPointF(25, 25));
    p.drawLine(QPointF(25, 7), QPointF(7, 25));
}

void paintCut(QPainter &p)
{
    p.setPen(QPen(QColor(110, 110, 120), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 3), QPointF(20, 20));
    p.drawLine(QPointF(23, 3), QPointF(12, 20));
    p.setPen(QPen(QColor(200, 30, 30), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(9, 24), 4.5, 4.5);
    p.drawEllipse(QPointF(23, 24), 4.5, 4.5);
}

void paintCopy(QPainter &p)
{
    paintPage(p, QRectF(3, 3, 16, 20));
    paintPage(p, QRectF(13, 9, 16, 20));
}

void paintPaste(QPainter &p)
{
    p.setPen(QPen(QColor(110, 70, 30), 1.5));
    p.setBrush(QColor(200, 150, 90));
    p.drawRoundedRect(QRectF(4, 5, 20, 24), 2, 2);
    p.setBrush(QColor(150, 150, 160));
    p.drawRoundedRect(QRectF(9, 2, 10, 6), 1.5, 1.5);
    paintPage(p, QRectF(14, 12, 15, 18));
}

void paintShowEvents(QPainter &p)
{
    paintCalendar(p);
    // The coming day stands out.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 170, 0));
    p.drawEllipse(QPointF(19.5, 20.5), 4, 4);
}

void paintSysTray(QPainter &p)
{
    // A window going down into the panel at the bottom of the screen.
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 3, 18, 14));
    p.setBrush(QColor(60, 100, 190));
    p.drawRect(QRectF(4, 3, 18, 4));
    p.setBrush(QColor(90, 90, 100));
    p.drawRect(QRectF(2, 25, 28, 5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 160, 60));
    p.drawPolygon(QPolygonF({QPointF(22, 12), QPointF(28, 12), QPointF(28, 17), QPointF(31, 17),
                             QPointF(25, 24), QPointF(19, 17), QPointF(22, 17)}));
}

void paintHelp(QPainter &p)
{
    p.setPen(QPen(QColor(30, 70, 160), 1.5));
    p.setBrush(QColor(60, 120, 220));
    p.drawEllipse(QPointF(16, 16), 13, 13);
    QFont font;
    font.setBold(true);
    font.setPixelSize(20);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("?"));
}

void paintExit(QPainter &p)
{
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(150, 100, 60));
    p.drawRect(QRectF(4, 3, 14, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 200, 60));
    p.drawEllipse(QPointF(15, 17), 1.5, 1.5);
    p.setBrush(QColor(200, 30, 30));
    p.drawPolygon(QPolygonF({QPointF(18, 14), QPointF(24, 14), QPointF(24, 9), QPointF(31, 16),
                             QPointF(24, 23), QPointF(24, 18), QPointF(18, 18)}));
}

const std::map<QString, std::function<void(QPainter &)>> &painters()
{
    static const std::map<QString, std::function<void(QPainter &)>> map = {
        {QStringLiteral("new"), paintNew},
        {QStringLiteral("save"), paintSave},
        {QStringLiteral("delete"), paintDelete},
        {QStringLiteral("cut"), paintCut},
        {QStringLiteral("copy"), paintCopy},
        {QStringLiteral("paste"), paintPaste},
        {QStringLiteral("showevents"), paintShowEvents},
        {QStringLiteral("systray"), paintSysTray},
        {QStringLiteral("help"), paintHelp},
        {QStringLiteral("exit"), paintExit},
    };
    return map;
}

} // namespace

void paintCalendar(QPainter &p)
{
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(3, 5, 26, 24), 3, 3);
    p.setBrush(QColor(200, 40, 40));
    p.drawRect(QRectF(3, 5, 26, 7));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            p.drawRect(QRectF(6.5 + col * 5.5, 15 + row * 4.5, 3, 2.5));
    p.setBrush(QColor(90, 90, 90));
    p.drawRect(QRectF(8, 2, 3, 6));
    p.drawRect(QRectF(21, 2, 3, 6));
}

const QList<ToolbarPicture> &toolbarPictures()
{
    static const QList<ToolbarPicture> list = {
        {QStringLiteral("new"), QStringLiteral("document-new")},
        {QStringLiteral("save"), QStringLiteral("document-save")},
        {QStringLiteral("delete"), QStringLiteral("edit-delete")},
        {QStringLiteral("cut"), QStringLiteral("edit-cut")},
        {QStringLiteral("copy"), QStringLiteral("edit-copy")},
        {QStringLiteral("paste"), QStringLiteral("edit-paste")},
        {QStringLiteral("showevents"), QStringLiteral("appointment-soon")},
        {QStringLiteral("systray"), QStringLiteral("go-bottom")},
        {QStringLiteral("help"), QStringLiteral("help-contents")},
        {QStringLiteral("exit"), QStringLiteral("application-exit")},
    };
    return list;
}

QIcon drawnToolbarPicture(const QString &key)
{
    const auto found = painters().find(key);
    return found == painters().end() ? QIcon() : platform::drawnIcon(found->second);
}

platform::ImageList *makeToolbarImageList(QObject *owner)
{
    auto *ils2 = new platform::ImageList(owner, QStringLiteral("ils2"));
    for (const ToolbarPicture &picture : toolbarPictures())
        ils2->Add(picture.key,
                  QIcon::fromTheme(picture.themeName, drawnToolbarPicture(picture.key)));
    return ils2;
}

} // namespace core
