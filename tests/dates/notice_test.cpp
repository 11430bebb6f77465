#include "DatesFixture.h"

#include "dates/cDateHandler.h"
#include "dates/frmEventNotice.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Twips.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>

using kxdatestest::DatesTest;
using kxdatestest::Entry;

namespace {

std::vector<frmEventNotice *> openNotices()
{
    std::vector<frmEventNotice *> notices;
    for (platform::Form *form : platform::Forms())
        if (form->Name().toLower() == QLatin1String("frmeventnotice"))
            notices.push_back(qobject_cast<frmEventNotice *>(form));
    return notices;
}

frmEventNotice *noticeFor(std::int32_t id)
{
    for (frmEventNotice *notice : openNotices())
        if (notice->mlngVemoId == id)
            return notice;
    return nullptr;
}

class NoticeTest : public DatesTest
{
protected:
    // A notice filled by hand and shown, as DisplayEvent does it.
    frmEventNotice *show(const QString &eventName, int daysTil = 3,
                         vb::Date date = vb::Date::fromYmd(1980, 12, 10))
    {
        auto *notice = new frmEventNotice();
        notice->mstrName = QStringLiteral("Ann");
        notice->mdtEventDate = vb::Variant(date);
        notice->mstrEventName = eventName;
        notice->mstrNotes = QStringLiteral("notes");
        notice->mlngDaysTil = daysTil;
        notice->mlngVemoId = 7;
        notice->Show();
        return notice;
    }

    void activate(frmEventNotice *notice)
    {
        notice->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(notice));
    }
};

TEST_F(NoticeTest, DisplayEventFillsAndShowsTheEntrysNotice)
{
    Entry e;
    e.name = QStringLiteral("Grandma Rose");
    e.eventId = 2;
    e.notes = QStringLiteral("Buy flowers");
    e.daysTil = 2;
    const std::int32_t id = addEntry(e);

    EXPECT_TRUE(cDateHandler().DisplayEvent(vb::Variant(id)));

    frmEventNotice *notice = noticeFor(id);
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->isTopmost());
    EXPECT_EQ(notice->mstrName, QStringLiteral("Grandma Rose"));
    EXPECT_EQ(notice->mdtEventDate, vb::Variant(vb::Date::fromYmd(1980, 12, 10)));
    EXPECT_EQ(notice->mstrEventName, QStringLiteral("Anniversary"));
    EXPECT_EQ(notice->mstrNotes, QStringLiteral("Buy flowers"));
    EXPECT_EQ(notice->mlngDaysTil, 2);
    EXPECT_EQ(notice->txtName->Text(), QStringLiteral("Grandma Rose"));
    EXPECT_EQ(notice->txtEventType->Text(), QStringLiteral("Anniversary"));
    EXPECT_EQ(notice->txtDate->Text(), QStringLiteral("12/10/1980"));
    EXPECT_EQ(notice->txtNote->Text(), QStringLiteral("Buy flowers"));
    EXPECT_EQ(notice->txtDaysTil->Text(), QStringLiteral("2"));
    EXPECT_FALSE(notice->txtDaysTil->FontBold());
    EXPECT_EQ(notice->lblId->Caption(), QString::number(id));
    EXPECT_FALSE(notice->lblId->Visible());
    EXPECT_EQ(notice->Caption(), QStringLiteral("Anniversary Notice"));
    for (platform::TextBox *box : {notice->txtName, notice->txtEventType, notice->txtDate,
                                   notice->txtNote, notice->txtDaysTil})
        EXPECT_EQ(box->BackColor(), 0x00C0FFFF) << box->Name().toStdString();
    EXPECT_EQ(grsShared, nullptr);
    EXPECT_TRUE(platform.sound.calls.empty()) << "sound is off";
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(NoticeTest, OneNoticePerEntryAndANewOneAfterItWasClosed)
{
    gudtSettings.SoundOn = 1;
    Entry e;
    const std::int32_t first = addEntry(e);
    const std::int32_t second = addEntry(e);

    EXPECT_TRUE(cDateHandler().DisplayEvent(vb::Variant(first)));
    EXPECT_FALSE(cDateHandler().DisplayEvent(vb::Variant(first)));
    EXPECT_EQ(openNotices().size(), 1u);
    EXPECT_EQ(platform.sound.calls.size(), 1u) << "no sound for a notice already open";

    EXPECT_TRUE(cDateHandler().DisplayEvent(vb::Variant(second)));
    ASSERT_EQ(openNotices().size(), 2u);
    EXPECT_EQ(platform.sound.calls.size(), 2u);
    const frmEventNotice *a = noticeFor(first);
    const frmEventNotice *b = noticeFor(second);
    EXPECT_GT(b->frameGeometry().x(), a->frameGeometry().x()) << "beside the first one";
    EXPECT_GT(b->frameGeometry().y(), a->frameGeometry().y());

    noticeFor(first)->cmdOK->click();
    EXPECT_EQ(noticeFor(first), nullptr);
    EXPECT_TRUE(cDateHandler().DisplayEvent(vb::Variant(first)));
    EXPECT_NE(noticeFor(first), nullptr);
    EXPECT_EQ(openNotices().size(), 2u);
}

TEST_F(NoticeTest, EachNewNoticeStands250TwipsFurtherFromTheCentredPosition)
{
    Entry e;
    std::vector<std::int32_t> ids;
    for (int i = 0; i < 3; ++i)
        ids.push_back(addEntry(e));
    for (int n = 1; n <= 3; ++n) {
        ASSERT_TRUE(cDateHandler().DisplayEvent(vb::Variant(ids[n - 1])));
        const frmEventNotice *notice = noticeFor(ids[n - 1]);
        // Where CenterForm puts a window of this size (fitted to the font; before its first
        // show, without a frame), in whole pixels.
        const double width = platform::pixelsToTwipsX(notice->width());
        const double height = platform::pixelsToTwipsY(notice->height());
        const double left = platform::pixelsToTwipsX(
            platform::twipsToPixelsX(platform.screen.widthTwips() / 2 - width / 2));
        const double top = platform::pixelsToTwipsY(
            platform::twipsToPixelsY(platform.screen.heightTwips() / 2 - height / 2));
        EXPECT_EQ(notice->frameGeometry().x(), platform::twipsToPixelsX(left + 250 * n)) << n;
        EXPECT_EQ(notice->frameGeometry().y(), platform::twipsToPixelsY(top + 250 * n)) << n;
    }
}

TEST_F(NoticeTest, TheEventTypeChoosesIconAndCaption)
{
    const struct
    {
        const char *eventName;
        int icon; // -1: the window's own
        const char *caption;
    } cases[] = {
        {"Birthday", 0, "Birthday Notice"}, {"BIRTHDAY", 0, "Birthday Notice"},
        {"birthday", 0, "Birthday Notice"}, {" birthday", -1, "Event Notice"},
        {"birthday ", -1, "Event Notice"},  {"Anniversary", 1, "Anniversary Notice"},
        {"hOLIDAY", 2, "Holiday Notice"},   {"Event", 3, "Event Notice"},
        {"REMINDER", 4, "Reminder Notice"}, {"Meeting", -1, "Event Notice"},
        {"", -1, "Event Notice"},
    };
    for (const auto &c : cases) {
        frmEventNotice *notice = show(QString::fromLatin1(c.eventName));
        const QIcon expected =
            c.icon < 0 ? frmEventNotice::ownIcon() : frmEventNotice::eventTypeIcon(c.icon);
        EXPECT_EQ(notice->Caption(), QString::fromLatin1(c.caption)) << c.eventName;
        EXPECT_EQ(notice->Icon().cacheKey(), expected.cacheKey()) << c.eventName;
        notice->Unload();
    }
    // The pictures are there in both sizes.
    for (int i = 0; i < 5; ++i) {
        const QList<QSize> sizes = frmEventNotice::eventTypeIcon(i).availableSizes();
        EXPECT_TRUE(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32))) << i;
    }
}

TEST_F(NoticeTest, TodayAndTodaysOwnDateAreBold)
{
    setToday(QDate(2026, 12, 10));
    const struct
    {
        vb::Date stored;
        int daysTil;
        bool dateBold;
        const char *daysText;
        bool daysBold;
    } cases[] = {
        {vb::Date::fromYmd(1980, 12, 10), 0, false, "Today", true}, // recurs today
        {vb::Date::fromYmd(2026, 12, 10), 0, true, "Today", true},  // is today
        {vb::Date::fromQDateTime(QDateTime(QDate(2026, 12, 10), QTime(0, 0))), 0, true, "Today",
         true},
        {vb::Date::fromYmd(2026, 12, 11), 1, false, "1", false},
        {vb::Date::fromYmd(2025, 12, 10), 0, false, "Today", true},
    };
    for (const auto &c : cases) {
        frmEventNotice *notice = show(QStringLiteral("Birthday"), c.daysTil, c.stored);
        EXPECT_EQ(notice->txtDate->FontBold(), c.dateBold) << notice->txtDate->Text().toStdString();
        EXPECT_EQ(notice->txtDaysTil->Text(), QString::fromLatin1(c.daysText));
        EXPECT_EQ(notice->txtDaysTil->FontBold(), c.daysBold);
        notice->Unload();
    }
}

TEST_F(NoticeTest, EscClosesTheNotice)
{
    QPointer<frmEventNotice> notice = show(QStringLiteral("Birthday"));
    QTest::keyClick(notice->txtNote->inner(), Qt::Key_Escape);
    EXPECT_TRUE(notice.isNull() || notice->isUnloaded());
    EXPECT_TRUE(openNotices().empty());
}

TEST_F(NoticeTest, TheDisplayFieldsPassTheFocusToTheHiddenCheckBox)
{
    frmEventNotice *notice = show(QStringLiteral("Birthday"));
    activate(notice);
    EXPECT_TRUE(notice->chkDummy->Visible());
    EXPECT_FALSE(notice->rect().intersects(notice->chkDummy->geometry()));
    for (platform::TextBox *box : {notice->txtName, notice->txtEventType, notice->txtDate}) {
        box->SetFocus();
        QApplication::processEvents();
        EXPECT_EQ(notice->ActiveControl(), notice->chkDummy) << box->Name().toStdString();
    }
}

TEST_F(NoticeTest, TheNotesScrollWithUpAndDownAndTakeNoOtherKey)
{
    frmEventNotice *notice = show(QStringLiteral("Birthday"));
    notice->mstrNotes.clear();
    const QString notes = QStringLiteral("line one\r\nline two\r\nline three");
    notice->txtNote->setText(notes);
    activate(notice);
    notice->txtNote->SetFocus();
    auto *edit = qobject_cast<QPlainTextEdit *>(notice->txtNote->inner());
    ASSERT_NE(edit, nullptr);
    edit->moveCursor(QTextCursor::Start);

    QTest::keyClicks(edit, QStringLiteral("abc"));
    for (Qt::Key key : {Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Space})
        QTest::keyClick(edit, key);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(notice->txtNote->Text(), notes);

    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->textCursor().blockNumber(), 1);
    QTest::keyClick(edit, Qt::Key_Down);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->textCursor().blockNumber(), 1);
    EXPECT_EQ(notice->txtNote->Text(), notes);
}

TEST_F(NoticeTest, NotesLongerThanTheTypingLimitAreShownWhole)
{
    Entry e;
    e.notes = QString(600, QLatin1Char('n'));
    const std::int32_t id = addEntry(e);
    ASSERT_TRUE(cDateHandler().DisplayEvent(vb::Variant(id)));
    EXPECT_EQ(noticeFor(id)->txtNote->Text(), e.notes);
    EXPECT_EQ(noticeFor(id)->txtNote->MaxLength(), 255);
}

TEST_F(NoticeTest, ResetTimeDoesNothing)
{
    frmEventNotice *notice = show(QStringLiteral("Birthday"));
    EXPECT_TRUE(notice->ResetTime().isEmpty());
    EXPECT_TRUE(debugLog().isEmpty());
}

TEST_F(NoticeTest, TheAlarmSoundFollowsTheSoundSetting)
{
    const QString soundFile = QDir(platform.programFolder()).filePath("virazivuzo.wav");
    const struct
    {
        std::int16_t soundOn;
        bool fileThere;
        std::size_t calls;
    } cases[] = {{1, true, 1}, {0, true, 0}, {1, false, 1}};
    for (const auto &c : cases) {
        QFile::remove(soundFile);
        if (c.fileThere) {
            QFile f(soundFile);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        gudtSettings.SoundOn = c.soundOn;
        platform.sound.calls.clear();
        const std::int32_t id = addEntry(Entry{});

        EXPECT_TRUE(cDateHandler().DisplayEvent(vb::Variant(id))) << "shown with or without sound";
        ASSERT_EQ(platform.sound.calls.size(), c.calls);
        if (c.calls) {
            EXPECT_EQ(QDir::fromNativeSeparators(platform.sound.calls[0].path),
                      QDir::fromNativeSeparators(soundFile));
            EXPECT_EQ(platform.sound.calls[0].flags, 3u);
        }
        EXPECT_NE(noticeFor(id), nullptr);
    }
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(NoticeTest, ANoticeForAMissingEntryAsksAndLeavesNoWindowBehind)
{
    platform.messageBox.expect(platform::mb::Abort, QStringLiteral("cDateHandler.DisplayEvent"));
    EXPECT_FALSE(cDateHandler().DisplayEvent(vb::Variant(4711)));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(openNotices().empty());
    EXPECT_EQ(platform.messageBox.pendingAnswers(), 0u);
}

} // namespace
