// The real program on a virtual X display, driven as a keyboard user drives it (xdotool): the
// entry a walk down the list with the arrow keys stops on is the one File > Delete deletes, and
// the editor, opened from the list with Enter, stores what was typed and pasted into its boxes
// character for character, as read back from the database file. Skipped where Xvfb or xdotool
// (or, for the paste, xclip) is missing.

#include "ProgramOnDisplay.h"

#include "core/Globals.h"
#include "platform/jet/Jet.h"
#include "platform/vb/Conversions.h"

#include <QDate>

#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace {

const QString kBox = QStringLiteral("^Almanoria$");
const QString kEditor = QStringLiteral("^Editor$");

// The entries, soonest first as the list shows them at the start: days from today.
const std::pair<const char *, int> kEntries[] = {
    {"Anna", 10}, {"Bruno", 20}, {"Chiara", 30}, {"Dario", 40}};

class KeyboardE2ETest : public kxe2e::ProgramOnDisplayTest
{
protected:
    void SetUp() override
    {
        ProgramOnDisplayTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // xdotool reads the characters it types in the locale's encoding.
        mEnv.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        seed();
    }

    // The entries, none of them coming up (no alert days), so that nothing pops up.
    void seed()
    {
        auto ws = jet::DBEngine::instance().CreateWorkspace({}, QStringLiteral("Admin"), {});
        auto db = ws->OpenDatabase(database(), false, false, core::kConnectText);
        for (const auto &[name, days] : kEntries) {
            // In a leap year, so that any day of today's year has its date.
            const QDate next = QDate::currentDate().addDays(days);
            const QDate date(1992, next.month(), next.day());
            db->Execute(QStringLiteral("INSERT INTO Dazez (Events_Id, Dazez_Name, Dazez_Date, "
                                       "Dazez_Time, Dazez_AlertDays, Dazez_Notes, Dazez_DaysTil) "
                                       "VALUES (1, '%1', '%2 00:00:00', '1899-12-30 09:00:00', "
                                       "0, '', 0)")
                            .arg(QLatin1String(name), date.toString(Qt::ISODate)));
        }
        db->Close();
    }

    // The stored entries by name: each one's notes.
    std::map<QString, QString> stored() const
    {
        auto ws = jet::DBEngine::instance().CreateWorkspace({}, QStringLiteral("Admin"), {});
        auto db = ws->OpenDatabase(database(), false, true, core::kConnectText);
        std::map<QString, QString> entries;
        {
            auto rs = db->OpenRecordset(QStringLiteral("SELECT Dazez_Name, Dazez_Notes FROM Dazez"),
                                        jet::dbOpenSnapshot);
            for (; !rs->eof(); rs->MoveNext())
                entries[vb::CStr(rs->Field(QStringLiteral("Dazez_Name")))] =
                    vb::CStr(rs->Field(QStringLiteral("Dazez_Notes")));
        }
        db->Close();
        return entries;
    }

    // The bytes of one entry's column as the file holds them, read with a statement of the
    // file's own engine: what the text is, not what a reading of it makes of it.
    QByteArray storedBytes(const QString &name, const char *column) const
    {
        auto ws = jet::DBEngine::instance().CreateWorkspace({}, QStringLiteral("Admin"), {});
        auto db = ws->OpenDatabase(database(), false, true, core::kConnectText);
        QByteArray hex;
        {
            auto rs = db->OpenRecordset(
                QStringLiteral("SELECT hex(%1) AS bytes FROM Dazez WHERE Dazez_Name = '%2'")
                    .arg(QLatin1String(column), name),
                jet::dbOpenSnapshot);
            if (!rs->eof())
                hex = vb::CStr(rs->Field(QStringLiteral("bytes"))).toLatin1();
        }
        db->Close();
        return QByteArray::fromHex(hex);
    }

    // Gives the window the keyboard (no window manager does it here) and presses the keys.
    void keys(const QString &window, const QStringList &keys)
    {
        xdotool(QStringList{"windowfocus", "--sync", window, "key", "--delay", "60"} + keys);
    }

    void typeText(const QString &window, const QString &text)
    {
        xdotool({"windowfocus", "--sync", window, "type", "--delay", "60", text});
    }

    // The one window of that name once it shows; "" when none did.
    QString awaitWindow(const QString &name)
    {
        QStringList found;
        waitUntil([&] { return !(found = windows(name, true)).isEmpty(); });
        return found.isEmpty() ? QString() : found.first();
    }

    // Where the screen changed between two pictures in a band as wide as a list row: the
    // middle of the band, near its left end. Null when no such band changed.
    static std::optional<QPoint> changedRow(const QImage &before, const QImage &after)
    {
        if (before.isNull() || before.size() != after.size())
            return std::nullopt;
        constexpr int kRowWidth = 150; // pixels changed in a line of a highlighted row, at least
        int top = -1, bottom = -1, left = after.width();
        for (int y = 0; y < after.height(); ++y) {
            const auto *a = reinterpret_cast<const QRgb *>(before.constScanLine(y));
            const auto *b = reinterpret_cast<const QRgb *>(after.constScanLine(y));
            int changed = 0, first = -1;
            for (int x = 0; x < after.width(); ++x) {
                if ((a[x] & 0xFFFFFF) != (b[x] & 0xFFFFFF)) {
                    ++changed;
                    if (first < 0)
                        first = x;
                }
            }
            if (changed < kRowWidth)
                continue;
            if (top < 0)
                top = y;
            else if (y != bottom + 1)
                break; // the first band only
            bottom = y;
            left = std::min(left, first);
        }
        if (top < 0)
            return std::nullopt;
        return QPoint(left + 20, (top + bottom) / 2);
    }

    // Waits until the screen has been still for a moment and returns it.
    QImage settledScreen()
    {
        QImage last = screen();
        waitUntil([&] {
            QImage now = screen();
            const bool still = now == last;
            last = now;
            return still;
        });
        return last;
    }

    // The names of the stored entries, in order of name.
    static std::string names(const std::map<QString, QString> &entries)
    {
        QStringList list;
        for (const auto &entry : entries)
            list << entry.first;
        return list.join(QStringLiteral(", ")).toStdString();
    }

    // Answers the delete question Yes and waits until the file holds one entry fewer; returns
    // the names of the entries left.
    std::string deleteAnswered()
    {
        const QString box = awaitWindow(kBox);
        EXPECT_FALSE(box.isEmpty()) << "no delete question";
        if (box.isEmpty())
            return names(stored());
        keys(box, {"Return"}); // Yes, the first button
        std::map<QString, QString> entries;
        waitUntil([&] { return (entries = stored()).size() < std::size(kEntries); });
        return names(entries);
    }
};

TEST_F(KeyboardE2ETest, WithKeysOnlyDeleteTakesTheEntryTheArrowsStoppedOn)
{
    const QString window = startProgram();
    ASSERT_FALSE(window.isEmpty()) << "the main window did not show";
    // Tab, Tab: the list, its first row focused but not chosen; Down, Down: "Chiara".
    keys(window, {"Tab", "Tab", "Down", "Down", "alt+f", "d"});
    EXPECT_EQ(deleteAnswered(), "Anna, Bruno, Dario");
}

TEST_F(KeyboardE2ETest, AfterAClickTheArrowKeysChooseTheEntryDeleteTakes)
{
    const QString window = startProgram();
    ASSERT_FALSE(window.isEmpty()) << "the main window did not show";
    // Where "Anna" is: the row that lights up when the keys choose it.
    keys(window, {"Tab", "Tab"});
    const QImage unchosen = settledScreen();
    keys(window, {"Down", "Up"});
    const std::optional<QPoint> anna = changedRow(unchosen, settledScreen());
    ASSERT_TRUE(anna.has_value()) << "no row lit up in the list";

    xdotool({"mousemove", QString::number(anna->x()), QString::number(anna->y()), "click", "1"});
    keys(window, {"Down", "Down", "alt+f", "d"});
    EXPECT_EQ(deleteAnswered(), "Anna, Bruno, Dario");
}

TEST_F(KeyboardE2ETest, TheEditorStoresEveryCharacterTypedAndPasted)
{
    QString xclip;
    if (!need(QStringLiteral("xclip"), &xclip))
        return;
    const QString emoji = QStringLiteral(u"\U0001F600");
    const QString name = QString(24, QLatin1Char('a')) + emoji; // the emoji as 25th character
    const QString typedNotes = QStringLiteral(u"no\u00A0break\u2028line");
    const QString pastedNotes = QStringLiteral(u" and\u00A0pasted\u2028too\u2029");

    const QString window = startProgram();
    ASSERT_FALSE(window.isEmpty()) << "the main window did not show";
    // Down, Up: "Anna" chosen; Enter opens the editor on her, the whole name selected.
    keys(window, {"Tab", "Tab", "Down", "Up", "Return"});
    const QString editor = awaitWindow(kEditor);
    ASSERT_FALSE(editor.isEmpty()) << "Enter did not open the editor";

    typeText(editor, name + QStringLiteral("b")); // one more than the box takes
    keys(editor, {"shift+Tab"});                  // to the notes
    typeText(editor, typedNotes);
    QProcess *clipboard = start(xclip, {"-selection", "clipboard", "-quiet"});
    clipboard->write(pastedNotes.toUtf8());
    clipboard->waitForBytesWritten(kxtest::kDisplayWaitMs); // no event loop here writes it
    clipboard->closeWriteChannel();
    ASSERT_TRUE(waitUntil([&] {
        return output(xclip, {"-selection", "clipboard", "-o"}) == pastedNotes.trimmed();
    })) << "the clipboard did not take the text";
    keys(editor, {"ctrl+v", "alt+f", "s"});

    std::map<QString, QString> entries;
    ASSERT_TRUE(waitUntil([&] { return (entries = stored()).count(name) == 1; }))
        << "the name was not stored as typed; the file holds " << names(entries);
    EXPECT_EQ(entries[name], typedNotes + pastedNotes);
    EXPECT_EQ(storedBytes(name, "Dazez_Name"), name.toUtf8());
    EXPECT_EQ(storedBytes(name, "Dazez_Notes"), (typedNotes + pastedNotes).toUtf8());
}

} // namespace
