#include "platform/services/NotifyIcon.h"
#include "platform/services/QtServices.h"
#include "platform/services/TrayMouseMessages.h"
#include "platform/services/WindowHandles.h"
#include "platform/services/WindowMessages.h"
#include "support/ScriptedPlatform.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

using namespace platform;

namespace {

// The program's record: main window 0x00010020, icon id 61860, all three fields valid, its
// callback message, icon 0x00010044 and the product name as tip.
NOTIFYICONDATA programRecord()
{
    NOTIFYICONDATA r;
    r.cbSize = NOTIFYICONDATA::PassedSize;
    r.hWnd = 0x00010020;
    r.uID = 61860;
    r.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    r.uCallbackMessage = 0x4000;
    r.hIcon = 0x00010044;
    r.szTip = QStringLiteral("Almanoria");
    return r;
}

// Collects the window messages that reach a widget.
class MessageSink : public QWidget
{
public:
    struct Received
    {
        std::int32_t msg, wParam, lParam;
        bool operator==(const Received &) const = default;
    };
    std::vector<Received> received;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == WindowMessageEvent::eventType()) {
            const auto *m = static_cast<WindowMessageEvent *>(e);
            received.push_back({m->msg, m->wParam, m->lParam});
            return true;
        }
        return QWidget::event(e);
    }
};

} // namespace

// ---- The record -----------------------------------------------------------------------------

TEST(NotifyIconRecord, PassesSixLittleEndianFieldsAndTheTipPaddedToTwentyTwoBlanks)
{
    const QByteArray bytes = programRecord().toBytes();
    ASSERT_EQ(bytes.size(), 46);
    const QByteArray expected = QByteArray::fromHex("2e000000"    // cbSize 46
                                                    "20000100"    // hWnd
                                                    "a4f10000"    // uID 61860
                                                    "07000000"    // uFlags 7
                                                    "00400000"    // uCallbackMessage 0x4000
                                                    "44000100") + // hIcon
                                "Almanoria             ";         // 9 + 13 blanks
    EXPECT_EQ(bytes, expected);
    // No terminator inside the 22; one zero byte follows them.
    EXPECT_FALSE(bytes.mid(24).contains('\0'));
    EXPECT_EQ(bytes.constData()[46], '\0');
}

TEST(NotifyIconRecord, TheTipIsAFixedWidthField)
{
    const struct
    {
        QString tip;
        QByteArray passed;
    } cases[] = {
        {QString(), QByteArray(22, ' ')},
        {QStringLiteral("A tip much longer than twenty-two"), "A tip much longer than"},
        {QStringLiteral("Jahrestag \u00e4"), "Jahrestag \xe4           "},
        {QStringLiteral("Tag \u20ac"), "Tag ?                 "},
    };
    for (const auto &c : cases) {
        NOTIFYICONDATA r;
        r.szTip = c.tip;
        EXPECT_EQ(r.toBytes().mid(24), c.passed) << c.tip.toStdString();
    }
    // A record never filled passes zeros only, tip included.
    EXPECT_EQ(NOTIFYICONDATA().toBytes(), QByteArray(46, '\0'));
}

TEST(NotifyIconRecord, ReadsBackWhatWasPassed)
{
    const std::optional<NOTIFYICONDATA> r = NOTIFYICONDATA::fromBytes(programRecord().toBytes());
    ASSERT_TRUE(r);
    EXPECT_EQ(r->cbSize, 46);
    EXPECT_EQ(r->hWnd, 0x00010020);
    EXPECT_EQ(r->uID, 61860);
    EXPECT_EQ(r->uFlags, 7);
    EXPECT_EQ(r->uCallbackMessage, 0x4000);
    EXPECT_EQ(r->hIcon, 0x00010044);
    EXPECT_EQ(r->szTip, QStringLiteral("Almanoria             "));

    // The tip ends at cbSize, or at a zero byte, or at the end of the bytes.
    NOTIFYICONDATA shortSize = programRecord();
    shortSize.cbSize = 24 + 4;
    EXPECT_EQ(NOTIFYICONDATA::fromBytes(shortSize.toBytes())->szTip, QStringLiteral("Alma"));
    QByteArray zeroInside = programRecord().toBytes();
    zeroInside[24 + 3] = '\0';
    EXPECT_EQ(NOTIFYICONDATA::fromBytes(zeroInside)->szTip, QStringLiteral("Alm"));
    EXPECT_EQ(NOTIFYICONDATA::fromBytes(programRecord().toBytes().left(30))->szTip,
              QStringLiteral("Almano"));
    EXPECT_FALSE(NOTIFYICONDATA::fromBytes(QByteArray(23, '\0')));
}

// ---- Handles and posted messages ------------------------------------------------------------

TEST(WindowHandles, NameALivingWindowOrIconAndNothingElse)
{
    auto a = std::make_unique<QWidget>();
    QWidget b;
    const std::int32_t ha = handleOfWindow(a.get());
    const std::int32_t hb = handleOfWindow(&b);
    EXPECT_NE(ha, 0);
    EXPECT_NE(ha, hb);
    EXPECT_EQ(handleOfWindow(a.get()), ha);
    EXPECT_EQ(windowFromHandle(ha), a.get());
    EXPECT_EQ(handleOfWindow(nullptr), 0);
    EXPECT_EQ(windowFromHandle(0), nullptr);
    a.reset();
    EXPECT_EQ(windowFromHandle(ha), nullptr);
    EXPECT_EQ(windowFromHandle(hb), &b);

    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    const QIcon icon(pixmap);
    const std::int32_t hi = iconHandle(icon);
    EXPECT_NE(hi, 0);
    EXPECT_NE(hi, hb);
    EXPECT_EQ(iconHandle(QIcon(icon)), hi); // the same picture
    EXPECT_EQ(iconFromHandle(hi).cacheKey(), icon.cacheKey());
    EXPECT_EQ(iconHandle(QIcon()), 0);
    EXPECT_TRUE(iconFromHandle(hb).isNull());
}

TEST(WindowMessages, ArePostedInOrderAndDeliveredByTheEventLoop)
{
    MessageSink sink;
    const std::int32_t h = handleOfWindow(&sink);
    EXPECT_TRUE(PostMessage(h, 0x4000, 61860, 0x201));
    EXPECT_TRUE(PostMessage(h, 0x4000, 61860, 0x202));
    EXPECT_TRUE(sink.received.empty()); // queued, not sent
    QCoreApplication::sendPostedEvents(&sink);
    EXPECT_EQ(sink.received,
              (std::vector<MessageSink::Received>{{0x4000, 61860, 0x201}, {0x4000, 61860, 0x202}}));
    EXPECT_FALSE(PostMessage(0, 0x4000, 1, 2));
    EXPECT_FALSE(PostMessage(h + 100000, 0x4000, 1, 2));
}

TEST(WindowMessages, AMessageToAWindowThatGoesIsDropped)
{
    auto sink = std::make_unique<MessageSink>();
    EXPECT_TRUE(PostMessage(handleOfWindow(sink.get()), 0x4000, 61860, 0x203));
    sink.reset();
    QCoreApplication::sendPostedEvents(); // nothing left to deliver, nothing to crash on
}

// ---- Clicks on the icon ---------------------------------------------------------------------

TEST(TrayMouseMessages, EachActivationGivesTheSystemsButtonSequence)
{
    using R = QSystemTrayIcon::ActivationReason;
    const QDateTime t0(QDate(2026, 12, 10), QTime(10, 0, 0));
    const int interval = 400;
    const struct
    {
        const char *what;
        std::vector<std::pair<R, int>> clicks; // reason, ms after t0
        QList<std::int32_t> messages;          // all messages, in order
    } cases[] = {
        {"left click", {{R::Trigger, 0}}, {0x201, 0x202}},
        {"right click", {{R::Context, 0}}, {0x204, 0x205}},
        {"middle click", {{R::MiddleClick, 0}}, {0x207, 0x208}},
        {"unknown", {{R::Unknown, 0}}, {}},
        {"two left clicks apart",
         {{R::Trigger, 0}, {R::Trigger, 401}},
         {0x201, 0x202, 0x201, 0x202}},
        // A desktop that reports each click of a double-click as a click.
        {"two quick left clicks",
         {{R::Trigger, 0}, {R::Trigger, 200}},
         {0x201, 0x202, 0x203, 0x202}},
        // One that reports both clicks and then the double-click too.
        {"clicks and double-click",
         {{R::Trigger, 0}, {R::Trigger, 200}, {R::DoubleClick, 200}},
         {0x201, 0x202, 0x203, 0x202}},
        // One that reports the second click as the double-click only.
        {"click and double-click",
         {{R::Trigger, 0}, {R::DoubleClick, 200}},
         {0x201, 0x202, 0x203, 0x202}},
        {"a third quick click starts anew",
         {{R::Trigger, 0}, {R::Trigger, 200}, {R::Trigger, 300}},
         {0x201, 0x202, 0x203, 0x202, 0x201, 0x202}},
        {"right clicks never pair",
         {{R::Context, 0}, {R::Context, 100}},
         {0x204, 0x205, 0x204, 0x205}},
    };
    for (const auto &c : cases) {
        TrayMouseMessages translator;
        QList<std::int32_t> all;
        for (const auto &[reason, ms] : c.clicks)
            all += translator.translate(reason, t0.addMSecs(ms), interval);
        EXPECT_EQ(all, c.messages) << c.what;
    }
}

// ---- The Qt tray ----------------------------------------------------------------------------

TEST(QtTray, WithoutANotificationAreaNoIconIsPlaced)
{
    // Tests run offscreen, where there is no notification area.
    QtTray tray;
    ASSERT_FALSE(tray.isSystemTrayAvailable());
    const QByteArray record = programRecord().toBytes();
    EXPECT_FALSE(tray.Shell_NotifyIconA(NIM_ADD, record));
    EXPECT_EQ(tray.icon(0x00010020, 61860), nullptr);
    EXPECT_FALSE(tray.Shell_NotifyIconA(NIM_DELETE, record)); // nothing there to remove
    EXPECT_FALSE(tray.Shell_NotifyIconA(NIM_ADD, QByteArray(10, '\0')));
}

// ---- The recording double -------------------------------------------------------------------

TEST(RecordingTray, AnswersAsTheSystemAndPostsTheIconsMouseMessages)
{
    kxtest::ScriptedPlatform p;
    MessageSink window;
    NOTIFYICONDATA r = programRecord();
    r.hWnd = handleOfWindow(&window);
    TrayService &tray = *services().tray;

    EXPECT_TRUE(tray.Shell_NotifyIconA(NIM_ADD, r.toBytes()));
    EXPECT_FALSE(tray.Shell_NotifyIconA(NIM_ADD, r.toBytes())); // there already
    ASSERT_TRUE(p.tray.icon(r.hWnd, 61860));
    EXPECT_EQ(p.tray.icon(r.hWnd, 61860)->szTip.trimmed(), QStringLiteral("Almanoria"));
    ASSERT_EQ(p.tray.calls.size(), 2u);
    EXPECT_EQ(p.tray.calls[0].message, NIM_ADD);
    EXPECT_EQ(p.tray.calls[0].record, r.toBytes());

    p.tray.fireMouse(0x205);
    QCoreApplication::sendPostedEvents(&window);
    EXPECT_EQ(window.received, (std::vector<MessageSink::Received>{{0x4000, 61860, 0x205}}));

    EXPECT_TRUE(tray.Shell_NotifyIconA(NIM_DELETE, r.toBytes()));
    EXPECT_FALSE(tray.Shell_NotifyIconA(NIM_DELETE, r.toBytes()));
    EXPECT_FALSE(p.tray.anyIcon());

    p.tray.available = false;
    EXPECT_FALSE(tray.isSystemTrayAvailable());
    EXPECT_FALSE(tray.Shell_NotifyIconA(NIM_ADD, r.toBytes()));
}
