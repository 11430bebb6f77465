#include "frmAbout.h"

#include "core/ErrorProtocol.h"
#include "core/Globals.h"
#include "core/MainCode_QW.h"
#include "core/frmSplash.h"

#include "platform/forms/Controls.h"
#include "platform/forms/Pictures.h"
#include "platform/forms/Twips.h"
#include "platform/services/Services.h"

#include <QPainter>
#include <QTimer>
#include <QtMath>

using platform::CommandButton;
using platform::Image;
using platform::Label;
using platform::PictureBox;

namespace {

constexpr int kShowNormal = 1;
constexpr int kUserNameBufferSize = 199; // characters, the terminating NUL included

// Frame `frame` of the maker's logo: its initial on a coin that turns once in 30 frames. The
// letter shows mirrored while the back of the coin faces the viewer, and the coin's edge shows
// on the side it turns towards, so that no two frames are alike.
void paintLogoFrame(QPainter &p, int frame)
{
    const double angle = qDegreesToRadians(frame * 360.0 / frmAbout::kLogoFrames);
    const double turn = std::cos(angle);
    const bool front = turn >= 0;
    p.translate(16, 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 55, 105));
    const double width = std::max(1.5, 14 * std::abs(turn));
    const double edge = std::sin(angle) >= 0 ? 1.2 : -1.2;
    p.drawEllipse(QRectF(-width + edge, -14, 2 * width, 28));
    p.setBrush(front ? QColor(70, 130, 210) : QColor(45, 95, 165));
    p.setPen(QPen(QColor(30, 80, 140), 1.2));
    p.drawEllipse(QRectF(-width, -14, 2 * width, 28));
    p.scale(turn, 1);
    QFont font = p.font();
    font.setPixelSize(18);
    font.setBold(true);
    p.setFont(font);
    p.setPen(front ? Qt::white : QColor(200, 215, 235));
    p.drawText(QRectF(-14, -14, 28, 28), Qt::AlignCenter, QStringLiteral("Q"));
}

const std::array<QIcon, frmAbout::kLogoFrames> &logoFrames()
{
    static const std::array<QIcon, frmAbout::kLogoFrames> frames = [] {
        std::array<QIcon, frmAbout::kLogoFrames> all;
        for (int i = 0; i < frmAbout::kLogoFrames; ++i)
            all[static_cast<std::size_t>(i)] =
                platform::drawnIcon([i](QPainter &p) { paintLogoFrame(p, i); }, {32});
        return all;
    }();
    return frames;
}

void setForeColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

} // namespace

frmAbout::frmAbout(QWidget *parent) : Form(QStringLiteral("frmAbout"), parent)
{
    setClientSize(kClientWidth, kClientHeight);
    setDesignFont({8.25, true});
    const QString arial = QStringLiteral("Arial");
    const QColor blue(0, 0, 255); // colour number &H00FF0000

    // Created in this order so that each shadow lies under its title.
    auto label = [this](int index, const QString &caption, double l, double t, double w, double h,
                        const platform::DesignFont &font) {
        auto *lbl = new Label(this, QStringLiteral("lbl1"), caption);
        lbl->setProperty("Index", index);
        lbl->Move(l, t, w, h);
        lbl->setDesignFont(font);
        lbl->setWordWrap(false);
        lbl1[static_cast<std::size_t>(index)] = lbl;
        return lbl;
    };
    const platform::DesignFont title{21.75, false, arial};
    setForeColor(label(1, QStringLiteral("Name of App"), 120, 180, 2535, 495, title), blue);
    label(0, QStringLiteral("Name of App"), 120, 210, 2535, 495, title);

    auto copyright = [this](int index, const QString &caption, double l, double t, double w,
                            double h) {
        auto *lbl = new Label(this, QStringLiteral("lblCopyright"), caption);
        lbl->setProperty("Index", index);
        lbl->Move(l, t, w, h);
        lbl->setDesignFont({9.75, true});
        lbl->setWordWrap(false);
        lblCopyright[static_cast<std::size_t>(index)] = lbl;
    };
    copyright(1, QStringLiteral("Version"), 120, 720, 2550, 225);
    // Wider than the design's 2550 twips: the copyright line is the start-up window's.
    copyright(0, QString(), 120, 1020, 3900, 285);

    const platform::DesignFont maker{15.75, false, arial};
    setForeColor(label(3, core::kMakerName, 135, 1305, 2655, 330, maker), blue);
    label(2, core::kMakerName, 120, 1320, 2655, 495, maker);

    // The contact lines stand under the maker's name, where the design leaves them free.
    const platform::DesignFont contact{9.75, false, arial};
    label(5, QStringLiteral("Quarnwell Software"), 120, 1710, 3900, 255, contact);
    label(8, QStringLiteral("info@quarnwell.example"), 120, 1965, 3900, 255, contact);

    // Wider than the design's 3075 twips, so that the whole address shows.
    Label *address =
        label(4, kHomePageUrl, 120, 2280, 4560, 270, platform::DesignFont{9.75, true, arial});
    address->inner()->setToolTip(QStringLiteral("Double click to go to website"));
    address->setCursor(Qt::PointingHandCursor);

    lblUser = new Label(this, QStringLiteral("lblUser"));
    lblUser->Move(1590, 2880, 2325, 210);
    lblUser->setAlignment(platform::Alignment::Center);
    lblUser->setDesignFont({8.25, false});
    lblUser->setWordWrap(false);

    // Never seen: they only hold the frames. Placed below the client area, and hidden so that
    // nothing reaches them.
    for (int i = 0; i < kLogoFrames; ++i) {
        auto *frame = new Image(this, QStringLiteral("imgLogo"));
        frame->setProperty("Index", i);
        frame->Move(i * 480.0, kClientHeight + 240, 480, 480);
        frame->setPicture(logoFrames()[static_cast<std::size_t>(i)]);
        frame->hide();
        imgLogo[static_cast<std::size_t>(i)] = frame;
    }

    pic1 = new PictureBox(this, QStringLiteral("pic1"));
    pic1->Move(4860, 210, 540, 540);
    pic1->setPicture(imgLogo[0]->Picture());
    pic1->inner()->setToolTip(kHomePageUrl);
    pic1->inner()->setAccessibleName(core::kMakerName + QStringLiteral(" logo"));

    img1 = new Image(this, QStringLiteral("img1"));
    img1->Move(4200, 960, 960, 960);
    img1->setPicture(frmSplash::programPicture());
    img1->inner()->setAccessibleName(core::kProductName);

    cmdOK = new CommandButton(this, QStringLiteral("cmdOK"), QStringLiteral("&Ok"));
    cmdOK->Move(4065, 2760, 1320, 465);
    cmdOK->setDesignFont({8.25, false});
    cmdOK->setCancel(true);

    statBar1 = new platform::StatusBar(this, QStringLiteral("statBar1"));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(75);
    connect(Timer1, &QTimer::timeout, this, &frmAbout::Timer1_Timer);
    Timer1->start();

    connect(cmdOK, &CommandButton::Click, this, [this] { Unload(); });
    connect(pic1, &PictureBox::DblClick, this, &frmAbout::pic1_DblClick);
    for (Label *lbl : lbl1)
        if (lbl)
            connect(lbl, &Label::DblClick, this, &frmAbout::pic1_DblClick);
}

// No error trap of its own: an error here reaches whoever showed the window.
void frmAbout::Form_Load()
{
    CenterForm(this);
    mblnIsRunning = true;
    lbl1[0]->setCaption(core::kProductName);
    lbl1[1]->setCaption(core::kProductName);
    setCaption(QStringLiteral("About ") + core::kMakerName + QStringLiteral("'s ") +
               core::kProductName);
    NameUser();
    lblCopyright[1]->setCaption(QStringLiteral("Version ") + QString::number(core::kVersionMajor) +
                                QLatin1Char('.') + QString::number(core::kVersionMinor));
    lblCopyright[0]->setCaption(frmSplash::kCopyright);
}

void frmAbout::Form_Unload(int & /*cancel*/)
{
    mblnIsRunning = false;
}

void frmAbout::NameUser()
{
    core::Procedure p(QStringLiteral("frmAbout.NameUser"), core::ErrorVariant::Silent);
    std::optional<QString> name;
    p([&] {
        platform::SystemInfoService *info = platform::services().systemInfo;
        if (!info)
            vb::raise(vb::err::ObjectVariableNotSet);
        name = info->userName();
        // A name that does not fit the buffer fails the call, as it would the system's.
        if (name && name->size() >= kUserNameBufferSize)
            name.reset();
    });
    p([&] {
        const QString text = name.value_or(QString());
        lblUser->setCaption(text.left(text.indexOf(QChar(u'\0'))));
    });
}

void frmAbout::Timer1_Timer()
{
    core::Procedure p(QStringLiteral("frmAbout.Timer1_Timer"), core::ErrorVariant::Silent);
    p([&] {
        ++mFrameCounter;
        if (mFrameCounter > kLogoFrames)
            mFrameCounter = 1;
    });
    p([&] {
        pic1->setPicture(imgLogo.at(static_cast<std::size_t>(mFrameCounter - 1))->Picture());
    });
}

void frmAbout::pic1_DblClick()
{
    // The shell's answer is not looked at, and a call that cannot be made is passed over: the
    // user is told nothing either way.
    core::Procedure p(QStringLiteral("frmAbout.pic1_DblClick"), core::ErrorVariant::Silent);
    p([&] { Timer1->stop(); });
    p([&] {
        platform::ShellService *shell = platform::services().shell;
        if (!shell)
            vb::raise(vb::err::ObjectVariableNotSet);
        shell->shellExecute(this, QStringLiteral("open"), kHomePageUrl, QString(), QString(),
                            kShowNormal);
    });
}

void frmAbout::paintEvent(QPaintEvent *event)
{
    Form::paintEvent(event);
    // The etched separator: a dark line with a white one just below it, placed through the
    // window's layout scale as the controls are, so that it stays between the same labels.
    QPainter painter(this);
    auto line = [&](const QColor &color, double x1, double y1, double x2, double y2) {
        painter.setPen(QPen(color, 1));
        painter.drawLine(clientPixelsX(x1), clientTop() + clientPixelsY(y1), clientPixelsX(x2),
                         clientTop() + clientPixelsY(y2));
    };
    line(QColor(0x40, 0x40, 0x40), 150, 2625, 5200, 2625);
    line(Qt::white, 135, 2640, 5185, 2640);
}

void showAboutWindow()
{
    auto *window = new frmAbout();
    window->ShowModal();
}
