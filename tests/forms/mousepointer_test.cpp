#include "platform/forms/MousePointer.h"
#include "platform/vb/RuntimeError.h"

#include <QCursor>
#include <QGuiApplication>

#include <gtest/gtest.h>

using namespace platform;

namespace {

TEST(MousePointerTest, TheHourglassIsSetOnceAndOneDefaultTakesItAway)
{
    setScreenMousePointer(vbHourglass);
    setScreenMousePointer(vbHourglass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_EQ(screenMousePointer(), vbHourglass);

    setScreenMousePointer(vbDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(screenMousePointer(), vbDefault);

    // The default when it is the default already leaves another pointer alone.
    QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
    setScreenMousePointer(vbDefault);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor();
}

TEST(MousePointerTest, AnUnknownPointerIsAnInvalidPropertyValue)
{
    try {
        setScreenMousePointer(99);
        FAIL() << "no error";
    } catch (const vb::RuntimeError &e) {
        EXPECT_EQ(e.number(), 380);
    }
    EXPECT_EQ(screenMousePointer(), vbDefault);
}

} // namespace
