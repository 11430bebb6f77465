#include "platform/vb/Locale.h"

#include <gtest/gtest.h>

using vb::LocalePictures;
using vb::picturesFor;

TEST(PicturesFor, WindowsPicturesFromQtFormats)
{
    const struct
    {
        const char *name;
        const char *localeName; // the locale the pictures come from
        const char *shortDate, *longDate, *time, *dateSeparator, *timeSeparator, *decimal, *group,
            *am, *pm;
    } cases[] = {
        {"en_US", "en_US", "M/d/yyyy", "dddd, MMMM d, yyyy", "h:mm:ss tt", "/", ":", ".", ",", "AM",
         "PM"},
        {"de_DE", "de_DE", "dd.MM.yyyy", "dddd, d. MMMM yyyy", "HH:mm:ss", ".", ":", ",", ".", "",
         ""},
        {"en_GB", "en_GB", "dd/MM/yyyy", "dddd, d MMMM yyyy", "HH:mm:ss", "/", ":", ".", ",", "",
         ""},
        {"fr_FR", "fr_FR", "dd/MM/yyyy", "dddd d MMMM yyyy", "HH:mm:ss", "/", ":", ",", "\u202f",
         "", ""},
        {"ja_JP", "ja_JP", "yyyy/MM/dd", "yyyy年M月d日dddd", "H時mm分ss秒", "/", ":", ".", ",", "",
         ""},
        {"C", "en_US", "M/d/yyyy", "dddd, MMMM d, yyyy", "h:mm:ss tt", "/", ":", ".", ",", "AM",
         "PM"},
        {"POSIX", "en_US", "M/d/yyyy", "dddd, MMMM d, yyyy", "h:mm:ss tt", "/", ":", ".", ",", "AM",
         "PM"},
        // Quoted literals, a bracketed zone, and AM/PM in front.
        {"es_ES", "es_ES", "d/M/yyyy", "dddd, d' de 'MMMM' de 'yyyy", "H:mm:ss", "/", ":", ",", ".",
         "", ""},
        {"ko_KR", "ko_KR", "yyyy. M. d.", "yyyy년 M월 d일 dddd", "tt h시 m분 s초", ".", ":", ".",
         ",", "오전", "오후"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const LocalePictures p = picturesFor(QLocale(QString::fromUtf8(c.name)));
        EXPECT_EQ(p.locale.name(), QString::fromUtf8(c.localeName));
        EXPECT_EQ(p.shortDate, QString::fromUtf8(c.shortDate));
        EXPECT_EQ(p.longDate, QString::fromUtf8(c.longDate));
        EXPECT_EQ(p.time, QString::fromUtf8(c.time));
        EXPECT_EQ(p.dateSeparator, QString::fromUtf8(c.dateSeparator));
        EXPECT_EQ(p.timeSeparator, QString::fromUtf8(c.timeSeparator));
        EXPECT_EQ(p.decimalSeparator, QString::fromUtf8(c.decimal));
        EXPECT_EQ(p.thousandSeparator, QString::fromUtf8(c.group));
        EXPECT_EQ(p.amDesignator, QString::fromUtf8(c.am));
        EXPECT_EQ(p.pmDesignator, QString::fromUtf8(c.pm));
    }
}

// The tests run under LC_ALL=C.UTF-8 (see tests/CMakeLists.txt).
TEST(EnvironmentLocaleName, StripsTheCodeset)
{
    if (qEnvironmentVariable("LC_ALL") != QStringLiteral("C.UTF-8"))
        GTEST_SKIP() << "runs under LC_ALL=C.UTF-8 only";
    EXPECT_EQ(vb::environmentLocaleName(), QStringLiteral("C"));
}
