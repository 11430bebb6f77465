#include "Locale.h"

#include <QList>

namespace vb {

namespace {

// One piece of a Qt date/time format.
struct Token
{
    enum Kind { Literal, Field, AmPm, Zone } kind;
    QString text; // the field's letter run, or the literal text unquoted
};

// Splits a Qt format into fields and literal text; Qt's 'quoted' text and '' become literal.
QList<Token> tokenize(const QString &format)
{
    QList<Token> tokens;
    auto literal = [&tokens](const QString &s) {
        if (!tokens.isEmpty() && tokens.back().kind == Token::Literal)
            tokens.back().text += s;
        else
            tokens.push_back(Token{Token::Literal, s});
    };
    const qsizetype n = format.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            if (i + 1 < n && format.at(i + 1) == u'\'') {
                literal(QStringLiteral("'"));
                i += 2;
                continue;
            }
            QString text;
            ++i;
            while (i < n) {
                if (format.at(i) == u'\'') {
                    if (i + 1 < n && format.at(i + 1) == u'\'') {
                        text += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += format.at(i++);
            }
            literal(text);
        } else if (c == u'A' || c == u'a') {
            // "AP", "ap", "A" or "a"
            i += (i + 1 < n && (format.at(i + 1) == u'P' || format.at(i + 1) == u'p')) ? 2 : 1;
            tokens.push_back(Token{Token::AmPm, QString()});
        } else if (QStringLiteral("dMyhHmszt").contains(c)) {
            qsizetype j = i;
            while (j < n && format.at(j) == c)
                ++j;
            tokens.push_back(Token{c == u't' ? Token::Zone : Token::Field, format.mid(i, j - i)});
            i = j;
        } else {
            literal(QString(c));
            ++i;
        }
    }
    return tokens;
}

bool isBlank(QChar c)
{
    return c.isSpace() || c.category() == QChar::Other_Format;
}

// Literal text in the Windows quoting: text holding letters that a picture would read as fields
// (or a quote) goes inside single quotes, '' standing for a quote.
QString windowsLiteral(const QString &text)
{
    bool needsQuotes = false;
    for (QChar c : text) {
        if ((c.isLetter() && c.unicode() < 128) || c == u'\'')
            needsQuotes = true;
    }
    if (!needsQuotes)
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("'"), QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

QString joinWindows(const QList<Token> &tokens)
{
    QString out;
    for (const Token &t : tokens) {
        switch (t.kind) {
        case Token::Literal:
            out += windowsLiteral(t.text);
            break;
        case Token::Field:
            out += t.text;
            break;
        case Token::AmPm:
            out += QStringLiteral("tt");
            break;
        case Token::Zone:
            break;
        }
    }
    return out;
}

// Current Windows locales show four-digit years where CLDR's short pictures have two.
QString windowsDatePicture(const QString &qtFormat)
{
    QList<Token> tokens = tokenize(qtFormat);
    for (Token &t : tokens) {
        if (t.kind == Token::Field && t.text == QStringLiteral("yy"))
            t.text = QStringLiteral("yyyy");
    }
    return joinWindows(tokens);
}

// Removes blanks (and brackets left empty) at the end of `left` and the start of `right`, the
// text that surrounded a dropped zone field.
void trimAroundGap(QString &left, QString &right)
{
    while (!left.isEmpty() && isBlank(left.back()))
        left.chop(1);
    while (!right.isEmpty() && isBlank(right.front()))
        right.remove(0, 1);
    static const QString opening = QStringLiteral("([{");
    static const QString closing = QStringLiteral(")]}");
    if (!left.isEmpty() && !right.isEmpty() && opening.indexOf(left.back()) >= 0 &&
        opening.indexOf(left.back()) == closing.indexOf(right.front())) {
        left.chop(1);
        right.remove(0, 1);
        trimAroundGap(left, right);
    }
}

QString windowsTimePicture(const QString &qtFormat)
{
    QList<Token> tokens = tokenize(qtFormat);
    bool hasAmPm = false;
    for (const Token &t : tokens)
        hasAmPm = hasAmPm || t.kind == Token::AmPm;

    // Windows time pictures carry no zone.
    QList<Token> kept;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != Token::Zone) {
            kept.push_back(tokens[i]);
            continue;
        }
        QString before =
            !kept.isEmpty() && kept.back().kind == Token::Literal ? kept.back().text : QString();
        QString after = i + 1 < tokens.size() && tokens[i + 1].kind == Token::Literal
                            ? tokens[i + 1].text
                            : QString();
        trimAroundGap(before, after);
        if (!kept.isEmpty() && kept.back().kind == Token::Literal)
            kept.back().text = before;
        if (i + 1 < tokens.size() && tokens[i + 1].kind == Token::Literal)
            tokens[i + 1].text = after;
    }
    QList<Token> cleaned;
    for (Token &t : kept) {
        if (t.kind == Token::Literal && t.text.isEmpty())
            continue;
        // Qt's h is the 24-hour clock unless the format shows AM/PM; Windows' h is always 12-hour.
        if (t.kind == Token::Field && t.text.startsWith(u'h') && !hasAmPm)
            t.text = t.text.toUpper();
        cleaned.push_back(t);
    }
    // A picture cannot start or end in a blank left by the zone.
    while (!cleaned.isEmpty() && cleaned.front().kind == Token::Literal &&
           cleaned.front().text.trimmed().isEmpty())
        cleaned.removeFirst();
    while (!cleaned.isEmpty() && cleaned.back().kind == Token::Literal &&
           cleaned.back().text.trimmed().isEmpty())
        cleaned.removeLast();
    return joinWindows(cleaned);
}

bool windowsTimeHasAmPm(const QString &qtFormat)
{
    for (const Token &t : tokenize(qtFormat)) {
        if (t.kind == Token::AmPm)
            return true;
    }
    return false;
}

// The first visible non-letter character between two fields of a Windows picture.
QString separatorOf(const QString &qtFormat, const QString &fallback)
{
    const QList<Token> tokens = tokenize(qtFormat);
    bool afterField = false;
    for (const Token &t : tokens) {
        if (t.kind == Token::Field) {
            afterField = true;
            continue;
        }
        if (t.kind != Token::Literal || !afterField)
            continue;
        for (QChar c : t.text) {
            if (!c.isLetter() && !isBlank(c))
                return QString(c);
        }
    }
    return fallback;
}

bool isCLocale(const QLocale &locale)
{
    return locale.language() == QLocale::C;
}

LocalePictures &current()
{
    static LocalePictures pictures = picturesFor(QLocale(environmentLocaleName()));
    return pictures;
}

} // namespace

LocalePictures picturesFor(const QLocale &requested)
{
    // The C and POSIX locales stand for a system nobody configured: a fresh Windows system.
    const QLocale locale =
        isCLocale(requested) ? QLocale(QLocale::English, QLocale::UnitedStates) : requested;
    LocalePictures p;
    p.locale = locale;
    p.shortDate = windowsDatePicture(locale.dateFormat(QLocale::ShortFormat));
    p.longDate = windowsDatePicture(locale.dateFormat(QLocale::LongFormat));
    p.time = windowsTimePicture(locale.timeFormat(QLocale::LongFormat));
    p.dateSeparator = separatorOf(locale.dateFormat(QLocale::ShortFormat), QStringLiteral("/"));
    p.timeSeparator = separatorOf(locale.timeFormat(QLocale::LongFormat), QStringLiteral(":"));
    p.decimalSeparator = locale.decimalPoint();
    p.thousandSeparator = locale.groupSeparator();
    if (windowsTimeHasAmPm(locale.timeFormat(QLocale::LongFormat))) {
        p.amDesignator = locale.amText();
        p.pmDesignator = locale.pmText();
    }
    return p;
}

const LocalePictures &userPictures()
{
    return current();
}

void setUserPictures(const LocalePictures &pictures)
{
    current() = pictures;
}

QString environmentLocaleName()
{
    QString name;
    for (const char *variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        name = qEnvironmentVariable(variable);
        if (!name.isEmpty())
            break;
    }
    const qsizetype at = name.indexOf(u'@');
    if (at >= 0)
        name.truncate(at);
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    return name;
}

} // namespace vb
