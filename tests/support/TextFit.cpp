#include "TextFit.h"

#include "platform/forms/DesignFont.h"
#include "platform/forms/Twips.h"
#include "platform/services/Services.h"

#include <QApplication>

namespace kxtest {

::testing::AssertionResult textsFit(const platform::Form &form)
{
    QStringList faults;
    for (const platform::TextOverflow &overflow : platform::textOverflows(form))
        faults.append(overflow.describe());
    if (const platform::ScreenService *screen = platform::services().screen) {
        const QRect desktop(0, 0, platform::twipsToPixelsX(screen->widthTwips()),
                            platform::twipsToPixelsY(screen->heightTwips()));
        if (!desktop.contains(form.frameGeometry()))
            faults.append(QStringLiteral("the window (%1, %2, %3 x %4) does not lie on the screen")
                              .arg(form.frameGeometry().x())
                              .arg(form.frameGeometry().y())
                              .arg(form.frameGeometry().width())
                              .arg(form.frameGeometry().height()));
    }
    if (faults.isEmpty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << form.Name().toStdString() << " at " << form.font().pointSizeF() << " pt:\n  "
           << faults.join(QStringLiteral("\n  ")).toStdString();
}

namespace {
// Qt posts the news of a changed font to the windows: delivered at once, the windows open now
// are fitted before the test goes on, not at some later turn of the event loop.
void setDesktopFont(const QFont &font)
{
    QApplication::setFont(font);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::ApplicationFontChange);
}
} // namespace

DesktopFont::DesktopFont(double pointSize) : mBefore(QApplication::font())
{
    if (pointSize <= 0)
        return;
    QFont font = mBefore;
    font.setPointSizeF(pointSize);
    setDesktopFont(font);
}

DesktopFont::~DesktopFont()
{
    setDesktopFont(mBefore);
}

} // namespace kxtest
