#include "frmSplash.h"

#include "ErrorProtocol.h"
#include "Globals.h"
#include "MainCode_QW.h"
#include "StartupHooks.h"
#include "cDAO.h"
#include "modMsg.h"

#include "platform/forms/Controls.h"
#include "platform/forms/Pictures.h"
#include "platform/services/CommonDialog.h"
#include "platform/services/Services.h"
#include "platform/vb/Conversions.h"

#include <QCoreApplication>
#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace {

// The program's picture: a calendar leaf with a ring binding and one marked day.
QIcon programPicture()
{
    return platform::drawnIcon(
        [](QPainter &painter) {
            painter.setPen(QPen(QColor(60, 60, 90), 2));
            painter.setBrush(Qt::white);
            painter.drawRoundedRect(QRectF(6, 10, 52, 48), 5, 5);
            painter.setBrush(QColor(190, 40, 50));
            painter.drawRect(QRectF(6, 10, 52, 13));
            painter.setBrush(QColor(60, 60, 90));
            for (int x : {18, 32, 46})
                painter.drawEllipse(QPointF(x, 10), 3, 3);
            painter.setPen(QPen(QColor(150, 150, 160), 1));
            for (int row = 0; row < 3; ++row)
                for (int col = 0; col < 5; ++col)
                    painter.drawRect(QRectF(11 + col * 9, 28 + row * 9, 6, 6));
            painter.setBrush(QColor(190, 40, 50));
            painter.drawEllipse(QRectF(27, 36, 10, 10));
        },
        {64}, 64);
}

// The maker's logo: its initial in a ring.
QIcon makerLogo()
{
    return platform::drawnIcon(
        [](QPainter &painter) {
            painter.setPen(QPen(QColor(30, 80, 140), 4));
            painter.drawEllipse(QRectF(4, 4, 40, 40));
            QFont font = painter.font();
            font.setPixelSize(26);
            font.setBold(true);
            painter.setFont(font);
            painter.drawText(QRectF(0, 0, 48, 48), Qt::AlignCenter, QStringLiteral("Q"));
        },
        {48}, 48);
}

platform::Label *label(platform::Form *form, const QString &name, const QString &caption,
                       double left, double top, double width, double height)
{
    auto *l = new platform::Label(form, name, caption);
    l->Move(left, top, width, height);
    return l;
}

} // namespace

QIcon frmSplash::programPicture()
{
    return ::programPicture();
}

const QString frmSplash::kCopyright = QStringLiteral("Copyright (C) 2003 Quarnwell");

frmSplash::frmSplash(QWidget *parent) : platform::Form(QStringLiteral("frmSplash"), parent)
{
    // A start-up window: no title bar of its own.
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setClientSize(7380, 4245);

    img1 = new platform::PictureBox(this, QStringLiteral("img1"));
    img1->Move(360, 480, 1455, 1455);
    img1->setPicture(programPicture());
    imgLogo = new platform::Image(this, QStringLiteral("imgLogo"));
    imgLogo->Move(360, 3000, 720, 720);
    imgLogo->setPicture(makerLogo());

    // A control array: both labels carry the same name, told apart by their Index.
    lblProductName[0] = label(this, QStringLiteral("lblProductName"), QStringLiteral("App Name"),
                              2160, 480, 4800, 720);
    lblProductName[1] = label(this, QStringLiteral("lblProductName"), QStringLiteral("App Name"),
                              360, 2040, 1455, 285);
    for (int i = 0; i < 2; ++i)
        lblProductName[i]->setProperty("Index", i);
    lblProductName[0]->setDesignFont({20.0, true});

    lblVersion =
        label(this, QStringLiteral("lblVersion"), QStringLiteral("Version"), 2160, 1440, 4800, 285);
    lblCopyright = label(this, QStringLiteral("lblCopyright"), QStringLiteral("Copyright"), 2160,
                         1800, 4800, 285);
    lblCompany = label(this, QStringLiteral("lblCompany"), core::kMakerName, 2160, 2160, 4800, 285);
    lblQW = label(this, QStringLiteral("lblQW"), core::kMakerName, 1200, 3240, 2400, 285);
    lblWarning = label(this, QStringLiteral("lblWarning"),
                       QStringLiteral("Warning: this program is protected by copyright law; "
                                      "unauthorised copying is not allowed."),
                       360, 3840, 6660, 285);

    txtEnabledColor = new platform::TextBox(this, QStringLiteral("txtEnabledColor"));
    txtEnabledColor->setText(QStringLiteral("Text1"));
    txtEnabledColor->Move(6000, 3000, 735, 285);
    txtEnabledColor->hide();

    cdlg1 = new platform::CommonDialog(this, QStringLiteral("cdlg1"));
}

void frmSplash::Form_Load()
{
    SetFormProperties();
    Show();
    // Once, so that the splash is painted before the database work starts.
    QCoreApplication::processEvents();

    bool connected = false;
    GetDatabaseConnection(connected);
    if (!connected) {
        // Left through the error dialog: one more chance to locate the file. A located file is
        // opened here too, since nothing after this point could work without the database.
        bool usable = false;
        if (msgNoDbConnection() == platform::mb::Yes && MakeConnectionString(this))
            usable = cDAO().DAOOpenConnection(gstrDbPath);
        if (!usable)
            msgEndingApp(1);
    }

    FillAppUdts();
    if (const auto &recompute = core::startupHooks().recomputeDaysTil)
        recompute();
    if (const auto &load = core::startupHooks().loadMainWindow)
        load();
    Unload();
}

void frmSplash::SetFormProperties()
{
    core::Procedure p(QStringLiteral("frmSplash.SetFormProperties"));
    const QString version = QString::number(core::kVersionMajor) + QLatin1Char('.') +
                            QString::number(core::kVersionMinor);
    p([&] { CenterForm(this); });
    p([&] { gstrEnabledColor = QString::number(txtEnabledColor->BackColor()); });
    p([&] { lblVersion->setCaption(QStringLiteral("Version ") + version); });
    p([&] { lblProductName[0]->setCaption(core::kProductName); });
    p([&] { lblProductName[1]->setCaption(core::kProductName); });
    p([&] { lblCopyright->setCaption(kCopyright); });
    p([&] { Show(); });
}

void frmSplash::GetDatabaseConnection(bool &argConnected)
{
    core::Procedure p(QStringLiteral("frmSplash.GetDatabaseConnection"));
    cDAO dao;
    bool open = false;
    p([&] { gstrDbPath = core::programPath(core::kDatabaseFileName); });
    // No bound: it ends with an open database, or with the end of the program inside one of
    // the prompts.
    while (p.ok() && !open) {
        p([&] { open = dao.DAOOpenConnection(gstrDbPath); });
        if (open || !p.ok())
            break;
        bool located = false;
        while (p.ok() && !located) {
            p([&] { located = MakeConnectionString(this); });
            if (!located)
                p([&] { msgNoDbConnection(); }); // No ends the program
        }
    }
    p([&] {
        if (open)
            argConnected = true;
    });
}

void frmSplash::FillAppUdts()
{
    core::Procedure p(QStringLiteral("frmSplash.FillAppUdts"));
    cDAO dao;
    int count = 0;
    const auto column = [](const char *name) {
        return core::sharedRecordset().Field(QString::fromLatin1(name));
    };
    udtSettings &s = gudtSettings;
    p([&] { count = dao.RSReadFrom(QStringLiteral("SELECT * FROM Settings")); });
    if (count >= 1) {
        p([&] { s.DefaultAlertDays = vb::CInt(column("Settings_DefaultAlertDays")); });
        p([&] { s.DefaultEvent = vb::CLng(column("Settings_DefaultEvent")); });
        p([&] { s.FormLeft = vb::CLng(column("Settings_FormLeft")); });
        p([&] { s.FormTop = vb::CLng(column("Settings_FormTop")); });
        p([&] { s.LastRecordViewed = vb::CLng(column("Settings_LastRecordViewed")); });
        p([&] { s.ShowEventsAtStart = vb::CInt(column("Settings_ShowEventsAtStart")); });
        p([&] { s.StartInTray = vb::CInt(column("Settings_StartInTray")); });
        p([&] { s.Tab = vb::CInt(column("Settings_Tab")); });
        p([&] { s.DefaultDisplayTime = vb::CDate(column("Settings_DefaultDisplayTime")); });
        p([&] { s.TimerOn = vb::CInt(column("Settings_TimerOn")); });
        p([&] { s.SoundOn = vb::CInt(column("Settings_SoundOn")); });
    }
    p([] { core::closeSharedRecordset(); });
}

void frmSplash::msgEndingApp(std::int16_t argReason)
{
    core::Procedure p(QStringLiteral("modMSG.msgEndingApp"));
    QString text;
    p([&] {
        if (argReason == 1)
            text = QStringLiteral("There is no valid dataase connection. ") + core::kProductName +
                   QStringLiteral(" is now ending");
    });
    p([&] {
        platform::services().messageBox->show(text, platform::mb::vbCritical, core::kProductName);
    });
    p([] { platform::services().program->end(0); });
}
