#include "frmEventNotice.h"

#include "core/ErrorProtocol.h"
#include "core/MainCode_QW.h"
#include "core/ToolbarPictures.h"
#include "core/modFehlerHandler.h"

#include "platform/forms/Accessibility.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Pictures.h"
#include "platform/services/Services.h"
#include "platform/vb/Conversions.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPolygonF>
#include <QtMath>

using platform::Alignment;
using platform::CheckBox;
using platform::ComboBox;
using platform::CommandButton;
using platform::Image;
using platform::Label;
using platform::TextBox;

namespace {

const QString kNoticeName = QStringLiteral("frmeventnotice");

// ---- pictures -----------------------------------------------------------------------------
// Drawn on a 32-unit square and scaled, so that the 16 and 32 pixel images are one picture.

void paintCake(QPainter &p)
{
    p.setPen(QPen(QColor(120, 60, 30), 1.5));
    p.setBrush(QColor(250, 170, 200));
    p.drawRoundedRect(QRectF(4, 16, 24, 12), 2, 2);
    p.setBrush(QColor(255, 240, 245));
    p.drawRect(QRectF(4, 16, 24, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 130, 220));
    for (int x : {9, 15, 21})
        p.drawRect(QRectF(x, 8, 2.5, 8));
    p.setBrush(QColor(255, 170, 0));
    for (int x : {9, 15, 21})
        p.drawEllipse(QRectF(x - 0.5, 3, 3.5, 5));
}

void paintRings(QPainter &p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(210, 160, 20), 3.5));
    p.drawEllipse(QRectF(3, 9, 16, 16));
    p.setPen(QPen(QColor(190, 190, 200), 3.5));
    p.drawEllipse(QRectF(13, 9, 16, 16));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 200, 255));
    p.drawPolygon(QPolygonF({QPointF(11, 3), QPointF(14, 7), QPointF(11, 10), QPointF(8, 7)}));
}

void paintSun(QPainter &p)
{
    p.setPen(QPen(QColor(240, 140, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        p.drawLine(QPointF(16 + 10 * qCos(a), 16 + 10 * qSin(a)),
                   QPointF(16 + 14 * qCos(a), 16 + 14 * qSin(a)));
    }
    p.setPen(QPen(QColor(240, 140, 0), 1.5));
    p.setBrush(QColor(255, 210, 40));
    p.drawEllipse(QPointF(16, 16), 7.5, 7.5);
}

void paintStar(QPainter &p)
{
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const double r = i % 2 == 0 ? 14 : 6;
        star << QPointF(16 + r * qCos(a), 17 + r * qSin(a));
    }
    p.setPen(QPen(QColor(40, 90, 170), 1.5));
    p.setBrush(QColor(90, 160, 240));
    p.drawPolygon(star);
}

void paintBell(QPainter &p)
{
    QPainterPath bell;
    bell.moveTo(6, 24);
    bell.cubicTo(9, 21, 8, 16, 9, 12);
    bell.cubicTo(10, 6, 22, 6, 23, 12);
    bell.cubicTo(24, 16, 23, 21, 26, 24);
    bell.closeSubpath();
    p.setPen(QPen(QColor(150, 100, 0), 1.5));
    p.setBrush(QColor(250, 200, 50));
    p.drawPath(bell);
    p.drawEllipse(QPointF(16, 26), 3, 3);
    p.drawEllipse(QPointF(16, 5), 2, 2);
}

} // namespace

QIcon frmEventNotice::ownIcon()
{
    static const QIcon icon = platform::drawnIcon(core::paintCalendar);
    return icon;
}

QIcon frmEventNotice::eventTypeIcon(int index)
{
    static const std::array<QIcon, 5> icons = {
        platform::drawnIcon(paintCake), platform::drawnIcon(paintRings),
        platform::drawnIcon(paintSun), platform::drawnIcon(paintStar),
        platform::drawnIcon(paintBell)};
    return icons.at(static_cast<std::size_t>(index));
}

// ---- window --------------------------------------------------------------------------------

frmEventNotice::frmEventNotice(QWidget *parent) : Form(QStringLiteral("frmEventNotice"), parent)
{
    setClientSize(kClientWidth, kClientHeight);
    setCaption(QStringLiteral("Event Notice"));
    setIcon(ownIcon());

    auto label = [this](int index, const QString &caption, double l, double t, double w, double h) {
        auto *lbl = new Label(this, QStringLiteral("lbl1"), caption);
        lbl->setProperty("Index", index);
        lbl->Move(l, t, w, h);
        lbl->setAlignment(Alignment::Right);
        lbl->setWordWrap(false);
        lbl1[static_cast<std::size_t>(index)] = lbl;
        return lbl;
    };
    auto box = [this](const QString &name, TextBox::Lines lines, double l, double t, double w,
                      double h) {
        auto *txt = new TextBox(this, name, lines);
        txt->Move(l, t, w, h);
        return txt;
    };

    label(2, QStringLiteral("Name:"), 330, 150, 675, 195);
    txtName = box(QStringLiteral("txtName"), TextBox::Lines::Multi, 1035, 120, 2565, 285);
    label(1, QStringLiteral("Event:"), 120, 540, 885, 195);
    txtEventType = box(QStringLiteral("txtEventType"), TextBox::Lines::Multi, 1035, 495, 2565, 285);
    label(0, QStringLiteral("Event Date:"), 120, 900, 885, 195);
    txtDate = box(QStringLiteral("txtDate"), TextBox::Lines::Multi, 1035, 855, 2565, 285);
    label(5, QStringLiteral("Days til:"), 435, 1230, 555, 195);
    txtDaysTil = box(QStringLiteral("txtDaysTil"), TextBox::Lines::Single, 1035, 1185, 795, 285);
    label(3, QStringLiteral("Note:"), 120, 1530, 885, 240);
    txtNote = box(QStringLiteral("txtNote"), TextBox::Lines::Multi, 1035, 1545, 2565, 810);

    for (TextBox *display : {txtName, txtEventType, txtDate, txtDaysTil})
        display->setLocked(true);
    // One-line display fields: a scroll bar would take most of their width.
    for (TextBox *display : {txtName, txtEventType, txtDate})
        if (auto *edit = qobject_cast<QPlainTextEdit *>(display->inner()))
            edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtDaysTil->setAlignment(Alignment::Center);
    txtNote->setMaxLength(255);

    lblId = new Label(this, QStringLiteral("lblId"), QStringLiteral("-1"));
    lblId->Move(120, 1995, 645, 180);
    lblId->setAlignment(Alignment::Center);
    lblId->Tag = QStringLiteral("id");
    lblId->hide();

    cmdOK = new CommandButton(this, QStringLiteral("cmdOK"), QStringLiteral("&OK"));
    cmdOK->Move(2475, 2460, 1155, 375);
    cmdOK->setDefault(true);
    cmdOK->hide();
    cmdCancel = new CommandButton(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"));
    cmdCancel->Move(120, 3705, 1155, 345); // below the client area: Esc only
    cmdCancel->setCancel(true);

    label(4, QStringLiteral("Show again:"), 120, 3315, 885, 195)->hide();
    cbo1 = new ComboBox(this, QStringLiteral("cbo1"));
    cbo1->Move(1020, 3255, 1290, 315);
    cbo1->setText(QStringLiteral("Notice"));
    cbo1->hide();

    chkDummy = platform::makeFocusSink(this, QStringLiteral("chkDummy"), QStringLiteral("Fake"));

    for (int i = 0; i < 5; ++i) {
        auto *img = new Image(this, QStringLiteral("img1"));
        img->setProperty("Index", i);
        img->Move(120 + i * 300, 2700, 240, 240);
        img->setPicture(eventTypeIcon(i));
        img->hide();
        img1[static_cast<std::size_t>(i)] = img;
    }

    const std::pair<int, platform::Control *> named[] = {
        {2, txtName}, {1, txtEventType}, {0, txtDate}, {5, txtDaysTil}, {3, txtNote}, {4, cbo1}};
    for (const auto &[index, field] : named)
        platform::labelFor(lbl1[static_cast<std::size_t>(index)], field);

    // The design's tab order, controls that cannot take the focus left out.
    const QList<QWidget *> tabOrder = {cmdOK,        cmdCancel, cbo1,     txtNote,   txtName,
                                       txtEventType, txtDate,   chkDummy, txtDaysTil};
    for (int i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(cmdOK, &CommandButton::Click, this, [this] { Unload(); });
    connect(cmdCancel, &CommandButton::Click, this, [this] { Unload(); });
    for (TextBox *display : {txtName, txtEventType, txtDate})
        connect(display, &TextBox::GotFocus, this, [this] { chkDummy->SetFocus(); });
    connect(txtNote, &TextBox::KeyDown, this, [](int &keyCode, int) {
        if (keyCode != 38 && keyCode != 40)
            keyCode = 0;
    });
    connect(txtNote, &TextBox::KeyPress, this, [](int &keyAscii) { keyAscii = 0; });
    connect(cbo1, &ComboBox::Click, this, [this] { mblnChanged = true; });
    connect(cbo1, &ComboBox::KeyDown, this, [](int &keyCode, int) { keyCode = 0; });
    connect(cbo1, &ComboBox::KeyPress, this, [](int &keyAscii) { keyAscii = 0; });
}

// No error trap of its own: an error here reaches whoever showed the window.
void frmEventNotice::Form_Load()
{
    CenterForm(this);
    SetFormProperties();
    bringToForeground();
    setTopmost(true);
    mblnChanged = false;
}

void frmEventNotice::SetFormProperties()
{
    core::Procedure p(QStringLiteral("frmEventNotice.SetFormProperties"));
    p([&] { setCaption(QStringLiteral("Event Notice")); });
    p([&] { txtName->setText(mstrName); });
    p([&] { txtName->setBackColor(kFieldColor); });
    p([&] { txtEventType->setText(mstrEventName); });
    p([&] { txtEventType->setBackColor(kFieldColor); });
    p([&] { txtDate->setText(vb::CStr(mdtEventDate)); });
    p([&] { txtDate->setBackColor(kFieldColor); });
    // The stored date keeps the year of first occurrence, so only an entry dated today itself
    // is bold. Compared by value rather than through the shown text, which a two-digit-year
    // picture would make ambiguous.
    p([&] {
        const qint64 today =
            vb::Date::fromQDate(platform::services().clock->now().date()).dayNumber();
        if (vb::CDate(mdtEventDate).dayNumber() == today)
            txtDate->setFontBold(true);
    });
    p([&] { txtNote->setText(mstrNotes); });
    p([&] { txtNote->setBackColor(kFieldColor); });
    p([&] {
        if (mlngDaysTil != 0) {
            txtDaysTil->setText(QString::number(mlngDaysTil));
        } else {
            txtDaysTil->setFontBold(true);
            txtDaysTil->setText(QStringLiteral("Today"));
        }
    });
    p([&] { txtDaysTil->setBackColor(kFieldColor); });
    p([&] { lblId->setCaption(QString::number(mlngVemoId)); });
    p([&] {
        static const std::array<QString, 5> names = {
            QStringLiteral("birthday"), QStringLiteral("anniversary"), QStringLiteral("holiday"),
            QStringLiteral("event"), QStringLiteral("reminder")};
        static const std::array<QString, 5> captions = {
            QStringLiteral("Birthday Notice"), QStringLiteral("Anniversary Notice"),
            QStringLiteral("Holiday Notice"), QStringLiteral("Event Notice"),
            QStringLiteral("Reminder Notice")};
        const QString name = mstrEventName.toLower();
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (name == names[i]) {
                setIcon(img1[i]->Picture());
                setCaption(captions[i]);
                break;
            }
        }
    });
    std::int32_t topOffset = 0;
    std::int32_t leftOffset = 0;
    p([&] {
        const QList<platform::Form *> &forms = platform::Forms();
        for (std::int16_t i = 0; i < forms.size(); ++i) {
            if (forms.at(i)->Name().toLower() == kNoticeName) {
                topOffset += static_cast<std::int32_t>(kCascadeStep);
                leftOffset += static_cast<std::int32_t>(kCascadeStep);
            }
        }
    });
    p([&] { setTop(Top() + topOffset); });
    p([&] { setLeft(Left() + leftOffset); });
}

vb::Variant frmEventNotice::ResetTime()
{
    core::Procedure p(QStringLiteral("frmEventNotice.ResetTime"), core::ErrorVariant::LogOnly);
    return vb::Variant();
}
