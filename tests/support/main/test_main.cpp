#include "platform/vb/Locale.h"

#include <QApplication>
#include <gtest/gtest.h>

// Widgets need an application object; tests run offscreen with the US pictures unless a test
// sets others for itself.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vb::setUserPictures(vb::picturesFor(QLocale(QStringLiteral("en_US"))));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
