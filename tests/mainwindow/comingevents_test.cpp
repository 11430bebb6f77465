// Showing every coming event's notice on request, and the upcoming lists the load builds.

#include "MainWindowFixture.h"

#include "platform/vb/Conversions.h"

using kxmaintest::MainWindowTest;
using kxmaintest::openNotices;

namespace {

const QString kNoUpcomingStatus = QStringLiteral("There are no upcoming Events");

class ComingEventsTest : public MainWindowTest
{
protected:
    // Three coming entries (within their alert days of 2026-12-10) and one that is not.
    void addEntries()
    {
        ids.push_back(addEntry(QStringLiteral("Ann"), QStringLiteral("1980-12-10"), 1, 0));
        ids.push_back(addEntry(QStringLiteral("Bob"), QStringLiteral("1975-12-12"), 2, 3));
        ids.push_back(addEntry(QStringLiteral("Cid"), QStringLiteral("1990-12-13"), 3, 3));
        addEntry(QStringLiteral("Dee"), QStringLiteral("1990-12-14"), 3, 3);
    }

    std::vector<std::int32_t> noticeIds() const
    {
        std::vector<std::int32_t> out;
        for (frmEventNotice *notice : openNotices())
            out.push_back(notice->mlngVemoId);
        return out;
    }

    std::vector<std::int32_t> ids;
};

TEST_F(ComingEventsTest, TheLoadBuildsTheListsOfTheComingEvents)
{
    addEntries();
    load();
    ASSERT_EQ(gcolUpcomingId.Count(), 3);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(vb::CLng(gcolUpcomingId.Item(i)), ids[static_cast<std::size_t>(i - 1)]);
        EXPECT_EQ(vb::CStr(gcolUpcomingStatus.Item(i)), QStringLiteral("d1"));
    }
    EXPECT_TRUE(vb::compareEqual(gudtAppInfo.UpcomingBuiltDate,
                                 vb::Variant(vb::Date::fromYmd(2026, 12, 10))));
    EXPECT_TRUE(openNotices().empty()) << "not asked to show them at start";
}

TEST_F(ComingEventsTest, ShowingTheComingEventsOpensEachClosedNoticeOnce)
{
    addEntries();
    load();
    frm->RunUpComingEvents(1);
    EXPECT_EQ(noticeIds(), ids);
    EXPECT_NE(status(), kNoUpcomingStatus);

    // Asked again while they are open: nothing new, the status says so, and no box, as the
    // window can be seen.
    frm->RunUpComingEvents(1);
    EXPECT_EQ(noticeIds(), ids);
    EXPECT_EQ(status(), kNoUpcomingStatus);
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(ComingEventsTest, WhenOnlyTheLastNoticeIsOpenTheOthersAreShown)
{
    addEntries();
    load();
    frm->RunUpComingEvents(1);
    openNotices()[0]->Unload();
    openNotices()[0]->Unload();
    frm->SetLVWCount();
    const QString before = status();
    frm->RunUpComingEvents(1);
    EXPECT_EQ(openNotices().size(), 3u);
    EXPECT_EQ(status(), before);
}

TEST_F(ComingEventsTest, WithTheWindowHiddenAndNothingComingABoxSaysSo)
{
    load();
    frm->hide();
    platform.messageBox.expect(platform::mb::OK, QStringLiteral("There are no upcoming events."));
    frm->RunUpComingEvents(1);
    EXPECT_EQ(platform.messageBox.calls().size(), 1u);
    EXPECT_EQ(status(), kNoUpcomingStatus);
}

} // namespace
