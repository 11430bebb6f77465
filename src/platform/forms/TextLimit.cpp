#include "TextLimit.h"

#include <QChar>

namespace platform::textlimit {

namespace {

// The units and the characters of the character that starts at `i`. A lone surrogate is a
// character of its own: it is what it is, and cutting before or after it splits nothing.
struct Step
{
    qsizetype units;
    int characters;
};

Step stepAt(QStringView text, qsizetype i, int lineBreak)
{
    if (QChar::isHighSurrogate(text[i].unicode()) && i + 1 < text.size() &&
        QChar::isLowSurrogate(text[i + 1].unicode()))
        return {2, 1};
    return {1, text[i] == u'\n' ? lineBreak : 1};
}

} // namespace

int length(QStringView text, int lineBreak)
{
    int count = 0;
    for (qsizetype i = 0; i < text.size();) {
        const Step step = stepAt(text, i, lineBreak);
        count += step.characters;
        i += step.units;
    }
    return count;
}

qsizetype fittingHead(QStringView text, int room, int lineBreak)
{
    qsizetype i = 0;
    while (i < text.size()) {
        const Step step = stepAt(text, i, lineBreak);
        if (step.characters > room)
            break;
        room -= step.characters;
        i += step.units;
    }
    return i;
}

qsizetype lastCharacters(QStringView text, qsizetype end, int count)
{
    qsizetype i = end;
    for (; i > 0 && count > 0; --count) {
        const bool pair = i >= 2 && QChar::isLowSurrogate(text[i - 1].unicode()) &&
                          QChar::isHighSurrogate(text[i - 2].unicode());
        i -= pair ? 2 : 1;
    }
    return end - i;
}

} // namespace platform::textlimit
