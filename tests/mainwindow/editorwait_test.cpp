// Opening the editor and waiting for it: the window disabled and the notice timer off while it is
// open, both back afterwards, the program's events running meanwhile, and the way out on Abort.

#include "EditorDouble.h"
#include "MainWindowFixture.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QTest>

using kxmaintest::EditorDouble;
using kxmaintest::EditorHookScope;
using kxmaintest::MainWindowTest;
using kxmaintest::StoredSettings;

namespace {

class EditorWaitTest : public MainWindowTest
{
protected:
    frmDazez &loadWith(int timerOn)
    {
        StoredSettings s;
        s.timerOn = timerOn;
        store(s);
        load();
        QApplication::setActiveWindow(frm);
        return *frm;
    }
};

TEST_F(EditorWaitTest, TheWindowWaitsDisabledWithTheTimerOffAndComesBackAsItWas)
{
    for (int timerOn : {1, 0}) {
        SCOPED_TRACE(timerOn);
        loadWith(timerOn);
        frm->mlngCurrentId = 5;
        EditorHookScope editors;
        frm->LoadEditor();

        ASSERT_EQ(editors.openings.size(), 1u);
        const kxmaintest::EditorOpening &open = editors.openings[0];
        EXPECT_EQ(open.parent, frm.data());
        EXPECT_EQ(open.id, 5);
        EXPECT_FALSE(open.parentEnabled);
        EXPECT_FALSE(open.noticeTimerOn);

        EXPECT_TRUE(frm->isEnabled());
        EXPECT_EQ(frm->Timer1->isActive(), timerOn == 1);
        EXPECT_TRUE(QTest::qWaitForWindowActive(frm)) << "brought to the top";
        EXPECT_TRUE(platform.messageBox.calls().empty());
        delete frm.data();
    }
}

TEST_F(EditorWaitTest, NewOpensTheEditorOnANewEntryAndKeepsMinusOne)
{
    loadWith(0);
    frm->mlngCurrentId = 17;
    EditorHookScope editors;
    frm->DataNew();
    ASSERT_EQ(editors.openings.size(), 1u);
    EXPECT_EQ(editors.openings[0].id, -1);
    EXPECT_EQ(frm->mlngCurrentId, -1);
}

TEST_F(EditorWaitTest, TheProgramsEventsRunDuringTheWaitWhichSleepsBetweenThem)
{
    addEntry(QStringLiteral("Ann"), QStringLiteral("1980-12-11"));
    loadWith(1);
    int wakeUps = 0;
    int dayTicks = 0;
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    EditorHookScope editors([&](EditorDouble &editor) {
        QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, &editor, [&] { ++wakeUps; });
        // Another window's timer, as the day timer or a notice's, keeps ticking; the editor
        // closes after a few of its ticks.
        auto *other = new QTimer(&editor);
        QObject::connect(other, &QTimer::timeout, &editor, [&editor, &dayTicks] {
            if (++dayTicks == 5)
                editor.Unload();
        });
        other->start(20);
    });
    frm->LoadEditor();
    EXPECT_EQ(dayTicks, 5);
    // About 100 ms of waiting: a loop that polled without sleeping would wake thousands of
    // times; one that sleeps wakes for the ticks and little else.
    EXPECT_LT(wakeUps, 60);
    EXPECT_TRUE(frm->isEnabled());
}

TEST_F(EditorWaitTest, AbortAfterAnErrorLeavesTheWindowUsableAndTheTimerRunning)
{
    // An editor that cannot take an id fails after the window was disabled; no editor at all
    // fails before.
    class NoIdEditor : public platform::Form
    {
    public:
        NoIdEditor() : Form(QStringLiteral("frmEditor")) {}
    };
    const struct
    {
        const char *name;
        bool hasEditor;
        int error;
    } cases[] = {{"no editor", false, 91}, {"no prpDataId", true, 438}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        loadWith(1);
        NoIdEditor editor;
        core::editorInstanceHook() = [&]() -> platform::Form * {
            return c.hasEditor ? &editor : nullptr;
        };
        platform.messageBox.expect(platform::mb::Abort,
                                   QStringLiteral("An error has occured: %1").arg(c.error));
        frm->LoadEditor();
        core::editorInstanceHook() = nullptr;

        ASSERT_EQ(platform.messageBox.calls().size(), 1u);
        EXPECT_EQ(platform.messageBox.pendingAnswers(), 0u);
        EXPECT_TRUE(frm->isEnabled());
        EXPECT_TRUE(frm->Timer1->isActive());
        EXPECT_FALSE(editor.isVisible());
        EXPECT_TRUE(
            platform.messageBox.calls()[0].prompt.endsWith(QStringLiteral("frmDazez.LoadEditor")));
        delete frm.data();
        platform.messageBox = kxtest::ScriptedMessageBox();
    }
}

} // namespace
