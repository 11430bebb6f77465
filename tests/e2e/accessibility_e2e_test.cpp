// The real program read as a screen reader reads it: through the desktop's accessibility
// interface (AT-SPI) on a bus of the test's own, with the program on a virtual X display driven
// by keys (xdotool). Every window is a frame or, while modal, a dialog; the status bars are
// status bars and report their changes; every field is named by its label; what lies outside a
// window is not presented; the month arrows and the toolbars have names a person understands; a
// minimised main window keeps its name; Tab goes from field to field, a date or time picker
// being one stop. Skipped where Xvfb, xdotool, D-Bus or the accessibility services are missing.

#include "AtSpi.h"

#include "core/Globals.h"
#include "platform/jet/Jet.h"
#include "support/VirtualDisplay.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDate>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

using kxtest::Accessible;
using kxtest::AtState;

const QString kProgram = QStringLiteral("Kalendrix");
const QString kMainTitle = QStringLiteral("Almanoria - Quarnwell");
const QString kLauncher = QStringLiteral("/usr/libexec/at-spi-bus-launcher");
const QString kRegistryDaemon = QStringLiteral("/usr/libexec/at-spi2-registryd");

class AccessibilityE2ETest : public kxtest::VirtualDisplayTest
{
protected:
    void SetUp() override
    {
        VirtualDisplayTest::SetUp();
        QString dbus;
        if (IsSkipped() || HasFatalFailure() || !need(QStringLiteral("xdotool"), &mXdotool) ||
            !need(QStringLiteral("dbus-daemon"), &dbus))
            return;
        for (const QString &service : {kLauncher, kRegistryDaemon})
            if (!QFileInfo(service).isExecutable())
                GTEST_SKIP() << service.toStdString() << " is not installed on this system";
        ASSERT_TRUE(folder.isValid() && runtime.isValid() && noPrograms.isValid());
        QFile::setPermissions(runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ASSERT_TRUE(
            QFile::copy(QStringLiteral(KX_PROGRAM_DIR "/Kalendrix"), folder.filePath(kProgram)));
        for (const QString &file : QDir(QStringLiteral(KX_DELIVERED_DIR)).entryList(QDir::Files))
            ASSERT_TRUE(
                QFile::copy(QStringLiteral(KX_DELIVERED_DIR "/") + file, folder.filePath(file)));
        QFile::setPermissions(database(), QFile::ReadOwner | QFile::WriteOwner);
        mEnv.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());

        // A session bus, the accessibility bus its launcher starts, and the registry on it.
        QProcess *session = start(dbus, {"--session", "--nofork", "--print-address=1"});
        QStringList pending;
        const QStringList lines =
            readLines(session, pending, [](const QStringList &l) { return !l.isEmpty(); });
        ASSERT_FALSE(lines.isEmpty()) << "the session bus did not start";
        const QString sessionAddress = lines.first().trimmed();
        mEnv.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), sessionAddress);
        mLauncher = start(kLauncher, {"--launch-immediately"});
        QString address;
        {
            QDBusConnection bus =
                QDBusConnection::connectToBus(sessionAddress, QStringLiteral("kxtest-session"));
            waitUntil([&] {
                const QDBusMessage reply = bus.call(QDBusMessage::createMethodCall(
                    QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                    QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")));
                if (reply.type() == QDBusMessage::ReplyMessage)
                    address = reply.arguments().constFirst().toString();
                return !address.isEmpty();
            });
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("kxtest-session"));
        ASSERT_FALSE(address.isEmpty()) << "no accessibility bus";
        // The registry is told its bus; the program finds it through the session bus (this
        // toolkit's version does not start its bridge when it is told the bus directly).
        mEnv.insert(QStringLiteral("AT_SPI_BUS_ADDRESS"), address);
        start(kRegistryDaemon, {});
        mEnv.remove(QStringLiteral("AT_SPI_BUS_ADDRESS"));
        ASSERT_TRUE(waitUntil([&] { return reader.open(address); })) << "no registry";
    }

    void TearDown() override
    {
        // The launcher ends the accessibility bus it started only when it is asked to end.
        if (mLauncher && mLauncher->state() == QProcess::Running) {
            mLauncher->terminate();
            mLauncher->waitForFinished(5000);
        }
        VirtualDisplayTest::TearDown();
    }

    QString database() const { return folder.filePath(QStringLiteral("vovuriv.mdb")); }

    void execute(const QString &sql)
    {
        auto ws = jet::DBEngine::instance().CreateWorkspace({}, QStringLiteral("Admin"), {});
        auto db = ws->OpenDatabase(database(), false, false, core::kConnectText);
        db->Execute(sql);
        db->Close();
    }

    // Events at start-up shown or not; no sound and no notice timer either way.
    void showEventsAtStart(bool show)
    {
        execute(QStringLiteral("UPDATE Settings SET Settings_ShowEventsAtStart = %1, "
                               "Settings_SoundOn = 0, Settings_TimerOn = 0")
                    .arg(show ? 1 : 0));
    }

    // A birthday that recurs today.
    void addBirthdayToday(const QString &name)
    {
        const QDate today = QDate::currentDate();
        execute(QStringLiteral("INSERT INTO Dazez (Events_Id, Dazez_Name, Dazez_Date, Dazez_Time, "
                               "Dazez_AlertDays, Dazez_Notes, Dazez_DaysTil) VALUES (1, '%1', "
                               "'%2 00:00:00', '1899-12-30 09:00:00', 3, 'Cake', 0)")
                    .arg(name, QDate(1992, today.month(), today.day()).toString(Qt::ISODate)));
    }

    // The program, with no program of the system to open a web page with (so that the web page
    // falls back to the web-link window), asking its accessibility bridge to be on.
    void startProgram()
    {
        QProcessEnvironment saved = mEnv;
        mEnv.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        mEnv.insert(QStringLiteral("PATH"), noPrograms.path());
        mProgram = start(folder.filePath(kProgram), {}, folder.path());
        mEnv = saved;
        ASSERT_TRUE(waitFor([&] { return !(app = reader.application(kProgram)).isNull(); }))
            << "the program did not show on the accessibility bus";
    }

    // Waits while the test's own events are handled, so that the program's events come in.
    static bool waitFor(const std::function<bool()> &done, int ms = kxtest::kDisplayWaitMs)
    {
        const QDeadlineTimer deadline(ms);
        while (!done()) {
            if (deadline.hasExpired())
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            QThread::msleep(50);
        }
        return true;
    }

    // The program's window of that name, waited for; null when it did not come.
    Accessible window(const QString &name)
    {
        Accessible found;
        waitFor([&] {
            for (const Accessible &w : reader.children(app))
                if (reader.name(w) == name && reader.has(w, AtState::Showing))
                    found = w;
            return !found.isNull();
        });
        return found;
    }

    bool gone(const Accessible &window)
    {
        return waitFor([&] { return !reader.children(app).contains(window); });
    }

    // Gives the X window of that title the keyboard (no window manager does it here), and waits
    // until that makes it the active window.
    QString activate(const QString &title)
    {
        QString pattern;
        for (const QChar c : title) {
            if (QStringLiteral(".^$*+?()[]{}|\\").contains(c))
                pattern += QLatin1Char('\\');
            pattern += c;
        }
        const QStringList found = windows(QLatin1Char('^') + pattern + QLatin1Char('$'), true);
        EXPECT_FALSE(found.isEmpty()) << "no window " << title.toStdString();
        if (found.isEmpty())
            return QString();
        output(mXdotool, {"windowfocus", "--sync", found.first()});
        // Keys reach the window's shortcuts and menus once the program knows it is active.
        const Accessible node = window(title);
        EXPECT_TRUE(waitFor([&] { return reader.has(node, AtState::Active); }))
            << title.toStdString() << " did not become active";
        return found.first();
    }

    // Presses the keys in the X window of that title.
    void keys(const QString &title, const QStringList &keys)
    {
        if (const QString w = activate(title); !w.isEmpty())
            output(mXdotool, QStringList{"key"} + keys);
    }

    std::string focusNames() const
    {
        std::string out;
        for (const auto &e : reader.events)
            if (e.member == QLatin1String("Focus"))
                out += "[" + reader.name(e.source).toStdString() + "] ";
        return out;
    }

    // A popup menu of the window that shows; null when none does.
    Accessible openMenu(const Accessible &window) const
    {
        return reader.find(window, [&](const Accessible &n) {
            return reader.role(n) == QLatin1String("popup menu") && reader.has(n, AtState::Showing);
        });
    }

    // Opens a menu of the window by its access key and, once it shows, chooses an item by its
    // access key. A menu that a late focus change of the program closes again is opened again.
    void chooseFromMenu(const QString &title, const Accessible &window, const QString &menuKey,
                        const QString &itemKey)
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            keys(title, {QStringLiteral("alt+") + menuKey});
            if (waitFor([&] { return !openMenu(window).isNull(); }, 4000)) {
                output(mXdotool, {"key", itemKey});
                return;
            }
        }
        ADD_FAILURE() << "no menu opened";
    }

    // Where the focus went last, as the focus events told it.
    Accessible lastFocus() const
    {
        for (auto it = reader.events.crbegin(); it != reader.events.crend(); ++it)
            if (it->member == QLatin1String("Focus"))
                return it->source;
        return {};
    }

    // A field as a screen reader announces it: its name, and the label that names it.
    void expectLabelled(const Accessible &window, const QString &role, const QString &label)
    {
        const Accessible field = reader.find(window, role, label);
        ASSERT_FALSE(field.isNull()) << role.toStdString() << " '" << label.toStdString() << "'";
        const QList<Accessible> labels = reader.labelledBy(field);
        ASSERT_FALSE(labels.isEmpty()) << label.toStdString() << " has no 'labelled by'";
        EXPECT_EQ(reader.name(labels.first()), label);
    }

    // Nothing of the window's tree is a showing object of that name.
    void expectNotPresented(const Accessible &window, const QString &name)
    {
        for (const Accessible &node : reader.subtree(window))
            EXPECT_FALSE(reader.name(node) == name && reader.has(node, AtState::Showing))
                << "'" << name.toStdString() << "' is presented as "
                << reader.role(node).toStdString();
    }

    // The object of the last focus event of that name; null when there was none.
    Accessible focused(const QString &name) const
    {
        for (auto it = reader.events.crbegin(); it != reader.events.crend(); ++it)
            if (it->member == QLatin1String("Focus") && reader.name(it->source) == name)
                return it->source;
        return {};
    }

    // The object the focus went to is there for the program only: not showing, and no
    // container lists it.
    void expectFocusNotPresented(const QString &name)
    {
        const Accessible focus = focused(name);
        ASSERT_FALSE(focus.isNull())
            << "no focus event for " << name.toStdString() << ": " << focusNames();
        EXPECT_FALSE(reader.has(focus, AtState::Showing));
        EXPECT_FALSE(reader.has(focus, AtState::Visible));
        EXPECT_EQ(reader.indexInParent(focus), -1);
    }

    // The status bar of the window, with that text as its name and as its text.
    void expectStatus(const Accessible &window, const QString &text)
    {
        const Accessible bar = reader.find(window, [&](const Accessible &n) {
            return reader.role(n) == QLatin1String("status bar");
        });
        ASSERT_FALSE(bar.isNull()) << "no status bar";
        EXPECT_EQ(reader.name(bar), text);
        EXPECT_EQ(reader.text(bar), text);
    }

    void expectWindow(const Accessible &window, const char *role)
    {
        ASSERT_FALSE(window.isNull());
        EXPECT_EQ(reader.role(window), QLatin1String(role)) << reader.name(window).toStdString();
        EXPECT_EQ(reader.has(window, AtState::Modal), QByteArray(role) == "dialog");
    }

    QTemporaryDir folder;
    QTemporaryDir runtime;
    QTemporaryDir noPrograms;
    kxtest::AtSpiReader reader;
    Accessible app;
    QProcess *mLauncher = nullptr;
    QProcess *mProgram = nullptr;
};

TEST_F(AccessibilityE2ETest, TheMainWindowTheSplashAndTheStatusBar)
{
    if (IsSkipped())
        return;
    // With no event to show, the start asks while the splash is up.
    showEventsAtStart(true);
    startProgram();
    const Accessible box = window(QStringLiteral("Almanoria"));
    ASSERT_FALSE(box.isNull()) << "no box at the start";
    Accessible splash;
    for (const Accessible &w : reader.children(app))
        if (w != box && reader.has(w, AtState::Showing))
            splash = w;
    expectWindow(splash, "frame");
    keys(QStringLiteral("Almanoria"), {"Return"});

    const Accessible main = window(kMainTitle);
    expectWindow(main, "frame");
    expectStatus(main, QStringLiteral("You have 0 records in this listview."));
    EXPECT_FALSE(reader.find(main, "push button", "Previous month").isNull());
    EXPECT_FALSE(reader.find(main, "push button", "Next month").isNull());
    EXPECT_FALSE(reader.find(main, "tool bar", "Toolbar").isNull());
    EXPECT_TRUE(
        reader
            .find(main,
                  [&](const Accessible &n) { return reader.name(n) == QLatin1String("tlBar1"); })
            .isNull());
    // The load ends with the focus in the check box placed off the window; the window's
    // activation tells it.
    activate(kMainTitle);
    ASSERT_TRUE(waitFor([&] { return reader.name(lastFocus()) == QLatin1String("PlatzHolder"); }))
        << focusNames();
    expectFocusNotPresented(QStringLiteral("PlatzHolder"));
    expectNotPresented(main, QStringLiteral("PlatzHolder"));

    // A new status text is told as the bar's new name and text.
    const Accessible bar = reader.find(
        main, [&](const Accessible &n) { return reader.role(n) == QLatin1String("status bar"); });
    reader.events.clear();
    keys(kMainTitle, {"F5"});
    const auto told = [&](const QString &member) {
        for (const auto &e : reader.events)
            if (e.source == bar && e.member == member)
                return true;
        return false;
    };
    EXPECT_TRUE(waitFor([&] { return told(QStringLiteral("PropertyChange")); }))
        << "no name change of the status bar";
    EXPECT_TRUE(waitFor([&] { return told(QStringLiteral("TextChanged")); }))
        << "no text change of the status bar";
    expectStatus(main, QStringLiteral("There are no upcoming Events"));
    // (With the window shown nothing is asked.)

    // Without a notification area F6 minimises the window; the Option menu that Alt+O opens
    // shows once F6 has been handled.
    keys(kMainTitle, {"F6", "alt+o"});
    ASSERT_TRUE(waitFor([&] { return !openMenu(main).isNull(); }))
        << "the Option menu did not open";
    output(mXdotool, {"key", "Escape"});
    EXPECT_EQ(reader.name(main), kMainTitle);
}

TEST_F(AccessibilityE2ETest, TheEditorItsFieldsAndItsTabOrder)
{
    if (IsSkipped())
        return;
    showEventsAtStart(false);
    startProgram();
    const Accessible main = window(kMainTitle);
    ASSERT_FALSE(main.isNull());
    chooseFromMenu(kMainTitle, main, "f", "n");
    const Accessible editor = window(QStringLiteral("Editor"));
    expectWindow(editor, "frame");
    expectStatus(editor, QStringLiteral("Add New Mode"));
    activate(QStringLiteral("Editor"));
    EXPECT_FALSE(reader.find(editor, "tool bar", "Toolbar").isNull());
    expectLabelled(editor, "text", "Name:");
    expectLabelled(editor, "text", "Notes:");

    // From the name box, one Tab to each field; Shift+Tab goes back the same way. A field is
    // known by its label (a combo box is named by its value).
    const auto focusLabel = [&] {
        const QList<Accessible> labels = reader.labelledBy(lastFocus());
        return labels.isEmpty() ? QString() : reader.name(labels.first());
    };
    ASSERT_TRUE(waitFor([&] { return focusLabel() == QLatin1String("Name:"); }))
        << "the editor did not open on the name" << focusNames();
    const QStringList order = {"Event:", "Date:", "Alert me", "Time:", "Notes:"};
    for (const QString &field : order) {
        keys(QStringLiteral("Editor"), {"Tab"});
        EXPECT_TRUE(waitFor([&] { return focusLabel() == field; }, 3000))
            << "Tab did not reach " << field.toStdString() << "; the focus is on '"
            << focusLabel().toStdString() << "'";
    }
    for (auto it = order.crbegin() + 1; it != order.crend(); ++it) {
        keys(QStringLiteral("Editor"), {"shift+Tab"});
        EXPECT_TRUE(waitFor([&] { return focusLabel() == *it; }, 3000))
            << "Shift+Tab did not reach " << it->toStdString() << "; the focus is on '"
            << focusLabel().toStdString() << "'";
    }
}

TEST_F(AccessibilityE2ETest, TheNoticeNamesItsFieldsAndPresentsNothingOutsideIt)
{
    if (IsSkipped())
        return;
    showEventsAtStart(true);
    addBirthdayToday(QStringLiteral("Anna"));
    startProgram();
    const Accessible notice = window(QStringLiteral("Birthday Notice"));
    expectWindow(notice, "frame");
    for (const char *label : {"Name:", "Event:", "Event Date:", "Days til:", "Note:"})
        expectLabelled(notice, "text", label);
    expectNotPresented(notice, QStringLiteral("Fake"));
    expectNotPresented(notice, QStringLiteral("Cancel"));

    // The off-window controls keep their work. Tab goes through the cancel button below the
    // window to the name box, which sends the focus on to the sink: neither is presented.
    ASSERT_FALSE(window(kMainTitle).isNull());
    // (The name box hands the focus on while it is taking it, so the toolkit tells the name box
    // last.)
    for (int i = 0; i < 5 && focused(QStringLiteral("Fake")).isNull(); ++i) {
        keys(QStringLiteral("Birthday Notice"), {"Tab"});
        waitFor([&] { return !focused(QStringLiteral("Fake")).isNull(); }, 500);
    }
    expectFocusNotPresented(QStringLiteral("Cancel"));
    expectFocusNotPresented(QStringLiteral("Fake"));
    // Esc clicks the cancel button.
    keys(QStringLiteral("Birthday Notice"), {"Escape"});
    EXPECT_TRUE(gone(notice)) << "Esc did not close the notice";
}

TEST_F(AccessibilityE2ETest, TheAboutHelpAndWebLinkWindows)
{
    if (IsSkipped())
        return;
    showEventsAtStart(false);
    startProgram();
    const Accessible main = window(kMainTitle);
    ASSERT_FALSE(main.isNull());
    const QString aboutTitle = QStringLiteral("About Quarnwell's Almanoria");
    chooseFromMenu(kMainTitle, main, "h", "a");
    const Accessible about = window(aboutTitle);
    expectWindow(about, "dialog");
    keys(aboutTitle, {"Escape"});
    ASSERT_TRUE(gone(about));

    chooseFromMenu(kMainTitle, main, "h", "c");
    Accessible help;
    ASSERT_TRUE(waitFor([&] {
        for (const Accessible &w : reader.children(app))
            if (w != main && reader.has(w, AtState::Showing))
                help = w;
        return !help.isNull();
    })) << "no help window";
    expectWindow(help, "frame");
    keys(reader.name(help), {"Escape"});
    ASSERT_TRUE(waitFor([&] { return !reader.has(help, AtState::Showing); }));

    const QString webTitle = QStringLiteral("Almanoria - Website");
    keys(kMainTitle, {"F11"});
    const Accessible web = window(webTitle);
    expectWindow(web, "dialog");
    expectLabelled(web, "text", "Almanoria Website:");
    expectLabelled(web, "text", "Quarnwell website:");
    expectNotPresented(web, QStringLiteral("Cancel"));
    keys(webTitle, {"Return"});
    EXPECT_TRUE(gone(web));
}

} // namespace
