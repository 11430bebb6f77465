#pragma once

#include <QLocale>
#include <QString>

namespace vb {

// The user's date, time and number pictures as the Windows locale functions would give them,
// derived from the process's locale (LC_ALL / LC_TIME / LANG; C and POSIX count as en_US, the
// default of a fresh system). Pictures use the Windows letters: d dd M MM yy yyyy for dates,
// h hh H HH m mm s ss tt for times. Qt's two-digit year pictures are widened to four digits, as
// current Windows locales show years. Qt's zone field is dropped from the time picture, its AM/PM
// field becomes tt, and its h becomes H where the format has no AM/PM (Qt's h is 24-hour then).
// Separators are the first visible non-letter character between two fields (":" and "/" when
// there is none, as in "H時mm分ss秒"). Literal text that holds picture letters is quoted 'so'.
struct LocalePictures
{
    QLocale locale;        // the locale the pictures come from
    QString shortDate;     // "M/d/yyyy", "dd.MM.yyyy", ...
    QString longDate;      // "dddd, MMMM d, yyyy", ...
    QString time;          // "h:mm:ss tt", "HH:mm:ss", ...
    QString dateSeparator; // "/", "."
    QString timeSeparator; // ":"
    QString decimalSeparator;
    QString thousandSeparator;
    QString amDesignator; // "AM" (empty for 24-hour locales)
    QString pmDesignator;
};

// The pictures in force. Computed once from the environment; a test may replace them.
const LocalePictures &userPictures();
// Pictures for a named locale ("de_DE"), with the same mapping.
LocalePictures picturesFor(const QLocale &locale);
// Replaces the pictures in force (tests); picturesFor(QLocale("en_US")) is the usual choice.
void setUserPictures(const LocalePictures &pictures);
// The Qt locale name that the environment asks for (the first non-empty of LC_ALL, LC_TIME and
// LANG), without codeset and modifier: "de_DE.UTF-8@euro" -> "de_DE", "C.UTF-8" -> "C"; "" when
// none is set.
QString environmentLocaleName();

} // namespace vb
