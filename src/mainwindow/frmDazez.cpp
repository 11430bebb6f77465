#include "frmDazez.h"

#include "core/ErrorProtocol.h"
#include "core/Globals.h"
#include "dates/NoticeTimer.h"

#include <QTimer>

frmDazez::frmDazez(QWidget *parent) : platform::Form(QStringLiteral("frmDazez"), parent)
{
    setCaption(core::kProductName + QStringLiteral(" - ") + core::kMakerName);
    setClientSize(9600, 6600);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(300);
    dates::setNoticeTimer(Timer1);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(450);
}

frmDazez::~frmDazez()
{
    if (dates::noticeTimer() == Timer1)
        dates::setNoticeTimer(nullptr);
}

void frmDazez::Form_Load()
{
    core::Procedure p(QStringLiteral("frmDazez.Form_Load"), core::ErrorVariant::Silent);
    p([&] { Show(); });
}
