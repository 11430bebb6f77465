#include "core/ToolbarPictures.h"

#include "platform/forms/ImageList.h"

#include <QIcon>
#include <QImage>
#include <QObject>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QStringList kKeys = {"new",   "save",       "delete",  "cut",  "copy",
                           "paste", "showevents", "systray", "help", "exit"};

QImage image(const QIcon &icon)
{
    return icon.pixmap(16, 16).toImage();
}

// Takes the desktop's icon theme away for the test's duration: no picture comes from a theme.
class NoIconTheme
{
public:
    NoIconTheme() : mTheme(QIcon::themeName()), mFallback(QIcon::fallbackThemeName())
    {
        QIcon::setThemeName(QStringLiteral("kx-no-such-theme"));
        QIcon::setFallbackThemeName(QStringLiteral("kx-no-such-theme"));
    }
    ~NoIconTheme()
    {
        QIcon::setThemeName(mTheme);
        QIcon::setFallbackThemeName(mFallback);
    }

private:
    QString mTheme, mFallback;
};

} // namespace

TEST(ToolbarPictures, EveryToolbarKeyHasAPictureInOrderWhateverTheTheme)
{
    for (bool theme : {true, false}) {
        std::unique_ptr<NoIconTheme> none(theme ? nullptr : new NoIconTheme);
        QObject owner;
        platform::ImageList *ils2 = core::makeToolbarImageList(&owner);
        EXPECT_EQ(ils2->objectName(), QStringLiteral("ils2"));
        ASSERT_EQ(ils2->Count(), kKeys.size());
        for (int i = 1; i <= ils2->Count(); ++i) {
            const QString key = kKeys.at(i - 1);
            EXPECT_EQ(ils2->Key(i), key);
            EXPECT_FALSE(image(ils2->ListImages(i)).isNull()) << key.toStdString();
            if (!theme) // our own picture stands in
                EXPECT_EQ(image(ils2->ListImages(i)), image(core::drawnToolbarPicture(key)))
                    << key.toStdString();
        }
    }
}

TEST(ToolbarPictures, OwnPicturesAreDrawnAndDifferentForEachKey)
{
    QList<QImage> seen;
    for (const QString &key : kKeys) {
        const QImage picture = image(core::drawnToolbarPicture(key));
        ASSERT_FALSE(picture.isNull()) << key.toStdString();
        EXPECT_FALSE(seen.contains(picture)) << key.toStdString() << " looks like another";
        seen << picture;
    }
    EXPECT_TRUE(core::drawnToolbarPicture(QStringLiteral("paste ")).isNull());
}
