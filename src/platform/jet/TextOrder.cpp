#include "TextOrder.h"

#include <QMutex>
#include <QString>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace jet::detail {

namespace {

// The characters whose pairs are checked against the collator before ASCII text is compared by
// the places of its characters: letters, digits and what names carry besides. Pairs are enough to
// find the letter pairs that a language sorts as one letter ("ch" in Czech, "aa" in Danish).
constexpr char kCheckedCharacters[] = "abcdefghijklmnopqrstuvwxyz0123456789 -.',";

int sign(int v)
{
    return (v > 0) - (v < 0);
}

int compareText(void *order, int aLength, const void *a, int bLength, const void *b)
{
    return static_cast<const TextOrder *>(order)->compare(static_cast<const char *>(a), aLength,
                                                          static_cast<const char *>(b), bLength);
}

} // namespace

const TextOrder &TextOrder::forLocale(const QLocale &locale)
{
    static QMutex mutex;
    static std::map<QString, std::unique_ptr<TextOrder>> orders;
    const QLocale language =
        locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : locale;
    const QMutexLocker lock(&mutex);
    std::unique_ptr<TextOrder> &order = orders[language.bcp47Name()];
    if (!order)
        order.reset(new TextOrder(language));
    return *order;
}

TextOrder::TextOrder(const QLocale &locale) : mCollator(locale)
{
    mCollator.setCaseSensitivity(Qt::CaseInsensitive);
    rankAsciiCharacters();
}

void TextOrder::rankAsciiCharacters()
{
    mRank.fill(-1);
    std::vector<QString> printable;
    for (char16_t c = 0x20; c < 0x7f; ++c)
        printable.emplace_back(QChar(c));
    std::stable_sort(
        printable.begin(), printable.end(),
        [this](const QString &x, const QString &y) { return mCollator.compare(x, y) < 0; });
    std::int16_t rank = -1;
    const QString *previous = nullptr;
    for (const QString &c : printable) {
        if (mCollator.compare(c, QString()) == 0)
            continue; // ignored wherever it stands: text with it goes to the collator
        if (!previous || mCollator.compare(*previous, c) != 0)
            ++rank;
        mRank[c[0].unicode()] = rank;
        previous = &c;
    }

    // Comparing by places is right only if the collator, too, decides at the first character that
    // differs: check every pair of the usual characters, in the order the places give.
    std::vector<std::string> checked;
    for (const char *x = kCheckedCharacters; *x; ++x) {
        if (mRank[static_cast<unsigned char>(*x)] < 0)
            continue;
        checked.emplace_back(1, *x);
        for (const char *y = kCheckedCharacters; *y; ++y)
            if (mRank[static_cast<unsigned char>(*y)] >= 0)
                checked.push_back(std::string{*x, *y});
    }
    const auto byRank = [this](const std::string &x, const std::string &y) {
        return compareByRank(x.data(), int(x.size()), y.data(), int(y.size()));
    };
    std::stable_sort(checked.begin(), checked.end(),
                     [&](const std::string &x, const std::string &y) { return byRank(x, y) < 0; });
    for (size_t i = 1; i < checked.size(); ++i) {
        const std::string &x = checked[i - 1];
        const std::string &y = checked[i];
        if (sign(byRank(x, y)) !=
            sign(mCollator.compare(QString::fromLatin1(x.data(), int(x.size())),
                                   QString::fromLatin1(y.data(), int(y.size())))))
            return;
    }
    mAsciiByRank = true;
}

int TextOrder::compare(const char *a, int aLength, const char *b, int bLength) const
{
    if (aLength == bLength && std::memcmp(a, b, static_cast<size_t>(aLength)) == 0)
        return 0;
    if (mAsciiByRank) {
        const auto ranked = [this](const char *s, int length) {
            for (int i = 0; i < length; ++i) {
                const auto c = static_cast<unsigned char>(s[i]);
                if (c >= 0x80 || mRank[c] < 0)
                    return false;
            }
            return true;
        };
        if (ranked(a, aLength) && ranked(b, bLength))
            return compareByRank(a, aLength, b, bLength);
    }
    return compareWithCollator(a, aLength, b, bLength);
}

int TextOrder::compareByRank(const char *a, int aLength, const char *b, int bLength) const
{
    const int n = std::min(aLength, bLength);
    for (int i = 0; i < n; ++i) {
        const int d =
            mRank[static_cast<unsigned char>(a[i])] - mRank[static_cast<unsigned char>(b[i])];
        if (d != 0)
            return d;
    }
    return aLength - bLength;
}

int TextOrder::compareWithCollator(const char *a, int aLength, const char *b, int bLength) const
{
    return mCollator.compare(QString::fromUtf8(a, aLength), QString::fromUtf8(b, bLength));
}

int TextOrder::install(sqlite3 *db) const
{
    return sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, const_cast<TextOrder *>(this),
                                       &compareText, nullptr);
}

} // namespace jet::detail
