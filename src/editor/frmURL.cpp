#include "frmURL.h"

#include "core/ErrorProtocol.h"
#include "core/Globals.h"
#include "core/MainCode_QW.h"

#include "platform/forms/Accessibility.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Pictures.h"

#include <QPainter>
#include <QPixmap>

using platform::Alignment;
using platform::CommandButton;
using platform::Image;
using platform::Label;
using platform::TextBox;

namespace {

// A globe, drawn rather than shipped.
QIcon globePicture()
{
    return platform::drawnIcon(
        [](QPainter &p) {
            p.setPen(QPen(QColor(20, 70, 140), 1.5));
            p.setBrush(QColor(110, 170, 235));
            p.drawEllipse(QRectF(2, 2, 28, 28));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(9, 2, 14, 28));
            p.drawLine(QPointF(16, 2), QPointF(16, 30));
            p.drawLine(QPointF(2, 16), QPointF(30, 16));
            p.drawLine(QPointF(5, 9), QPointF(27, 9));
            p.drawLine(QPointF(5, 23), QPointF(27, 23));
        },
        {32, 48});
}

} // namespace

frmURL::frmURL(QWidget *parent) : Form(QStringLiteral("frmURL"), parent)
{
    setClientSize(kClientWidth, kClientHeight);

    img1 = new Image(this, QStringLiteral("img1"));
    img1->Move(120, 165, 480, 480);
    img1->setPicture(globePicture());

    lbl1 = new Label(this, QStringLiteral("lbl1"));
    lbl1->Move(2115, 165, 3090, 975);
    lbl1->setWordWrap(true);

    lbl2 = new Label(this, QStringLiteral("lbl2"));
    lbl2->Move(135, 1290, 1920, 195);
    lbl2->setAlignment(Alignment::Right);

    Txt1 = new TextBox(this, QStringLiteral("Txt1"));
    Txt1->Move(2100, 1275, 3210, 360);

    Label1 = new Label(this, QStringLiteral("Label1"), core::kMakerName + QStringLiteral(" website:"));
    Label1->Move(375, 1845, 1680, 285);
    Label1->setAlignment(Alignment::Right);

    Txt2 = new TextBox(this, QStringLiteral("Txt2"));
    Txt2->Move(2100, 1800, 3210, 360);

    cmdOK = new CommandButton(this, QStringLiteral("cmdOK"), QStringLiteral("&OK"));
    cmdOK->Move(4185, 2325, 1125, 465);
    cmdOK->setDefault(true);

    // Esc clicks it, and it does nothing: the window is closed with OK, Enter or the close box.
    cmdCancel = new CommandButton(this, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    cmdCancel->Move(90, 3570, 1125, 465);
    cmdCancel->setCancel(true);

    platform::labelFor(lbl2, Txt1);
    platform::labelFor(Label1, Txt2);

    const QList<QWidget *> tabOrder = {cmdOK, Txt1, Txt2, cmdCancel};
    for (int i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(cmdOK, &CommandButton::Click, this, [this] { Unload(); });
    for (TextBox *address : {Txt1, Txt2}) {
        connect(address, &TextBox::GotFocus, this, [] { SelectAllText(); });
        connect(address, &TextBox::KeyDown, this, [](int &keyCode, int) { keyCode = 0; });
        connect(address, &TextBox::KeyPress, this, [](int &keyAscii) { keyAscii = 0; });
    }
}

// No error trap of its own: an error here reaches whoever showed the window.
void frmURL::Form_Load()
{
    setCaption(core::kProductName + QStringLiteral(" - Website"));
    CenterForm(this);
    SetProperties();
}

void frmURL::SetProperties()
{
    core::Procedure p(QStringLiteral("frmURL.SetProperties"));
    QString message;
    p([&] {
        message = core::kProductName +
                  QStringLiteral(" has been unable to establish an Internet connection.") +
                  QStringLiteral("\r\n") +
                  QStringLiteral("Copy and paste one of the links below into your internet "
                                 "browser and ") +
                  QStringLiteral("then try to establish a connection.");
    });
    p([&] { lbl1->setCaption(message); });
    p([&] { Txt1->setText(kProductPageUrl); });
    p([&] { Txt2->setText(kHomePageUrl); });
    p([&] { lbl2->setCaption(core::kProductName + QStringLiteral(" Website:")); });
}

void showWebsiteFallbackWindow()
{
    auto *window = new frmURL();
    window->ShowModal();
}
