#include "MonthView.h"

#include "platform/services/Services.h"
#include "platform/vb/Conversions.h"
#include "platform/vb/RuntimeError.h"

#include <QAbstractItemModel>
#include <QCalendarWidget>
#include <QStyle>
#include <QTableView>
#include <QToolButton>

namespace platform {

namespace {
const QDate kFirstDay(1753, 1, 1);
const QDate kLastDay(9999, 12, 31);

QDate clampedDay(int year, int month, int day)
{
    const QDate first(year, month, 1);
    return QDate(year, month, std::min(day, first.daysInMonth()));
}
} // namespace

MonthView::MonthView(QWidget *parent, const QString &name)
    : Control(ControlKind::MonthView, parent, name), mCalendar(new QCalendarWidget(this))
{
    mCalendar->setDateRange(kFirstDay, kLastDay);
    mCalendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    mCalendar->setGridVisible(false);
    if (const Clock *clock = services().clock)
        select(clock->now().date());
    setInner(mCalendar);
    // The month arrows show pictures only; a screen reader needs words for them.
    const std::pair<const char *, QString> arrows[] = {
        {"qt_calendar_prevmonth", QStringLiteral("Previous month")},
        {"qt_calendar_nextmonth", QStringLiteral("Next month")},
    };
    for (const auto &[objectName, spoken] : arrows)
        if (auto *arrow = mCalendar->findChild<QToolButton *>(QLatin1String(objectName)))
            arrow->setAccessibleName(spoken);
}

vb::Date MonthView::Value() const
{
    return vb::Date::fromQDate(mCalendar->selectedDate());
}

void MonthView::setValue(const vb::Variant &value)
{
    select(vb::CDate(value).date());
}

int MonthView::Month() const
{
    return mCalendar->selectedDate().month();
}

void MonthView::setMonth(int month)
{
    if (month < 1 || month > 12)
        vb::raise(vb::err::InvalidPropertyValue);
    const QDate now = mCalendar->selectedDate();
    select(clampedDay(now.year(), month, now.day()));
}

int MonthView::Year() const
{
    return mCalendar->selectedDate().year();
}

void MonthView::setYear(int year)
{
    if (year < kFirstDay.year() || year > kLastDay.year())
        vb::raise(vb::err::InvalidPropertyValue);
    const QDate now = mCalendar->selectedDate();
    select(clampedDay(year, now.month(), now.day()));
}

QList<TextRoom> MonthView::textRooms() const
{
    // Worked out from the calendar's size rather than read from its grid, which is laid out
    // only once the window shows: a grid without a frame or headers, its cells dividing what
    // the month-and-year bar above it leaves; a cell's text keeps free on either side what an
    // item view keeps.
    QList<TextRoom> rooms;
    const auto *grid =
        mCalendar->findChild<QTableView *>(QStringLiteral("qt_calendar_calendarview"));
    const auto *bar = mCalendar->findChild<QWidget *>(QStringLiteral("qt_calendar_navigationbar"));
    const QAbstractItemModel *model = grid ? grid->model() : nullptr;
    if (!model || model->rowCount() <= 0 || model->columnCount() <= 0)
        return rooms;
    const int barHeight = bar && !bar->isHidden() ? bar->sizeHint().height() : 0;
    const QSize cell(width() / model->columnCount(), (height() - barHeight) / model->rowCount());
    const int textMargin =
        grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
    const QSize room(cell.width() - 2 * textMargin, cell.height());
    for (int row = 0; row < model->rowCount(); ++row)
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            const QVariant font = index.data(Qt::FontRole);
            rooms.append({{index.data(Qt::DisplayRole).toString()},
                          room,
                          font.isValid() ? font.value<QFont>() : grid->font(),
                          false,
                          cell});
        }
    return rooms;
}

void MonthView::select(const QDate &day)
{
    if (!day.isValid() || day < kFirstDay || day > kLastDay)
        vb::raise(vb::err::InvalidPropertyValue);
    mCalendar->setSelectedDate(day);
    mCalendar->setCurrentPage(day.year(), day.month());
}

} // namespace platform
