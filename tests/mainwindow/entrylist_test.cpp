// The entry list: its refill, sort direction, pictures, failure path and click handlers.

#include "EditorDouble.h"
#include "MainWindowFixture.h"

#include "platform/forms/ImageList.h"
#include "platform/forms/WindowUpdateLock.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <QTreeWidget>

using kxmaintest::MainWindowTest;

namespace {

class EntryListTest : public MainWindowTest
{
protected:
    // Today is 2026-12-10. Days until: Cid 1, Ann 2, Bob 10, Dee 26; by name Ann Bob Cid Dee;
    // by date Dee (1960) Bob (1975) Ann (1980) Cid (1990); by event type Ann Bob Cid Dee.
    void addFour()
    {
        addEntry(QStringLiteral("Ann"), QStringLiteral("1980-12-12"), 1);
        addEntry(QStringLiteral("Bob"), QStringLiteral("1975-12-20"), 2);
        addEntry(QStringLiteral("Cid"), QStringLiteral("1990-12-11"), 3);
        addEntry(QStringLiteral("Dee"), QStringLiteral("1960-01-05"), 5);
    }

    void clickHeader(int position)
    {
        QHeaderView *header = frm->lvw1->tree()->header();
        const QPoint at(header->sectionViewportPosition(position - 1) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    void clickRow(int row)
    {
        QTreeWidget *tree = frm->lvw1->tree();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(tree->topLevelItem(row - 1)).center());
    }
};

TEST_F(EntryListTest, AnEmptyTableGivesTheFourHeadersNoRowsAndKeepsTheDirection)
{
    load();
    ASSERT_EQ(frm->intSortDesc, 0);
    frm->SetEventList(frm->lvw1, 0, 0);
    EXPECT_EQ(frm->intSortDesc, 0) << "not reversed by an empty refill";
    EXPECT_EQ(frm->lvw1->ListItems().Count(), 0);
    frm->SetLVWCount();
    EXPECT_EQ(status(), QStringLiteral("You have 0 records in this listview."));

    const struct
    {
        const char *text;
        const char *key;
        double width;
        platform::Alignment alignment;
    } headers[] = {
        {"Name", "Name", 1800, platform::Alignment::Left},
        {"Date", "Date", 1400, platform::Alignment::Left},
        {"Event", "Event", 1250, platform::Alignment::Center},
        {"Days Til", "DaysTil", 750, platform::Alignment::Center},
    };
    ASSERT_EQ(frm->lvw1->ColumnHeaders().Count(), 4);
    for (int i = 0; i < 4; ++i) {
        const platform::ColumnHeader *h = frm->lvw1->ColumnHeaders().Item(i + 1);
        EXPECT_EQ(h->Text(), QString::fromLatin1(headers[i].text));
        EXPECT_EQ(h->Key(), QString::fromLatin1(headers[i].key));
        EXPECT_EQ(h->Width(), headers[i].width);
        EXPECT_EQ(h->alignment(), headers[i].alignment);
    }
}

TEST_F(EntryListTest, TheLoadListsEveryEntrySoonestFirstWithItsDateTypeAndDays)
{
    addFour();
    load();
    EXPECT_EQ(column(0), QStringList({"Cid", "Ann", "Bob", "Dee"}));
    EXPECT_EQ(column(1), QStringList({"12/11/1990", "12/12/1980", "12/20/1975", "1/5/1960"}));
    EXPECT_EQ(column(2), QStringList({"Holiday", "Birthday", "Anniversary", "Reminder"}));
    EXPECT_EQ(column(3), QStringList({"1", "2", "10", "26"}));
    const platform::ListItem *cid = frm->lvw1->ListItems().Item(1);
    EXPECT_TRUE(cid->Key().startsWith(QLatin1Char('K')));
    EXPECT_EQ(cid->Icon(), 1);
    EXPECT_EQ(cid->SmallIcon(), 3);
    EXPECT_EQ(frm->lvw1->SmallIcons(), frm->ils3);
    EXPECT_EQ(frm->lvw1->Icons(), frm->ils3);
    EXPECT_EQ(frm->intSortDesc, 1);
    EXPECT_EQ(status(), QStringLiteral("You have 4 records in this listview."));
    EXPECT_EQ(value(QStringLiteral("SELECT Dazez_DaysTil FROM Dazez WHERE Dazez_Name = 'Dee'")),
              QStringLiteral("26"))
        << "the refill stored the recomputed days";
}

// The window is fitted to the desktop's font before rows of every type need be there: the event
// column names the texts it makes room for, and they are the ones its rows show.
TEST_F(EntryListTest, TheEventColumnMakesRoomForEveryTypeAsTheRowsShowIt)
{
    for (int type = 1; type <= 5; ++type)
        addEntry(QStringLiteral("E%1").arg(type), QStringLiteral("1980-12-12"), type);
    load();
    QStringList shown = column(2);
    shown.sort();
    QStringList whole = frm->lvw1->ColumnHeaders().Item(3)->wholeTexts();
    whole.sort();
    EXPECT_EQ(shown, whole);
    EXPECT_EQ(frm->lvw1->ColumnHeaders().Item(4)->wholeTexts(), QStringList{QStringLiteral("365")});
    EXPECT_TRUE(frm->lvw1->ColumnHeaders().Item(1)->wholeTexts().isEmpty()) << "names may be cut";
}

TEST_F(EntryListTest, EachHeaderClickReversesTheDirectionWhicheverColumnCameBefore)
{
    addFour();
    load();
    const struct
    {
        int position;
        QStringList names;
    } clicks[] = {
        {1, {"Dee", "Cid", "Bob", "Ann"}}, // the load left the direction at descending
        {1, {"Ann", "Bob", "Cid", "Dee"}}, // the same header again: the other direction
        {2, {"Cid", "Ann", "Bob", "Dee"}}, // dates after names: the opposite direction
        {4, {"Cid", "Ann", "Bob", "Dee"}},
        // The statement reads the types descending, the list then sorts their names ascending.
        {3, {"Bob", "Ann", "Cid", "Dee"}},
    };
    for (const auto &c : clicks) {
        clickHeader(c.position);
        EXPECT_EQ(column(0), c.names) << "header " << c.position;
        EXPECT_EQ(status(), QStringLiteral("You have 4 records in this listview."));
    }
}

TEST_F(EntryListTest, DaysTilAndColumnZeroOrderAlike)
{
    addFour();
    load();
    for (int sortDesc : {0, 1}) {
        frm->intSortDesc = static_cast<std::int16_t>(sortDesc);
        frm->SetEventList(frm->lvw1, 4, 0);
        const QStringList byHeader = column(0);
        frm->intSortDesc = static_cast<std::int16_t>(sortDesc);
        frm->SetEventList(frm->lvw1, 0, 0);
        EXPECT_EQ(column(0), byHeader) << sortDesc;
    }
}

TEST_F(EntryListTest, PicturesFollowTheTypeNameInAnyCaseAndOtherTypesTakeTheRowAbove)
{
    execute(QStringLiteral("INSERT INTO Events (Events_Id, Events_EventName) VALUES (6, "
                           "'bIRTHDAY')"));
    execute(QStringLiteral("INSERT INTO Events (Events_Id, Events_EventName) VALUES (7, "
                           "'Meeting')"));
    addEntry(QStringLiteral("M1"), QStringLiteral("2000-12-11"), 7); // 1 day
    addEntry(QStringLiteral("B1"), QStringLiteral("2000-12-12"), 6);
    addEntry(QStringLiteral("M2"), QStringLiteral("2000-12-13"), 7);
    addEntry(QStringLiteral("H1"), QStringLiteral("2000-12-14"), 3);
    addEntry(QStringLiteral("X1"), QStringLiteral("2000-12-15"), 99); // no such type
    load();
    const struct
    {
        const char *name;
        const char *type;
        int picture;
    } rows[] = {
        {"M1", "Meeting", 0}, // the first row: no picture before it
        {"B1", "bIRTHDAY", 1}, {"M2", "Meeting", 1}, {"H1", "Holiday", 3}, {"X1", "", 3},
    };
    ASSERT_EQ(frm->lvw1->ListItems().Count(), 5);
    for (int i = 0; i < 5; ++i) {
        const platform::ListItem *item = frm->lvw1->ListItems().Item(i + 1);
        EXPECT_EQ(item->Text(), QString::fromLatin1(rows[i].name));
        EXPECT_EQ(item->SubItems(2), QString::fromLatin1(rows[i].type)) << rows[i].name;
        EXPECT_EQ(item->SmallIcon(), rows[i].picture) << rows[i].name;
    }
    EXPECT_EQ(frm->ils3->Key(1), QStringLiteral("birthday"));
    EXPECT_EQ(frm->ils3->Key(5), QStringLiteral("reminder"));
}

TEST_F(EntryListTest, RefillsThatKeepTheDirectionUseTheSameOneEachTime)
{
    addFour();
    load(); // ascending, and 1 for the next refill
    for (int i = 0; i < 2; ++i) {
        frm->SetEventList(frm->lvw1, 0, 1);
        EXPECT_EQ(column(0), QStringList({"Cid", "Ann", "Bob", "Dee"})) << i;
        EXPECT_EQ(frm->intSortDesc, 1);
    }
}

TEST_F(EntryListTest, CalledByNameWithTwoArgumentsItActsAsWithADefaultOfZero)
{
    addFour();
    load();
    QObject *list = frm->control(QStringLiteral("lvw1"));
    ASSERT_EQ(list, frm->lvw1);
    frm->intSortDesc = 0;
    bool result = true;
    ASSERT_TRUE(QMetaObject::invokeMethod(frm, "SetEventList", Q_RETURN_ARG(bool, result),
                                          Q_ARG(QObject *, list), Q_ARG(int, 0)));
    EXPECT_FALSE(result);
    EXPECT_EQ(column(0), QStringList({"Cid", "Ann", "Bob", "Dee"}));
    EXPECT_EQ(frm->intSortDesc, 1) << "reversed for the next refill, as argument 0 does";
    ASSERT_TRUE(QMetaObject::invokeMethod(frm, "SetEventList", Q_ARG(QObject *, list),
                                          Q_ARG(int, 0), Q_ARG(int, 0)));
    EXPECT_EQ(column(0), QStringList({"Dee", "Bob", "Ann", "Cid"}));
}

// Rows of a damaged or hand-edited file among good ones: a date the runtime cannot read, no
// name, Null in every column. The days-until pass and the refill each log a row they cannot read
// once and go on; every other row is listed with its right days until, and a row whose date is
// only text is listed with that text and the days it stored.
TEST_F(EntryListTest, RowsThatCannotBeReadAreLoggedOnceAndPassedOverWhileTheOthersAreListed)
{
    const struct
    {
        const char *name; // null: Null
        const char *date; // null: Null
        int stored;
    } rows[] = {
        {"Nul", nullptr, 0},
        {"Ann", "1980-12-12 00:00:00", 0},
        {"Zed", "0000-01-01", 50},
        {nullptr, "1970-12-15 00:00:00", 0},
        {"Bob", "1975-12-20 00:00:00", 0},
        {"Feb", "2024-02-30", 51},
        {"Cid", "1990-12-11 00:00:00", 0},
        {"Emp", "", 52},
    };
    auto sql = [](const char *text) {
        return text ? QStringLiteral("'%1'").arg(QLatin1String(text)) : QStringLiteral("NULL");
    };
    for (const auto &r : rows)
        execute(QStringLiteral("INSERT INTO Dazez (Events_Id, Dazez_Name, Dazez_Date, Dazez_Time, "
                               "Dazez_AlertDays, Dazez_DaysTil) VALUES (1, %1, %2, "
                               "'1899-12-30 09:00:00', 3, %3)")
                    .arg(sql(r.name), sql(r.date))
                    .arg(r.stored));
    execute(QStringLiteral("INSERT INTO Dazez (Dazez_Id) VALUES (9999)"));
    make();
    bool lockedWhileFilling = false;
    QObject::connect(frm->lvw1->tree()->model(), &QAbstractItemModel::rowsInserted, frm, [&] {
        lockedWhileFilling = platform::lockedWindow() == frm && !frm->updatesEnabled();
    });
    frm->intSortDesc = 0;

    EXPECT_FALSE(frm->SetEventList(frm->lvw1, 0, 0));

    EXPECT_EQ(column(0), QStringList({"Cid", "Ann", "Bob", "Zed", "Feb", "Emp"}));
    EXPECT_EQ(column(1), QStringList({"12/11/1990", "12/12/1980", "12/20/1975", "0000-01-01",
                                      "2024-02-30", ""}));
    EXPECT_EQ(column(3), QStringList({"1", "2", "10", "50", "51", "52"}));
    frm->SetLVWCount();
    EXPECT_EQ(status(), QStringLiteral("You have 6 records in this listview."));
    const QString log = debugLog();
    EXPECT_EQ(log.count(QStringLiteral("Description: cDateHandler.SetDaysTil")), 5)
        << "Nul, Zed, Feb, Emp and the Null row";
    EXPECT_EQ(log.count(QStringLiteral("Description: frmDazez.SetEventList")), 3)
        << "Nul, the nameless row and the Null row";
    EXPECT_EQ(frm->intSortDesc, 1) << "the refill went to its end";
    EXPECT_TRUE(lockedWhileFilling);
    EXPECT_EQ(platform::lockedWindow(), nullptr);
    EXPECT_TRUE(frm->updatesEnabled());
    EXPECT_EQ(grsShared, nullptr);
    EXPECT_THROW(gwsMain->CommitTrans(), vb::RuntimeError) << "no transaction left open";
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(EntryListTest, ClickingARowTakesItsIdWhichOutlivesARefill)
{
    execute(QStringLiteral("INSERT INTO Dazez (Dazez_Id, Events_Id, Dazez_Name, Dazez_Date, "
                           "Dazez_Time, Dazez_AlertDays, Dazez_DaysTil) VALUES (17, 1, 'Kim', "
                           "'1980-12-11 00:00:00', '1899-12-30 09:00:00', 3, 0)"));
    addEntry(QStringLiteral("Lou"), QStringLiteral("1980-12-20"));
    load();
    EXPECT_EQ(frm->mlngCurrentId, 0);
    clickRow(1);
    EXPECT_EQ(frm->lvw1->SelectedItem()->Key(), QStringLiteral("K17"));
    EXPECT_EQ(frm->mlngCurrentId, 17);
    EXPECT_EQ(status(), QStringLiteral("You have 2 records in this listview."));

    execute(QStringLiteral("DELETE FROM Dazez WHERE Dazez_Id = 17"));
    frm->SetEventList(frm->lvw1, 0, 1);
    EXPECT_EQ(frm->mlngCurrentId, 17) << "a refill keeps it, even with the entry gone";
    frm->lvw1_Click(); // nothing selected now
    EXPECT_EQ(frm->mlngCurrentId, 17);
    EXPECT_EQ(status(), QStringLiteral("You have 1 records in this listview."));
}

TEST_F(EntryListTest, ADoubleClickTakesTheRowsIdAndOpensTheEditorForIt)
{
    addEntry(QStringLiteral("Ann"), QStringLiteral("1980-12-12"));
    load();
    kxmaintest::EditorHookScope editors;
    QTreeWidget *tree = frm->lvw1->tree();
    const QPoint row = tree->visualItemRect(tree->topLevelItem(0)).center();
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, row);
    frm->lvw1->ListItems().Item(1)->setSelected(false);
    frm->mlngCurrentId = 5;
    frm->lvw1_DblClick(); // no row selected: the editor opens for the id there is
    const std::int32_t ann = frm->lvw1->ListItems().Item(1)->Key().mid(1).toInt();
    ASSERT_EQ(editors.openings.size(), 2u);
    EXPECT_EQ(editors.openings[0].id, ann);
    EXPECT_EQ(editors.openings[1].id, 5);
}

// A keyboard user walks the list with the arrows: the row they stop on is the chosen one, for
// Delete, the pop-up menu's Edit and the exit alike, also once the menu has taken the focus and
// every row is deselected. The rows run Cid, Ann, Bob, Dee.
TEST_F(EntryListTest, TheRowTheArrowKeysStopOnIsTheChosenOne)
{
    const struct
    {
        const char *name;
        bool clickFirstRow; // else Tab brings the focus, which leaves the first row unselected
        QList<Qt::Key> keys;
        QString chosen;
    } cases[] = {
        {"clicked, then Down twice", true, {Qt::Key_Down, Qt::Key_Down}, QStringLiteral("Bob")},
        {"clicked, Down twice, Up", true, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up},
         QStringLiteral("Ann")},
        {"Tab, then Down", false, {Qt::Key_Down}, QStringLiteral("Ann")},
        {"Tab, then End", false, {Qt::Key_End}, QStringLiteral("Dee")},
    };
    addFour();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        load();
        frm->show();
        QApplication::setActiveWindow(frm);
        ASSERT_TRUE(QTest::qWaitForWindowActive(frm));
        if (c.clickFirstRow)
            clickRow(1);
        else
            frm->lvw1->tree()->setFocus(Qt::TabFocusReason);
        for (Qt::Key key : c.keys)
            QTest::keyClick(frm->lvw1->tree(), key);
        const std::int32_t chosen =
            value(QStringLiteral("SELECT Dazez_Id FROM Dazez WHERE Dazez_Name = '%1'").arg(c.chosen))
                .toInt();
        EXPECT_EQ(frm->mlngCurrentId, chosen);
        EXPECT_EQ(status(), QStringLiteral("You have 4 records in this listview."));
        frm->chkDummy->SetFocus();
        ASSERT_EQ(frm->lvw1->SelectedItem(), nullptr);

        platform.messageBox.expect(platform::mb::No);
        frm->mnuDelete_Click();
        ASSERT_EQ(platform.messageBox.calls().size(), 1u);
        EXPECT_EQ(platform.messageBox.calls()[0].prompt, QStringLiteral("Deleting -- ") + c.chosen);
        {
            kxmaintest::EditorHookScope editors;
            frm->mnuPopupEdit_Click();
            ASSERT_EQ(editors.openings.size(), 1u);
            EXPECT_EQ(editors.openings[0].id, chosen);
        }
        platform.messageBox.expect(platform::mb::Yes);
        EXPECT_TRUE(frm->CloseApp());
        EXPECT_EQ(setting("Settings_LastRecordViewed"), QString::number(chosen));
        delete frm.data();
        platform.messageBox = kxtest::ScriptedMessageBox();
    }
}

TEST_F(EntryListTest, LosingTheFocusDeselectsEveryRow)
{
    addFour();
    load();
    QApplication::setActiveWindow(frm);
    ASSERT_TRUE(QTest::qWaitForWindowActive(frm));
    frm->lvw1->ListItems().Item(3)->setSelected(true);
    frm->lvw1->SetFocus();
    ASSERT_EQ(frm->lvw1->SelectedItem(), frm->lvw1->ListItems().Item(3));
    frm->chkDummy->SetFocus();
    EXPECT_EQ(frm->lvw1->SelectedItem(), nullptr);
}

} // namespace
