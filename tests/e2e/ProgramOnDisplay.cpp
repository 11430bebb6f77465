#include "ProgramOnDisplay.h"

#include "core/Globals.h"
#include "platform/jet/Jet.h"

#include <QFile>

#ifdef KX_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

namespace kxe2e {

const QString kMainWindow = QStringLiteral("^Almanoria - Quarnwell$");

namespace {

std::shared_ptr<jet::Database> openDatabase(const QString &path, bool readOnly)
{
    auto ws = jet::DBEngine::instance().CreateWorkspace({}, QStringLiteral("Admin"), {});
    return ws->OpenDatabase(path, false, readOnly, core::kConnectText);
}

} // namespace

void ProgramOnDisplayTest::SetUp()
{
    VirtualDisplayTest::SetUp();
    if (IsSkipped() || HasFatalFailure() || !need(QStringLiteral("xdotool"), &mXdotool))
        return;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(runtime.isValid());
    ASSERT_TRUE(QFile::copy(QStringLiteral(KX_PROGRAM_DIR "/Kalendrix"),
                            folder.filePath(QStringLiteral("Kalendrix"))));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KX_DELIVERED_DB), database()));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KX_DELIVERED_DIR "/virazivuzo.wav"),
                            folder.filePath(QStringLiteral("virazivuzo.wav"))));
    QFile::setPermissions(database(), QFile::ReadOwner | QFile::WriteOwner);
    // A session's private runtime folder, as Qt expects one (it warns without it); the program's
    // lock against a second start lies beside its database, not here.
    mEnv.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
}

QString ProgramOnDisplayTest::database() const
{
    return folder.filePath(QStringLiteral("vovuriv.mdb"));
}

std::vector<vb::Variant> ProgramOnDisplayTest::settings() const
{
    auto db = openDatabase(database(), true);
    std::vector<vb::Variant> values;
    {
        auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM Settings"), jet::dbOpenSnapshot);
        for (; !rs->eof(); rs->MoveNext())
            for (const QString &name : rs->FieldNames())
                values.push_back(rs->Field(name));
    }
    db->Close();
    return values;
}

vb::Variant ProgramOnDisplayTest::value(const QString &sql) const
{
    auto db = openDatabase(database(), true);
    vb::Variant v;
    {
        auto rs = db->OpenRecordset(sql, jet::dbOpenSnapshot);
        if (!rs->eof())
            v = rs->Field(rs->FieldNames().first());
    }
    db->Close();
    return v;
}

void ProgramOnDisplayTest::execute(const QStringList &statements) const
{
    auto db = openDatabase(database(), false);
    for (const QString &sql : statements)
        db->Execute(sql);
    db->Close();
}

QString ProgramOnDisplayTest::startProgram(const QStringList &launcher)
{
    const QString program = folder.filePath(QStringLiteral("Kalendrix"));
    mProgram = launcher.isEmpty()
                   ? start(program, {}, folder.path())
                   : start(launcher.first(), launcher.mid(1) << program, folder.path());
    QString window;
    waitUntil([&] {
        const QStringList main = windows(kMainWindow, true);
        if (!main.isEmpty()) {
            window = main.first();
            return true;
        }
        for (const QString &box : windows(QStringLiteral("^Almanoria$"), true))
            xdotool({"windowfocus", "--sync", box, "key", "Return"});
        return mProgram->state() != QProcess::Running;
    });
    return window;
}

void ProgramOnDisplayTest::xdotool(const QStringList &arguments)
{
    output(mXdotool, arguments);
}

void ProgramOnDisplayTest::type(const QString &window, const QStringList &keys)
{
    xdotool(QStringList{"windowfocus", "--sync", window, "key"} + keys);
}

bool ProgramOnDisplayTest::mainWindowVisible()
{
    return !windows(kMainWindow, true).isEmpty();
}

QSet<QString> ProgramOnDisplayTest::programWindows()
{
    const QStringList found = output(mXdotool, {"search", "--onlyvisible", "--class", "Kalendrix"})
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return {found.begin(), found.end()};
}

bool ProgramOnDisplayTest::startTray()
{
    if (!startNotificationArea())
        return false;
    QStringList panel;
    if (!waitUntil(
            [&] { return !(panel = windows(QStringLiteral("^panel$"), false)).isEmpty(); })) {
        ADD_FAILURE() << "the notification area did not come up";
        return false;
    }
    mPanel = panel.first();
    mEmptyPanelWidth = geometry(mPanel, "WIDTH");
    return true;
}

bool ProgramOnDisplayTest::iconPlaced()
{
    return !mPanel.isEmpty() && geometry(mPanel, "WIDTH") > mEmptyPanelWidth;
}

void ProgramOnDisplayTest::clickIcon(const QStringList &click)
{
    const QString x = QString::number(geometry(mPanel, "X") + geometry(mPanel, "WIDTH") / 2);
    const QString y = QString::number(geometry(mPanel, "Y") + geometry(mPanel, "HEIGHT") / 2);
    xdotool(QStringList{"mousemove", x, y, "click"} + click);
}

QSet<QString> ProgramOnDisplayTest::openTrayMenu()
{
    const QSet<QString> before = programWindows();
    // A window that has just gone (a notice closed by its close box) can hand the focus back
    // while the menu opens, and the menu closes with it: a person clicks again, so do we.
    for (int attempt = 0; attempt < 3; ++attempt) {
        clickIcon({"3"});
        QSet<QString> menu;
        if (waitUntil([&] { return !(menu = programWindows() - before).isEmpty(); }, 3000))
            return menu;
    }
    return {};
}

bool ProgramOnDisplayTest::chooseInMenu(const QSet<QString> &menu, const QStringList &keys)
{
    // A menu is mapped a moment before it takes the keyboard: keys that come sooner are lost,
    // and the menu stays open. It closes when its item has been chosen.
    for (int press = 0; press < 3; ++press) {
        xdotool(QStringList{"key"} + keys);
        if (waitUntil([&] { return !programWindows().intersects(menu); }, 2000))
            return true;
    }
    return false;
}

bool ProgramOnDisplayTest::trayMenu(const QStringList &keys)
{
    const QSet<QString> menu = openTrayMenu();
    return !menu.isEmpty() && chooseInMenu(menu, keys);
}

bool ProgramOnDisplayTest::canRequestClose()
{
#ifdef KX_HAVE_XCB
    return true;
#else
    return false;
#endif
}

bool ProgramOnDisplayTest::requestClose(const QString &window)
{
#ifdef KX_HAVE_XCB
    bool ok = false;
    const xcb_window_t target = window.toUInt(&ok);
    if (!ok)
        return false;
    const QByteArray display = mEnv.value(QStringLiteral("DISPLAY")).toLocal8Bit();
    xcb_connection_t *connection = xcb_connect(display.constData(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    const auto atom = [connection](const char *name) {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            connection,
            xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return found;
    };
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = target;
    message.type = atom("WM_PROTOCOLS");
    message.data.data32[0] = atom("WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_generic_error_t *error = xcb_request_check(
        connection, xcb_send_event_checked(connection, 0, target, XCB_EVENT_MASK_NO_EVENT,
                                           reinterpret_cast<const char *>(&message)));
    const bool sent = error == nullptr && message.type != XCB_ATOM_NONE;
    std::free(error);
    xcb_disconnect(connection);
    return sent;
#else
    Q_UNUSED(window);
    return false;
#endif
}

} // namespace kxe2e
