#include "DTPicker.h"

#include "platform/services/Services.h"
#include "platform/vb/Conversions.h"
#include "platform/vb/Locale.h"
#include "platform/vb/RuntimeError.h"

#include <QDateTimeEdit>

namespace platform {

namespace {

constexpr int kOutsideRange = 35775;

QDateTime toEditTime(const vb::Date &date)
{
    // The edit works in UTC: a wall-clock value then never meets a daylight-saving gap.
    return QDateTime(date.date(), date.time(), Qt::UTC);
}

vb::Date fromEditTime(const QDateTime &dt)
{
    return vb::Date::fromQDateTime(dt);
}

} // namespace

QString qtDisplayFormat(const QString &picture)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < picture.size(); ++i) {
        const QChar c = picture.at(i);
        if (c == u'\'') {
            quoted = !quoted;
            out += c;
        } else if (!quoted && c == u't') {
            while (i + 1 < picture.size() && picture.at(i + 1) == u't')
                ++i;
            out += QStringLiteral("AP");
        } else {
            out += c;
        }
    }
    return out;
}

DTPicker::DTPicker(QWidget *parent, const QString &name, Format format)
    : Control(ControlKind::DTPicker, parent, name), mEdit(new QDateTimeEdit(this)), mFormat(format)
{
    mEdit->setTimeSpec(Qt::UTC);
    mEdit->setLocale(vb::userPictures().locale);
    mEdit->setDateTimeRange(
        toEditTime(vb::Date::fromYmd(1601, 1, 1)),
        toEditTime(vb::Date::fromDayAndTime(vb::Date::fromYmd(9999, 12, 31).dayNumber(), 86399)));
    if (const Clock *clock = services().clock) {
        const QDateTime now = clock->now();
        mEdit->setDateTime(
            QDateTime(now.date(),
                      QTime(now.time().hour(), now.time().minute(), now.time().second()), Qt::UTC));
    }
    setFormat(format);
    connect(mEdit, &QDateTimeEdit::dateTimeChanged, this, [this] { emit Change(); });
    setInner(mEdit);
}

void DTPicker::setFormat(Format format)
{
    mFormat = format;
    const vb::LocalePictures &pictures = vb::userPictures();
    // A format of time sections alone narrows Qt's range to the day of the current value; the
    // picker's range stays what it was.
    const QDateTime minimum = mEdit->minimumDateTime();
    const QDateTime maximum = mEdit->maximumDateTime();
    switch (format) {
    case Format::Time:
        mEdit->setCalendarPopup(false);
        mEdit->setDisplayFormat(qtDisplayFormat(pictures.time));
        break;
    case Format::ShortDate:
        mEdit->setDisplayFormat(qtDisplayFormat(pictures.shortDate));
        mEdit->setCalendarPopup(true);
        break;
    case Format::LongDate:
        mEdit->setDisplayFormat(qtDisplayFormat(pictures.longDate));
        mEdit->setCalendarPopup(true);
        break;
    }
    mEdit->setDateTimeRange(minimum, maximum);
}

vb::Variant DTPicker::Value() const
{
    return vb::Variant(fromEditTime(mEdit->dateTime()));
}

void DTPicker::setValue(const vb::Variant &value)
{
    const QDateTime dt = toEditTime(vb::CDate(value));
    if (!dt.isValid() || dt < mEdit->minimumDateTime() || dt > mEdit->maximumDateTime())
        vb::raise(kOutsideRange, QStringLiteral("A date was specified that does not fall within "
                                                "the MinDate and MaxDate properties"));
    mEdit->setDateTime(dt);
}

vb::Date DTPicker::MinDate() const
{
    return fromEditTime(mEdit->minimumDateTime());
}

void DTPicker::setMinDate(const vb::Date &date)
{
    mEdit->setMinimumDateTime(toEditTime(date.datePart()));
}

vb::Date DTPicker::MaxDate() const
{
    return fromEditTime(mEdit->maximumDateTime());
}

void DTPicker::setMaxDate(const vb::Date &date)
{
    mEdit->setMaximumDateTime(toEditTime(vb::Date::fromDayAndTime(date.dayNumber(), 86399)));
}

} // namespace platform
