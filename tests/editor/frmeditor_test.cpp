#include "EditorFixture.h"

#include "core/EditorHook.h"
#include "core/modDataSQL.h"
#include "platform/forms/Controls.h"
#include "platform/forms/DTPicker.h"
#include "platform/forms/Frame.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/Menu.h"
#include "platform/forms/Toolbar.h"
#include "support/TextFit.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QEventLoop>
#include <QTimer>
#include <QToolButton>

using kxeditortest::EditorTest;
using platform::mb::Cancel;
using platform::mb::No;
using platform::mb::Yes;

namespace {

vb::Variant at(const QString &isoDateTime)
{
    return vb::Variant(vb::textToDate(isoDateTime));
}

QComboBox *comboOf(platform::ComboBox *combo)
{
    return static_cast<QComboBox *>(combo->inner());
}

// ---- Loading -------------------------------------------------------------------------------

TEST_F(EditorTest, IdsZeroAndMinusOneOpenAnEmptyNewEntryWithTheDefaults)
{
    for (std::int32_t id : {0, -1}) {
        frmEditor *editor = openEditor(id);
        EXPECT_EQ(editor->Caption(), QStringLiteral("Editor"));
        EXPECT_TRUE(editor->property("mblnIsRunning").toBool());
        EXPECT_EQ(editor->prpDataId(), -1) << id;
        EXPECT_EQ(editor->lblRecId->Caption(), QStringLiteral("-1"));
        EXPECT_EQ(status(editor), QStringLiteral("Add New Mode"));
        EXPECT_TRUE(editor->txtName->Text().isEmpty());
        EXPECT_TRUE(editor->txtNotes->Text().isEmpty());
        EXPECT_EQ(editor->cboEvents->Text(), QStringLiteral("Birthday"));
        EXPECT_EQ(editor->lblEventId->Caption(), QStringLiteral("1"));
        ASSERT_EQ(editor->cboEvents->ListCount(), 5);
        EXPECT_EQ(editor->cboEvents->List(4), QStringLiteral("Reminder"));
        EXPECT_EQ(editor->cboEvents->ItemData(4), 5);
        ASSERT_EQ(editor->cboAlertDays->ListCount(), 31);
        EXPECT_EQ(editor->cboAlertDays->List(0), QStringLiteral("0"));
        EXPECT_EQ(editor->cboAlertDays->List(30), QStringLiteral("30"));
        EXPECT_EQ(editor->cboAlertDays->Text(), QStringLiteral("3"));
        EXPECT_EQ(editor->DTPdate->Value(), at(QStringLiteral("2026-12-10 00:00:00")));
        EXPECT_EQ(editor->DTPtime->Value(), at(QStringLiteral("1899-12-30 09:00:00")));
        EXPECT_FALSE(editor->isDirty());
        editor->Unload();
    }
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(EditorTest, AnExistingEntryIsLoadedInEditMode)
{
    const std::int32_t id =
        addEntry(QStringLiteral("Anna"), QStringLiteral("1975-03-14 00:00:00"), 2, 5,
                 QStringLiteral("18:30:00"), QStringLiteral("line one\r\nline two"));
    frmEditor *editor = openEditor(id);
    EXPECT_EQ(editor->txtName->Text(), QStringLiteral("Anna"));
    EXPECT_EQ(editor->cboEvents->Text(), QStringLiteral("Anniversary"));
    EXPECT_EQ(editor->lblEventId->Caption(), QStringLiteral("2"));
    EXPECT_EQ(editor->cboAlertDays->Text(), QStringLiteral("5"));
    EXPECT_EQ(editor->txtNotes->Text(), QStringLiteral("line one\r\nline two"));
    EXPECT_EQ(editor->DTPdate->Value(), at(QStringLiteral("1975-03-14 00:00:00")));
    EXPECT_EQ(editor->DTPtime->Value(), at(QStringLiteral("1899-12-30 18:30:00")));
    EXPECT_EQ(editor->lblRecId->Caption(), QString::number(id));
    EXPECT_EQ(status(editor), QStringLiteral("Edit Mode"));
    EXPECT_FALSE(editor->isDirty());
}

TEST_F(EditorTest, IdsThatLoadNothingLeaveTheFieldsAndTheStatusAsTheyWere)
{
    execute(QStringLiteral("INSERT INTO Dazez (Events_Id, Dazez_Name, Dazez_AlertDays) "
                           "VALUES (1, NULL, 2)"));
    const std::int32_t nullNameId = vb::CLng(
        vb::Variant(gdbMain
                        ->OpenRecordset(QStringLiteral("SELECT MAX(Dazez_Id) AS m FROM Dazez"),
                                        jet::dbOpenSnapshot)
                        ->Field(QStringLiteral("m"))));
    const struct
    {
        std::int32_t id;
        bool logged;
    } cases[] = {{-5, false}, {99999, true}, {nullNameId, true}};
    for (const auto &c : cases) {
        frmEditor *editor = openEditor(c.id);
        EXPECT_EQ(editor->prpDataId(), c.id);
        EXPECT_EQ(editor->lblRecId->Caption(), QString::number(c.id));
        EXPECT_TRUE(status(editor).isEmpty()) << c.id;
        EXPECT_TRUE(editor->txtName->Text().isEmpty());
        EXPECT_EQ(editor->cboEvents->Text(), QStringLiteral("Birthday")) << "the lists' fill";
        EXPECT_EQ(debugLog().contains(QStringLiteral("frmEditor.SetEventData")), c.logged) << c.id;
        editor->Unload();
    }
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(EditorTest, WithoutTheDefaultEventTheTypeIsEmptyAndItsIdMinusOne)
{
    gudtSettings.DefaultEvent = 99;
    frmEditor *editor = openEditor(-1);
    EXPECT_TRUE(editor->cboEvents->Text().isEmpty());
    EXPECT_EQ(editor->cboEvents->ListIndex(), -1);
    EXPECT_EQ(editor->lblEventId->Caption(), QStringLiteral("-1"));
}

TEST_F(EditorTest, TheDateTakesTheShortDateWithinTheCenturiesAndTheTimeOfDay)
{
    frmEditor *editor = openEditor(-1);
    EXPECT_EQ(editor->DTPdate->format(), platform::DTPicker::Format::ShortDate);
    EXPECT_TRUE(editor->DTPdate->edit()->calendarPopup());
    EXPECT_EQ(editor->DTPdate->edit()->displayFormat(), QStringLiteral("M/d/yyyy"));
    EXPECT_EQ(editor->DTPdate->MinDate(), vb::Date::fromYmd(1900, 1, 1));
    EXPECT_EQ(editor->DTPdate->MaxDate().date(), QDate(2100, 12, 31));
    EXPECT_EQ(editor->DTPtime->format(), platform::DTPicker::Format::Time);
    EXPECT_FALSE(editor->DTPtime->edit()->calendarPopup());

    // A change of either is a change of the entry.
    editor->DTPtime->setValue(at(QStringLiteral("1899-12-30 07:15:00")));
    EXPECT_TRUE(editor->isDirty());
}

TEST_F(EditorTest, OpensTwoHundredFortyTwipsRightOfAndBelowTheMainWindow)
{
    frmEditor *editor = openEditor(-1);
    EXPECT_DOUBLE_EQ(editor->Left(), mainWindow->Left() + 240);
    EXPECT_DOUBLE_EQ(editor->Top(), mainWindow->Top() + 240);
}

TEST_F(EditorTest, ClosingWithChangesAsksNothingAndReportsTheEnd)
{
    frmEditor *editor = openEditor(-1);
    std::vector<bool> reported;
    QObject::connect(editor, &frmEditor::mblnIsRunningChanged,
                     [&](bool running) { reported.push_back(running); });
    editor->txtName->setText(QStringLiteral("Unsaved"));
    ASSERT_TRUE(editor->isDirty());
    editor->close();
    EXPECT_EQ(reported, std::vector<bool>{false});
    EXPECT_FALSE(editor->property("mblnIsRunning").toBool());
    EXPECT_TRUE(platform.messageBox.calls().empty());
    EXPECT_EQ(rowCount(), 0);
}

// ---- The main window's side: the default instance and the wait ------------------------------

TEST_F(EditorTest, TheDefaultInstanceIsOneWindowUntilItIsUnloaded)
{
    core::editorInstanceHook() = [] { return editorDefaultInstance(); };
    QPointer<platform::Form> first = core::editorInstance();
    ASSERT_TRUE(first);
    EXPECT_EQ(core::editorInstance(), first.data());
    EXPECT_FALSE(first->isLoaded()) << "setting members must not load it";

    // The main window's wait: blocked in an event loop until the editor reports its end.
    first->setProperty("frmParent", QVariant::fromValue<QObject *>(mainWindow.data()));
    first->setProperty("prpDataId", -1);
    first->Show();
    QTimer::singleShot(0, first.data(), [&] { first->close(); });
    QEventLoop wait;
    QObject::connect(first.data(), SIGNAL(mblnIsRunningChanged(bool)), &wait, SLOT(quit()));
    if (first->property("mblnIsRunning").toBool())
        wait.exec();
    EXPECT_FALSE(first->property("mblnIsRunning").toBool());

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    platform::Form *second = core::editorInstance();
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(second->isUnloaded());
    core::editorInstanceHook() = nullptr;
}

// ---- Field events --------------------------------------------------------------------------

TEST_F(EditorTest, TypingIntoEitherListChangesNothing)
{
    frmEditor *editor = openEditor(-1);
    for (platform::ComboBox *list : {editor->cboEvents, editor->cboAlertDays}) {
        const QString before = list->Text();
        const int index = list->ListIndex();
        list->SetFocus();
        QApplication::processEvents();
        QTest::keyClicks(list->inner(), QStringLiteral("Hol2x"));
        for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Up, Qt::Key_Down,
                            Qt::Key_Home, Qt::Key_PageDown, Qt::Key_Space})
            QTest::keyClick(list->inner(), key);
        QTest::keyClick(list->inner(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(list->Text(), before) << list->Name().toStdString();
        EXPECT_EQ(list->ListIndex(), index) << list->Name().toStdString();
    }
    EXPECT_EQ(editor->lblEventId->Caption(), QStringLiteral("1"));
    EXPECT_FALSE(editor->isDirty());
}

TEST_F(EditorTest, PickingAnEventTypeKeepsItsIdAndMarksTheEntryChanged)
{
    frmEditor *editor = openEditor(-1);
    editor->cboEvents->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(status(editor), QStringLiteral("Edit Mode"));
    // The drop-down opens from the keyboard; its list picks as the mouse does.
    QComboBox *combo = comboOf(editor->cboEvents);
    QTest::keyClick(combo, Qt::Key_F4);
    ASSERT_TRUE(combo->view()->isVisible());
    QTest::keyClick(combo->view(), Qt::Key_Down);
    QTest::keyClick(combo->view(), Qt::Key_Down);
    QTest::keyClick(combo->view(), Qt::Key_Return);
    EXPECT_EQ(editor->cboEvents->Text(), QStringLiteral("Holiday"));
    EXPECT_EQ(editor->lblEventId->Caption(), QStringLiteral("3"));
    EXPECT_TRUE(editor->isDirty());
}

TEST_F(EditorTest, FocusOnTheNameSelectsItOnlyWhenItIsFilled)
{
    frmEditor *editor = openEditor(-1);
    editor->txtNotes->SetFocus();
    QApplication::processEvents();
    editor->statBar1->Panels(1).setText(QStringLiteral("before"));
    editor->txtName->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(status(editor), QStringLiteral("before"));

    editor->txtName->setText(QStringLiteral("Grandma Rose"));
    editor->txtNotes->SetFocus();
    QApplication::processEvents();
    editor->statBar1->Panels(1).setText(QStringLiteral("before"));
    editor->txtName->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(status(editor), QStringLiteral("Edit Mode"));
    EXPECT_EQ(editor->txtName->SelStart(), 0);
    EXPECT_EQ(editor->txtName->SelLength(), 12);
}

TEST_F(EditorTest, TypedTextStopsAtTheFieldsLimits)
{
    frmEditor *editor = openEditor(-1);
    const struct
    {
        platform::TextBox *box;
        int limit;
    } cases[] = {{editor->txtName, 25}, {editor->txtNotes, 1250}};
    for (const auto &c : cases) {
        c.box->SetFocus();
        QApplication::processEvents();
        QTest::keyClicks(c.box->inner(), QString(c.limit + 10, QLatin1Char('x')));
        EXPECT_EQ(c.box->Text().size(), c.limit) << c.box->Name().toStdString();
    }
    EXPECT_TRUE(editor->isDirty());
}

// ---- NewEvent -----------------------------------------------------------------------------

TEST_F(EditorTest, NewEventWithChangesCancelKeepsEveryField)
{
    const std::int32_t id = addEntry(QStringLiteral("Bob"), QStringLiteral("1980-06-01 00:00:00"));
    frmEditor *editor = openEditor(id);
    editor->txtName->setText(QStringLiteral("Bobby"));
    editor->txtNotes->setText(QStringLiteral("changed"));
    platform.messageBox.expect(Cancel, QStringLiteral("Would you like to Save your changes"));

    QTest::mouseClick(editor->tlBar1->Buttons(QStringLiteral("new")).button(), Qt::LeftButton);

    EXPECT_EQ(editor->txtName->Text(), QStringLiteral("Bobby"));
    EXPECT_EQ(editor->txtNotes->Text(), QStringLiteral("changed"));
    EXPECT_EQ(editor->cboEvents->Text(), QStringLiteral("Birthday"));
    EXPECT_EQ(editor->lblEventId->Caption(), QStringLiteral("1"));
    EXPECT_EQ(editor->cboAlertDays->Text(), QStringLiteral("3"));
    EXPECT_EQ(editor->DTPdate->Value(), at(QStringLiteral("1980-06-01 00:00:00")));
    EXPECT_EQ(editor->DTPtime->Value(), at(QStringLiteral("1899-12-30 09:00:00")));
    EXPECT_EQ(editor->prpDataId(), id);
    EXPECT_EQ(editor->lblRecId->Caption(), QString::number(id));
    EXPECT_TRUE(editor->isDirty());
    ASSERT_EQ(platform.messageBox.calls().size(), 1u);
    EXPECT_EQ(platform.messageBox.calls()[0].style, 35);
    EXPECT_EQ(vb::CStr(stored(id, QStringLiteral("Dazez_Name"))), QStringLiteral("Bob"));
}

TEST_F(EditorTest, NewEventYesWithAnEmptyNameShowsTheSavesStatusAndKeepsTheFields)
{
    frmEditor *editor = openEditor(-1);
    editor->txtNotes->setText(QStringLiteral("notes without a name"));
    platform.messageBox.expect(Yes);

    editor->mnuNew->action()->trigger();

    EXPECT_EQ(status(editor), QStringLiteral("Please enter a name before saving your data."));
    EXPECT_EQ(editor->txtNotes->Text(), QStringLiteral("notes without a name"));
    EXPECT_TRUE(editor->isDirty());
    EXPECT_EQ(rowCount(), 0);
}

TEST_F(EditorTest, NewEventNoDropsTheChangesAndResets)
{
    const std::int32_t id = addEntry(QStringLiteral("Bob"), QStringLiteral("1980-06-01 00:00:00"));
    frmEditor *editor = openEditor(id);
    editor->txtName->setText(QStringLiteral("Bobby"));
    platform.messageBox.expect(No);

    EXPECT_TRUE(editor->NewEvent());

    EXPECT_TRUE(editor->txtName->Text().isEmpty());
    EXPECT_EQ(editor->prpDataId(), -1);
    EXPECT_EQ(status(editor), QStringLiteral("Add New Mode"));
    EXPECT_FALSE(editor->isDirty());
    EXPECT_EQ(vb::CStr(stored(id, QStringLiteral("Dazez_Name"))), QStringLiteral("Bob"));
}

// ---- Saving -------------------------------------------------------------------------------

TEST_F(EditorTest, ANameOfSpacesWritesNothingAndKeepsTheChangedFlag)
{
    frmEditor *editor = openEditor(-1);
    editor->txtName->setText(QStringLiteral("    "));
    editor->DataSave();
    EXPECT_EQ(status(editor), QStringLiteral("Please enter a name before saving your data."));
    EXPECT_TRUE(editor->isDirty());
    EXPECT_EQ(rowCount(), 0);
    EXPECT_TRUE(mainWindow->calls.empty());
}

TEST_F(EditorTest, ANewEntrySavedTwiceIsInsertedOnceThenUpdated)
{
    frmEditor *editor = openEditor(-1);
    editor->txtName->setText(QStringLiteral("Carla"));
    editor->DataSave();
    ASSERT_EQ(rowCount(), 1);
    const std::int32_t id = editor->prpDataId();
    EXPECT_GT(id, 0);
    EXPECT_EQ(editor->lblRecId->Caption(), QString::number(id));
    EXPECT_EQ(status(editor), QStringLiteral("Your data has been saved."));
    EXPECT_FALSE(editor->isDirty());

    editor->txtName->setText(QStringLiteral("Carla Maria"));
    editor->DataSave();
    EXPECT_EQ(rowCount(), 1);
    EXPECT_EQ(editor->prpDataId(), id);
    EXPECT_EQ(vb::CStr(stored(id, QStringLiteral("Dazez_Name"))), QStringLiteral("Carla Maria"));

    // Each save refilled the main window's list, by name, with (lvw1, 0, 1).
    ASSERT_EQ(mainWindow->calls.size(), 2u);
    for (const auto &call : mainWindow->calls) {
        EXPECT_EQ(call.list, mainWindow->lvw1);
        EXPECT_EQ(call.column, 0);
        EXPECT_EQ(call.argDefault, 1);
        EXPECT_EQ(call.ids, std::vector<std::int32_t>{id});
    }
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(EditorTest, ASaveWritesEveryFieldAndKeepsTheComingEventsOnce)
{
    frmEditor *editor = openEditor(-1);
    editor->txtName->setText(QStringLiteral("Flora"));
    editor->cboEvents->setListIndex(3); // "Event", as a pick from the list
    editor->cboAlertDays->setText(QStringLiteral("4"));
    editor->DTPdate->setValue(at(QStringLiteral("1961-12-13 00:00:00")));
    editor->DTPtime->setValue(at(QStringLiteral("1899-12-30 21:45:00")));
    editor->txtNotes->setText(QStringLiteral("cake"));
    editor->DataSave();
    const std::int32_t id = editor->prpDataId();
    EXPECT_EQ(stored(id, QStringLiteral("Events_Id")), vb::Variant(std::int32_t(4)));
    EXPECT_EQ(vb::CLng(stored(id, QStringLiteral("Dazez_AlertDays"))), 4);
    EXPECT_EQ(stored(id, QStringLiteral("Dazez_Date")), at(QStringLiteral("1961-12-13 00:00:00")));
    EXPECT_EQ(stored(id, QStringLiteral("Dazez_Time")), at(QStringLiteral("1899-12-30 21:45:00")));
    EXPECT_EQ(vb::CStr(stored(id, QStringLiteral("Dazez_Notes"))), QStringLiteral("cake"));
    // The list's refill recomputed the days until (three), so it is a coming event: once, at
    // the end, not yet shown; and still once after a second save.
    EXPECT_EQ(vb::CLng(stored(id, QStringLiteral("Dazez_DaysTil"))), 3);
    for (int save = 0; save < 2; ++save) {
        ASSERT_EQ(upcomingIds(), std::vector<std::int32_t>{id});
        EXPECT_EQ(gcolUpcomingStatus.Item(1), vb::Variant(QStringLiteral("d1")));
        editor->txtNotes->setText(QStringLiteral("more cake"));
        editor->DataSave();
    }
    // Moved out of its alert days, it leaves the lists.
    editor->DTPdate->setValue(at(QStringLiteral("1961-12-20 00:00:00")));
    editor->DataSave();
    EXPECT_TRUE(upcomingIds().empty());
    EXPECT_TRUE(debugLog().isEmpty()) << debugLog().toStdString();
}

TEST_F(EditorTest, TheNameIsStoredTrimmedWithApostrophesReplacedAndTheNotesAsTyped)
{
    frmEditor *editor = openEditor(-1);
    editor->txtName->setText(QStringLiteral("  O'Brien  "));
    editor->txtNotes->setText(QStringLiteral("  it's  \r\n"));
    editor->DataSave();
    const std::int32_t id = editor->prpDataId();
    const QString replaced = QStringLiteral("O\u2019Brien");
    EXPECT_EQ(vb::CStr(stored(id, QStringLiteral("Dazez_Name"))), replaced);
    EXPECT_EQ(vb::CStr(stored(id, QStringLiteral("Dazez_Notes"))),
              QStringLiteral("  it\u2019s  \r\n"));
    // The boxes show the replaced text; the name box keeps its blanks until it is reloaded.
    EXPECT_EQ(editor->txtName->Text(), QStringLiteral("  O\u2019Brien  "));
    EXPECT_EQ(editor->txtNotes->Text(), QStringLiteral("  it\u2019s  \r\n"));
}

TEST_F(EditorTest, WhatTheUserTypesReachesTheDatabaseUnchanged)
{
    const struct
    {
        QString name;
        QString notes;
    } cases[] = {
        {QStringLiteral("\"Quoted\" name"), QStringLiteral("a \"b\" c; -- d")},
        {QStringLiteral("x); DROP TABLE Dazez"), QStringLiteral("1=1 OR DELETE FROM Events")},
        {QStringLiteral("Party \U0001F382"), QStringLiteral("\U0001F389 \U0001F600")},
        {QStringLiteral("\u05E9\u05DC\u05D5\u05DD \u0645\u0631\u062D\u0628\u0627"),
         QStringLiteral("\u0627\u0644\u0639\u064A\u062F 2026")},
        {QStringLiteral("Long notes"), QString(1250, QChar(0x00E9))},
        {QStringLiteral("%_[*]?#"), QStringLiteral("\\ \\\\ \t tab")},
        {QStringLiteral("007"), QStringLiteral("0012345678901234567890.50")},
    };
    for (const auto &c : cases) {
        frmEditor *editor = openEditor(-1);
        editor->txtName->setText(c.name);
        editor->txtNotes->setText(c.notes);
        editor->DataSave();
        const std::int32_t id = editor->prpDataId();
        ASSERT_GT(id, 0) << c.name.toStdString();
        EXPECT_EQ(vb::CStr(stored(id, QStringLiteral("Dazez_Name"))), c.name);
        EXPECT_EQ(vb::CStr(stored(id, QStringLiteral("Dazez_Notes"))), c.notes);
        editor->Unload();

        frmEditor *again = openEditor(id);
        EXPECT_EQ(again->txtName->Text(), c.name);
        EXPECT_EQ(again->txtNotes->Text(), c.notes);
        again->Unload();
    }
    EXPECT_EQ(rowCount(), static_cast<int>(std::size(cases)));
    EXPECT_TRUE(debugLog().isEmpty()) << debugLog().toStdString();
}

// ---- Deleting -----------------------------------------------------------------------------

TEST_F(EditorTest, DeletingANewUnsavedEntryOnlySaysThereIsNothingToDelete)
{
    frmEditor *editor = openEditor(-1);
    editor->txtName->setText(QStringLiteral("Not saved"));
    EXPECT_FALSE(editor->DeleteEvent());
    EXPECT_EQ(status(editor), QStringLiteral("There is no data to delete"));
    EXPECT_EQ(editor->txtName->Text(), QStringLiteral("Not saved"));
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(EditorTest, DecliningTheDeleteLeavesTheEntryAndTheFields)
{
    const std::int32_t id = addEntry(QStringLiteral("Dora"), QStringLiteral("1990-01-02 00:00:00"));
    frmEditor *editor = openEditor(id);
    platform.messageBox.expect(No);
    EXPECT_FALSE(editor->DeleteEvent());
    ASSERT_EQ(platform.messageBox.calls().size(), 1u);
    EXPECT_EQ(platform.messageBox.calls()[0].prompt, QStringLiteral("Deleting -- Dora"));
    EXPECT_EQ(platform.messageBox.calls()[0].style, 52);
    EXPECT_EQ(status(editor), QStringLiteral("Your data has not been deleted."));
    EXPECT_EQ(editor->txtName->Text(), QStringLiteral("Dora"));
    EXPECT_EQ(editor->prpDataId(), id);
    EXPECT_EQ(rowCount(), 1);
    EXPECT_TRUE(mainWindow->calls.empty());
}

TEST_F(EditorTest, ADeleteRemovesTheEntryEverywhereAndEndsInAddMode)
{
    // Both coming events: tomorrow, with three alert days.
    const std::int32_t keep =
        addEntry(QStringLiteral("Keep"), QStringLiteral("1990-12-11 00:00:00"));
    const std::int32_t id = addEntry(QStringLiteral("Gone"), QStringLiteral("1990-12-11 00:00:00"),
                                     1, 3, QStringLiteral("17:00:00"));
    cDateHandler().SetDaysTil();
    cDateHandler().SetComingEvents();
    ASSERT_EQ(upcomingIds(), (std::vector<std::int32_t>{keep, id}));

    frmEditor *editor = openEditor(id);
    platform.messageBox.expect(Yes, QStringLiteral("Deleting -- Gone"));
    EXPECT_TRUE(editor->DeleteEvent());

    EXPECT_EQ(rowCount(), 1);
    ASSERT_EQ(mainWindow->calls.size(), 1u);
    EXPECT_EQ(mainWindow->calls[0].list, mainWindow->lvw1);
    EXPECT_EQ(mainWindow->calls[0].column, 0);
    EXPECT_EQ(mainWindow->calls[0].argDefault, 0);
    EXPECT_EQ(mainWindow->calls[0].ids, std::vector<std::int32_t>{keep});
    EXPECT_EQ(upcomingIds(), std::vector<std::int32_t>{keep});
    EXPECT_EQ(editor->prpDataId(), -1);
    EXPECT_EQ(editor->lblRecId->Caption(), QStringLiteral("-1"));
    EXPECT_TRUE(editor->txtName->Text().isEmpty());
    EXPECT_EQ(editor->DTPdate->Value(), at(QStringLiteral("2026-12-10 00:00:00")));
    EXPECT_EQ(editor->DTPtime->Value(), at(QStringLiteral("1899-12-30 09:00:00")));
    EXPECT_EQ(status(editor), QStringLiteral("Your data has been deleted."));
    EXPECT_FALSE(editor->isDirty());
}

TEST_F(EditorTest, DeletingAChangedEntryAsksToSaveTheChangesFirst)
{
    // Yes stores the shown fields as a new row, then resets; Cancel keeps the deleted entry's
    // fields and id on screen, so that a later save inserts them again.
    for (int answer : {Yes, Cancel}) {
        execute(QStringLiteral("DELETE FROM Dazez"));
        const std::int32_t id =
            addEntry(QStringLiteral("Eve"), QStringLiteral("1990-01-02 00:00:00"));
        frmEditor *editor = openEditor(id);
        editor->txtName->setText(QStringLiteral("Eve changed"));
        platform.messageBox.expect(Yes, QStringLiteral("Deleting -- Eve"));
        platform.messageBox.expect(answer, QStringLiteral("has been changed"));

        QTest::mouseClick(editor->tlBar1->Buttons(QStringLiteral("delete")).button(),
                          Qt::LeftButton);

        EXPECT_TRUE(stored(id, QStringLiteral("Dazez_Name")).isEmpty()) << "the row is gone";
        if (answer == Yes) {
            ASSERT_EQ(rowCount(), 1);
            EXPECT_EQ(editor->prpDataId(), -1);
            EXPECT_TRUE(editor->txtName->Text().isEmpty());
        } else {
            EXPECT_EQ(rowCount(), 0);
            EXPECT_EQ(editor->prpDataId(), id);
            EXPECT_EQ(editor->txtName->Text(), QStringLiteral("Eve changed"));
            editor->DataSave();
            EXPECT_EQ(rowCount(), 1);
            EXPECT_NE(editor->prpDataId(), id);
        }
        EXPECT_EQ(status(editor), answer == Yes ? QStringLiteral("Your data has been deleted.")
                                                : QStringLiteral("Your data has been saved."));
        editor->Unload();
    }
}

// ---- The event-type check -------------------------------------------------------------------

TEST_F(EditorTest, CheckEventNameFindsOrAddsTheTypedEventType)
{
    const struct
    {
        QString typed;
        std::vector<int> answers; // scripted boxes, in order
        bool result;
        bool added;
    } cases[] = {
        {QStringLiteral("   "), {platform::mb::OK}, false, false},
        {QStringLiteral("holiday"), {}, true, false},
        {QStringLiteral("Graduation"), {No}, false, false},
        {QStringLiteral("Graduation"), {Yes}, true, true},
        {QStringLiteral("New Year's"), {Yes}, true, true},
    };
    for (const auto &c : cases) {
        frmEditor *editor = openEditor(-1);
        editor->cboAlertDays->setText(QStringLiteral("7"));
        editor->cboEvents->setText(c.typed);
        for (int answer : c.answers)
            platform.messageBox.expect(answer);
        const std::size_t boxesBefore = platform.messageBox.calls().size();

        EXPECT_EQ(editor->CheckEventName(), c.result) << c.typed.toStdString();

        const std::int32_t id =
            ReturnId(QStringLiteral("Events"), QStringLiteral("Events_EventName"), c.typed,
                     QStringLiteral("Events_ID"));
        if (c.added) {
            EXPECT_GT(id, 5);
            EXPECT_EQ(editor->cboEvents->Text(), c.typed);
            EXPECT_EQ(editor->lblEventId->Caption(), QString::number(id));
            EXPECT_EQ(editor->cboAlertDays->Text(), QStringLiteral("7"));
            ASSERT_EQ(editor->cboEvents->ListCount(), 6);
            EXPECT_EQ(editor->cboEvents->List(5), c.typed);
        }
        EXPECT_EQ(platform.messageBox.calls().size() - boxesBefore, c.answers.size());
        if (!c.answers.empty() && c.typed.trimmed().isEmpty()) {
            EXPECT_EQ(platform.messageBox.calls().back().prompt,
                      QStringLiteral("Please enter an Event before continuing."));
        }
        execute(QStringLiteral("DELETE FROM Events WHERE Events_Id > 5"));
        editor->Unload();
    }
    EXPECT_TRUE(debugLog().isEmpty()) << debugLog().toStdString();
}

TEST_F(EditorTest, CheckEventNameAfterAnIgnoredFailedOpenReportsEachStepAndAddsNothing)
{
    frmEditor *editor = openEditor(-1);
    execute(QStringLiteral("ALTER TABLE Events RENAME TO EventsGone"));
    editor->cboEvents->setText(QStringLiteral("Graduation"));
    platform.messageBox.expect(platform::mb::Ignore, QStringLiteral("cDAO.RSOpen"));
    platform.messageBox.expect(platform::mb::Ignore, QStringLiteral("frmDazez.CheckEventName"));
    platform.messageBox.expect(Yes, QStringLiteral("Graduation is not currently listed"));
    // There is no recordset to add the row to: reported, not dereferenced.
    platform.messageBox.expect(
        platform::mb::Abort,
        QStringLiteral("91\r\nObject variable or With block variable not set"));

    EXPECT_FALSE(editor->CheckEventName());

    EXPECT_EQ(platform.messageBox.pendingAnswers(), 0u);
    EXPECT_EQ(platform.messageBox.calls().size(), 4u);
    execute(QStringLiteral("ALTER TABLE EventsGone RENAME TO Events"));
    EXPECT_EQ(ReturnId(QStringLiteral("Events"), QStringLiteral("Events_EventName"),
                       QStringLiteral("Graduation"), QStringLiteral("Events_ID")),
              -1);
}

// ---- Layout and accessibility -----------------------------------------------------------

TEST_F(EditorTest, FieldsAreNamedByTheirLabelsAndFollowTheTabOrder)
{
    frmEditor *editor = openEditor(-1);
    const std::pair<platform::Control *, QString> named[] = {
        {editor->txtName, QStringLiteral("Name:")},
        {editor->cboEvents, QStringLiteral("Event:")},
        {editor->DTPdate, QStringLiteral("Date:")},
        {editor->cboAlertDays, QStringLiteral("Alert me")},
        {editor->DTPtime, QStringLiteral("Time:")},
        {editor->txtNotes, QStringLiteral("Notes:")},
    };
    for (const auto &[field, name] : named)
        EXPECT_EQ(field->inner()->accessibleName(), name) << field->Name().toStdString();

    // Each press of Tab goes to the next field, a date or time picker being one stop, and round
    // to the name; Shift+Tab goes back the same way.
    editor->Show();
    QApplication::setActiveWindow(editor);
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
    editor->txtName->SetFocus();
    const QStringList order = {"txtName", "cboEvents", "DTPdate", "cboAlertDays",
                               "DTPtime", "txtNotes",  "txtName"};
    const auto active = [editor] {
        platform::Control *control = editor->ActiveControl();
        return control ? control->Name() : QString();
    };
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(active(), order[i]) << "Tab from " << order[i - 1].toStdString();
    }
    for (qsizetype i = order.size() - 2; i >= 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        EXPECT_EQ(active(), order[i]) << "Shift+Tab from " << order[i + 1].toStdString();
    }
}

TEST_F(EditorTest, ControlsLieInsideTheWindowAndDoNotOverlap)
{
    // The toolbar and the status bar keep their own heights whatever the layout's scale: the
    // fields must clear both at every desktop font.
    for (double points : {0.0, 10.0, 11.0}) {
        SCOPED_TRACE(points);
        kxtest::DesktopFont desktop(points);
        frmEditor *editor = openEditor(-1);
        std::vector<std::pair<QString, QRect>> placed;
        for (platform::Control *control : editor->Controls()) {
            if (!control->isVisible() || control->kind() == platform::ControlKind::Frame ||
                control->kind() == platform::ControlKind::StatusBar ||
                control->kind() == platform::ControlKind::Toolbar)
                continue;
            const QRect r(control->mapTo(editor, QPoint(0, 0)), control->size());
            EXPECT_TRUE(editor->rect().contains(r)) << control->Name().toStdString();
            EXPECT_TRUE(editor->fra1->geometry().contains(r)) << control->Name().toStdString();
            for (const auto &[name, other] : placed)
                EXPECT_FALSE(r.intersects(other))
                    << control->Name().toStdString() << " overlaps " << name.toStdString();
            placed.emplace_back(control->Name(), r);
        }
        const QRect bar = editor->tlBar1->geometry();
        EXPECT_TRUE(editor->rect().contains(bar));
        EXPECT_GE(bar.top(), editor->clientTop()) << "below the menu bar";
        EXPECT_FALSE(editor->fra1->geometry().intersects(bar));
        EXPECT_FALSE(editor->fra1->geometry().intersects(editor->statBar1->geometry()));
        editor->Unload();
    }
}

} // namespace
