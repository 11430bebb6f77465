#include "UpcomingLists.h"

#include "platform/vb/RuntimeError.h"

#include <array>
#include <limits>

vb::Collection gcolUpcomingId;
vb::Collection gcolUpcomingDate;
vb::Collection gcolUpcomingDaysTil;
vb::Collection gcolUpcomingTime;
vb::Collection gcolUpcomingStatus;
std::int32_t glngUpcomingKey = 0;

namespace dates {

namespace {

std::array<vb::Collection *, 5> lists()
{
    return {&gcolUpcomingId, &gcolUpcomingDate, &gcolUpcomingDaysTil, &gcolUpcomingTime,
            &gcolUpcomingStatus};
}

} // namespace

QString nextUpcomingKey()
{
    if (glngUpcomingKey == std::numeric_limits<std::int32_t>::max())
        vb::raise(vb::err::Overflow);
    ++glngUpcomingKey;
    return QString::number(glngUpcomingKey) + QLatin1Char('k');
}

void appendUpcoming(const vb::Variant &id, const vb::Variant &date, const vb::Variant &daysTil,
                    const vb::Variant &time, const vb::Variant &status)
{
    const QString key = nextUpcomingKey();
    const std::array<const vb::Variant *, 5> items = {&id, &date, &daysTil, &time, &status};
    const auto all = lists();
    std::size_t added = 0;
    try {
        for (; added < all.size(); ++added)
            all[added]->Add(*items[added], key);
    } catch (...) {
        while (added > 0) {
            --added;
            all[added]->Remove(all[added]->Count());
        }
        throw;
    }
}

void removeUpcomingAt(int position)
{
    for (vb::Collection *list : lists())
        if (position < 1 || position > list->Count())
            vb::raise(vb::err::SubscriptOutOfRange);
    for (vb::Collection *list : lists())
        list->Remove(position);
}

void replaceUpcomingLists()
{
    for (vb::Collection *list : lists())
        *list = vb::Collection();
}

void resetUpcomingLists()
{
    replaceUpcomingLists();
    glngUpcomingKey = 0;
}

} // namespace dates
