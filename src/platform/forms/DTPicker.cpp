#include "DTPicker.h"

#include "platform/services/Services.h"
#include "platform/vb/Conversions.h"
#include "platform/vb/Locale.h"
#include "platform/vb/RuntimeError.h"

#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QSignalBlocker>

#include <algorithm>

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

// The picker is one Tab stop, as the platform's is: Tab and Shift+Tab leave it, Left and Right
// go from part to part (day, month, year; hour, minute, ...), Up and Down change the part.
class PickerEdit : public QDateTimeEdit
{
public:
    using QDateTimeEdit::QDateTimeEdit;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }

    void keyPressEvent(QKeyEvent *event) override
    {
        const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
            const int step = event->key() == Qt::Key_Left ? -1 : 1;
            const int part = std::clamp(currentSectionIndex() + step, 0, sectionCount() - 1);
            setCurrentSectionIndex(part);
            setSelectedSection(sectionAt(part));
            event->accept();
            return;
        }
        QDateTimeEdit::keyPressEvent(event);
    }
};

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
    : Control(ControlKind::DTPicker, parent, name), mEdit(new PickerEdit(this)),
      mMinimum(toEditTime(vb::Date::fromYmd(1601, 1, 1))),
      mMaximum(
          toEditTime(vb::Date::fromDayAndTime(vb::Date::fromYmd(9999, 12, 31).dayNumber(), 86399))),
      mFormat(format)
{
    mEdit->setTimeSpec(Qt::UTC);
    mEdit->setLocale(vb::userPictures().locale);
    mEdit->setDateTimeRange(mMinimum, mMaximum);
    if (const Clock *clock = services().clock) {
        const QDateTime now = clock->now();
        const QTime time = now.time();
        mEdit->setDateTime(
            QDateTime(now.date(), QTime(time.hour(), time.minute(), time.second()), Qt::UTC));
    }
    setFormat(format);
    connect(mEdit, &QDateTimeEdit::dateTimeChanged, this, [this] { emit Change(); });
    setInner(mEdit);
}

void DTPicker::setFormat(Format format)
{
    mFormat = format;
    const vb::LocalePictures &pictures = vb::userPictures();
    // Qt narrows the range of a time-only format to the day of the value, and moves the value
    // through its own steps meanwhile: none of that is a change of the picker's value.
    const QDateTime before = mEdit->dateTime();
    {
        const QSignalBlocker quiet(mEdit);
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
        mEdit->setDateTimeRange(mMinimum, mMaximum);
        mEdit->setDateTime(before);
    }
}

vb::Variant DTPicker::Value() const
{
    return vb::Variant(fromEditTime(mEdit->dateTime()));
}

void DTPicker::setValue(const vb::Variant &value)
{
    const QDateTime dt = toEditTime(vb::CDate(value));
    if (!dt.isValid() || dt < mMinimum || dt > mMaximum)
        vb::raise(kOutsideRange, QStringLiteral("A date was specified that does not fall within "
                                                "the MinDate and MaxDate properties"));
    setEditTime(dt);
}

void DTPicker::setEditTime(const QDateTime &dt)
{
    const QDateTime before = mEdit->dateTime();
    {
        const QSignalBlocker quiet(mEdit);
        mEdit->setDateTimeRange(mMinimum, mMaximum);
        mEdit->setDateTime(dt);
    }
    if (mEdit->dateTime() != before)
        emit Change();
}

vb::Date DTPicker::MinDate() const
{
    return fromEditTime(mMinimum);
}

void DTPicker::setMinDate(const vb::Date &date)
{
    mMinimum = toEditTime(date.datePart());
    mMaximum = std::max(mMaximum, mMinimum);
    setEditTime(std::clamp(mEdit->dateTime(), mMinimum, mMaximum));
}

vb::Date DTPicker::MaxDate() const
{
    return fromEditTime(mMaximum);
}

void DTPicker::setMaxDate(const vb::Date &date)
{
    mMaximum = toEditTime(vb::Date::fromDayAndTime(date.dayNumber(), 86399));
    mMinimum = std::min(mMinimum, mMaximum);
    setEditTime(std::clamp(mEdit->dateTime(), mMinimum, mMaximum));
}

} // namespace platform
