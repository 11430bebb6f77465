// One entry added from start to end in the program's own windows, on a copy of the delivered
// database and the fixed clock (2026-12-10 10:00): "new" in the main window, the editor's fields,
// Save, the list showing the entry, the editor closed, the main window back, and the entry's
// notice at its time.

#include "mainwindow/MainWindowFixture.h"

#include "core/EditorHook.h"
#include "editor/frmEditor.h"
#include "platform/forms/Controls.h"
#include "platform/forms/DTPicker.h"

#include <QApplication>
#include <QScopeGuard>
#include <QTest>

namespace {

class RoadTest : public kxmaintest::MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        gstrEnabledColor = QString::number(0xFFFFFF);
        core::editorInstanceHook() = [] { return editorDefaultInstance(); };
    }
    void TearDown() override
    {
        core::editorInstanceHook() = nullptr;
        MainWindowTest::TearDown();
    }
};

TEST_F(RoadTest, AddingAnEntryFromNewToItsNotice)
{
    kxmaintest::StoredSettings settings;
    settings.timerOn = 1;
    store(settings);
    load();
    QApplication::setActiveWindow(frm);

    QString statusOnOpen, statusAfterSave;
    QStringList namesAfterSave, daysAfterSave;
    bool mainEnabledMeanwhile = true;
    bool timerOnMeanwhile = true;
    // The wait for the editor runs the event loop: the user's work happens inside it.
    QTimer::singleShot(0, [&] {
        auto *editor = qobject_cast<frmEditor *>(core::editorInstance());
        ASSERT_NE(editor, nullptr);
        // Whatever fails here, the editor closes, so that the wait ends.
        const auto closeEditor = qScopeGuard([editor] { editor->close(); });
        EXPECT_TRUE(editor->isVisible());
        mainEnabledMeanwhile = frm->isEnabled();
        timerOnMeanwhile = frm->Timer1->isActive();
        statusOnOpen = editor->statBar1->Panels(1).Text();

        QTest::keyClicks(editor->txtName->inner(), QStringLiteral("Dora"));
        editor->DTPdate->setValue(vb::Variant(vb::Date::fromYmd(1990, 12, 11)));
        editor->DTPtime->setValue(vb::Variant(vb::Date::fromQTime(QTime(10, 5))));
        editor->DataSave();
        statusAfterSave = editor->statBar1->Panels(1).Text();
        namesAfterSave = column(0);
        daysAfterSave = column(3);
    });
    frm->mnuNew_Click();

    EXPECT_EQ(statusOnOpen, QStringLiteral("Add New Mode"));
    EXPECT_FALSE(mainEnabledMeanwhile);
    EXPECT_FALSE(timerOnMeanwhile);
    EXPECT_EQ(statusAfterSave, QStringLiteral("Your data has been saved."));
    EXPECT_EQ(namesAfterSave, QStringList{QStringLiteral("Dora")});
    EXPECT_EQ(daysAfterSave, QStringList{QStringLiteral("1")});

    EXPECT_TRUE(frm->isEnabled());
    EXPECT_TRUE(QTest::qWaitForWindowActive(frm)) << "on top again";
    EXPECT_TRUE(frm->Timer1->isActive());
    EXPECT_TRUE(platform.messageBox.calls().empty());

    const std::int32_t id = value(QStringLiteral("SELECT Dazez_Id FROM Dazez")).toInt();
    EXPECT_TRUE(kxmaintest::openNotices().empty());
    setNow(QDate(2026, 12, 10), QTime(10, 5, 0));
    ASSERT_TRUE(QTest::qWaitFor([] { return !kxmaintest::openNotices().empty(); }));
    EXPECT_EQ(kxmaintest::openNotices().front()->mlngVemoId, id);
}

} // namespace
