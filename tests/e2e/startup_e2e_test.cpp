// The real program, started as a user starts it: a folder holding the executable and the
// delivered database. Checks the debug log a clean start writes, the single-instance rule, that
// a killed run leaves nothing behind that blocks the next start, and that a start whose settings
// cannot be read, with every error dialog answered Ignore, never dies from a signal.

#include "core/Globals.h"
#include "platform/jet/Jet.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QSysInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

const QString kSectionEnd = QStringLiteral("End of Debug Info Gathering \r\n\r\n\r\n\r\n");
constexpr int kStartTimeoutMs = 30000;

// The section's labelled entries in their order; the version entries follow with their values
// in the text itself.
const QStringList kLabels = {
    QStringLiteral("Computer Name: "),
    QStringLiteral("Computer UserName: "),
    QStringLiteral("Country Name: "),
    QStringLiteral("CountryCode: "),
    QStringLiteral("Date Seperator: "),
    QStringLiteral("Decimal Seperator: "),
    QStringLiteral("CountryCode: "),
    QStringLiteral("Default Code Page: "),
    QStringLiteral("Default Country Code: "),
    QStringLiteral("Default Language Id: "),
    QStringLiteral("English Name of Country: "),
    QStringLiteral("Intl. Monetary Symbol: "),
    QStringLiteral("Language Id: "),
    QStringLiteral("Leading Zeros: "),
    QStringLiteral("ListItem Seperator: "),
    QStringLiteral("Local Country: "),
    QStringLiteral("Local Currency: "),
    QStringLiteral("Local Currency Symbol: "),
    QStringLiteral("Localized Name of Country: "),
    QStringLiteral("Local Language English Name: "),
    QStringLiteral("Local Language Name: "),
    QStringLiteral("Local Monetary Digits: "),
    QStringLiteral("Long Date Format: "),
    QStringLiteral("Long Date Format Ordering: "),
    QStringLiteral("Metrics: "),
    QStringLiteral("Monetary Decimal Seperator: "),
    QStringLiteral("Native Ascii: "),
    QStringLiteral("Native Name of Country: "),
    QStringLiteral("Native Name of Language: "),
    QStringLiteral("Native Currence Mode: "),
    QStringLiteral("Positive Monetary Mode: "),
    QStringLiteral("Short Date Format: "),
    QStringLiteral("Short Date Format Ordering: "),
    QStringLiteral("Thousand Seperator: "),
    QStringLiteral("Time Format: "),
    QStringLiteral("Time Format Specifier: "),
    QStringLiteral("Time Seperator: "),
    QStringLiteral("ScreenWidth: "),
    QStringLiteral("ScreenHeight: "),
    QStringLiteral("TwipsPerPixelX: "),
};

// The first lines of the log's entries, or an error text when the log is not made of entries.
QStringList entryTexts(const QString &log, QString *error)
{
    QStringList lines = log.split(QStringLiteral("\r\n"));
    if (lines.isEmpty() || !lines.last().isEmpty()) {
        *error = QStringLiteral("the log does not end with a line break");
        return {};
    }
    lines.removeLast();
    QStringList texts;
    qsizetype i = 0;
    while (i < lines.size()) {
        texts << lines[i++];
        if (texts.size() == 1 && i < lines.size() &&
            lines[i] == QStringLiteral("Almanoria Version: 2.12.11"))
            ++i;
        if (i < lines.size() && lines[i].startsWith(QStringLiteral("Description: ")))
            ++i;
        if (i >= lines.size() || !lines[i].isEmpty()) {
            *error = QStringLiteral("entry %1 does not end with an empty line").arg(texts.size());
            return texts;
        }
        ++i;
    }
    return texts;
}

// The keyboard of a program drawn on Qt's VNC platform, reached as a VNC viewer reaches it (the
// remote framebuffer protocol, version 3.3, no authentication): nothing in the program knows it
// is being driven.
class VncKeyboard
{
public:
    // Connects and completes the handshake; false when no server answered in time.
    bool connect(quint16 port, int timeoutMs)
    {
        QDeadlineTimer deadline(timeoutMs);
        do {
            mSocket.abort();
            mSocket.connectToHost(QStringLiteral("127.0.0.1"), port);
            if (mSocket.waitForConnected(500))
                break;
            QThread::msleep(100);
        } while (!deadline.hasExpired());
        if (mSocket.state() != QAbstractSocket::ConnectedState)
            return false;
        const QByteArray version = read(12, deadline);
        if (!version.startsWith("RFB "))
            return false;
        mSocket.write("RFB 003.003\n");
        const QByteArray security = read(4, deadline);
        if (security.size() != 4 || qFromBigEndian<quint32>(security.constData()) != 1)
            return false;
        mSocket.write("\x01", 1); // shared session
        const QByteArray init = read(24, deadline);
        if (init.size() != 24)
            return false;
        const quint32 nameLength = qFromBigEndian<quint32>(init.constData() + 20);
        return read(int(nameLength), deadline).size() == int(nameLength);
    }

    // Presses and releases a key (an X keysym).
    void press(quint32 keysym)
    {
        for (const quint8 down : {1, 0}) {
            char event[8] = {4, char(down), 0, 0};
            qToBigEndian(keysym, event + 4);
            mSocket.write(event, sizeof event);
        }
        mSocket.waitForBytesWritten(1000);
    }

private:
    QByteArray read(int size, const QDeadlineTimer &deadline)
    {
        QByteArray bytes;
        while (bytes.size() < size && !deadline.hasExpired()) {
            if (mSocket.bytesAvailable() == 0 && !mSocket.waitForReadyRead(100))
                continue;
            bytes += mSocket.read(size - bytes.size());
        }
        return bytes;
    }

    QTcpSocket mSocket;
};

constexpr quint32 kKeyTab = 0xff09;
constexpr quint32 kKeySpace = 0x20;

// A port nobody listens on at the moment.
quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

struct ErrorEntry
{
    int number;
    QString procedure;
};

// The error entries written after the system section: number and procedure name.
std::vector<ErrorEntry> errorEntries(const QString &log)
{
    static const QRegularExpression entry(
        QStringLiteral("\r\nNumber: (\\d+)\r\nDescription: ([^\r]*)\r\n"));
    std::vector<ErrorEntry> entries;
    const qsizetype sectionEnd = log.indexOf(kSectionEnd);
    if (sectionEnd < 0)
        return entries;
    auto it = entry.globalMatch(log, sectionEnd + kSectionEnd.size());
    while (it.hasNext()) {
        const auto match = it.next();
        entries.push_back({match.captured(1).toInt(), match.captured(2)});
    }
    return entries;
}

class StartupE2ETest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(runtime.isValid());
        ASSERT_TRUE(QFile::copy(QStringLiteral(KX_PROGRAM_DIR "/Kalendrix"), program()));
        ASSERT_TRUE(QFile::copy(QStringLiteral(KX_DELIVERED_DB),
                                folder.filePath(QStringLiteral("vovuriv.mdb"))));
        QFile::setPermissions(folder.filePath(QStringLiteral("vovuriv.mdb")),
                              QFile::ReadOwner | QFile::WriteOwner);
    }
    void TearDown() override
    {
        for (const auto &p : processes) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
    }

    QString program() const { return folder.filePath(QStringLiteral("Kalendrix")); }
    QString logPath() const { return folder.filePath(QStringLiteral("DebugLog.TXT")); }

    // `platform` is the Qt platform the program draws on: offscreen, or a VNC server whose
    // keyboard a test can use. `runtimeDir` is the session's runtime folder, the test's own
    // unless given.
    QProcess *start(const QString &platform = QStringLiteral("offscreen"),
                    const QString &runtimeDir = QString())
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                   runtimeDir.isEmpty() ? runtime.path() : runtimeDir);
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(folder.path());
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(program(), {});
        EXPECT_TRUE(process->waitForStarted(10000)) << process->errorString().toStdString();
        processes.push_back(std::move(process));
        return processes.back().get();
    }

    QByteArray readLog() const
    {
        QFile file(logPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Polls until the log holds the whole system section, while the program runs.
    QByteArray waitForSection(QProcess *process)
    {
        QDeadlineTimer deadline(kStartTimeoutMs);
        for (;;) {
            const QByteArray log = readLog();
            if (QString::fromLocal8Bit(log).contains(kSectionEnd))
                return log;
            if (deadline.hasExpired() || process->state() == QProcess::NotRunning) {
                ADD_FAILURE() << "no complete system section; the log holds:\n"
                              << log.toStdString();
                return log;
            }
            process->waitForFinished(50); // returns at once when the program ends
        }
    }

    // Polls until the log holds `count` error entries after the system section, while the
    // program runs; returns the entries found.
    std::vector<ErrorEntry> waitForErrors(QProcess *process, std::size_t count)
    {
        QDeadlineTimer deadline(kStartTimeoutMs);
        for (;;) {
            const auto entries = errorEntries(QString::fromLocal8Bit(readLog()));
            if (entries.size() >= count || deadline.hasExpired() ||
                process->state() == QProcess::NotRunning)
                return entries;
            process->waitForFinished(50);
        }
    }

    QTemporaryDir folder;
    QTemporaryDir runtime;
    std::vector<std::unique_ptr<QProcess>> processes;
};

TEST_F(StartupE2ETest, ACleanStartWritesTheSystemSectionAndNothingElse)
{
    QProcess *process = start();
    waitForSection(process);
    // The rest of the start-up (database, settings, main window) runs on; anything it logged
    // would show up here.
    EXPECT_FALSE(process->waitForFinished(1500)) << "the program ended on its own";
    const QString log = QString::fromLocal8Bit(readLog());

    const QStringList lines = log.split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("Computer Name: "));
    EXPECT_EQ(lines[1], QStringLiteral("Almanoria Version: 2.12.11"));
    EXPECT_EQ(lines[2], QStringLiteral("Description: ") + QSysInfo::machineHostName());
    EXPECT_EQ(lines[3], QString());

    QString error;
    const QStringList texts = entryTexts(log, &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_EQ(texts.size(), 45) << log.toStdString();
    EXPECT_EQ(texts.mid(0, kLabels.size()), kLabels);
    EXPECT_TRUE(texts[40].startsWith(QStringLiteral("Windows Version: ")));
    EXPECT_TRUE(texts[41].startsWith(QStringLiteral("Build Number: ")));
    EXPECT_TRUE(texts[42].startsWith(QStringLiteral("Service Pack: ")));
    EXPECT_EQ(texts[43], QStringLiteral("End of Debug Info Gathering "));
    EXPECT_EQ(texts[44], QString());
    EXPECT_TRUE(log.endsWith(kSectionEnd)) << "nothing follows the section";
}

TEST_F(StartupE2ETest, ASecondStartEndsAtOnceAndLeavesTheFirstAlone)
{
    QProcess *first = start();
    const QByteArray before = waitForSection(first);

    QProcess *second = start();
    ASSERT_TRUE(second->waitForFinished(10000)) << "the second instance did not end";
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);

    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(readLog(), before) << "the second start touched the first's log";
}

TEST_F(StartupE2ETest, AStartFromTheSameFolderInAnotherSessionIsASecondStartToo)
{
    QProcess *first = start();
    const QByteArray before = waitForSection(first);

    QTemporaryDir other, readOnly;
    QFile::setPermissions(readOnly.path(), QFile::ReadOwner | QFile::ExeOwner);
    for (const QString &runtimeDir : {other.path(), readOnly.path()}) {
        SCOPED_TRACE(runtimeDir.toStdString());
        QProcess *second = start(QStringLiteral("offscreen"), runtimeDir);
        ASSERT_TRUE(second->waitForFinished(10000)) << "the second instance did not end";
        EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second->exitCode(), 0);
    }
    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(readLog(), before) << "a second start touched the first's log";
}

TEST_F(StartupE2ETest, AKilledRunDoesNotBlockTheNextStart)
{
    QProcess *killed = start();
    waitForSection(killed);
    killed->kill();
    ASSERT_TRUE(killed->waitForFinished(5000));
    ASSERT_TRUE(QFile::remove(logPath()));

    QProcess *next = start();
    const QString log = QString::fromLocal8Bit(waitForSection(next));
    EXPECT_TRUE(log.startsWith(QStringLiteral("Computer Name: \r\nAlmanoria Version: 2.12.11")));
    EXPECT_FALSE(next->waitForFinished(1000)) << "the next start ended as a second instance";
}

TEST_F(StartupE2ETest, UnreadableSettingsWithEveryDialogIgnoredNeverEndInASignal)
{
    {
        auto ws = jet::DBEngine::instance().CreateWorkspace({}, QStringLiteral("Admin"), {});
        auto db = ws->OpenDatabase(folder.filePath(QStringLiteral("vovuriv.mdb")), false, false,
                                   core::kConnectText);
        db->Execute(QStringLiteral("ALTER TABLE Settings RENAME TO Settings_damaged"));
        db->Close();
    }
    const quint16 port = freePort();
    ASSERT_NE(port, 0);
    QProcess *process = start(QStringLiteral("vnc:size=1024x768:port=%1").arg(port));
    VncKeyboard keyboard;
    ASSERT_TRUE(keyboard.connect(port, kStartTimeoutMs)) << "no VNC server on port " << port;

    // The settings read fails; after Ignore, each of its two steps that need the recordset
    // reports 91. The dialog opens on Abort: two Tabs reach Ignore.
    const std::vector<int> expected = {3078, 91, 91};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto entries = waitForErrors(process, i + 1);
        ASSERT_EQ(entries.size(), i + 1)
            << (process->state() != QProcess::NotRunning       ? "no further dialog"
                : process->exitStatus() == QProcess::CrashExit ? "the program died from a signal"
                                                               : "the program ended");
        EXPECT_EQ(entries[i].number, expected[i]);
        EXPECT_EQ(entries[i].procedure, QStringLiteral("cDAO.RSReadFrom"));
        keyboard.press(kKeyTab);
        keyboard.press(kKeyTab);
        keyboard.press(kKeySpace);
    }

    // Nothing more is asked: the start goes on to the main window.
    if (process->waitForFinished(1500)) {
        EXPECT_EQ(process->exitStatus(), QProcess::NormalExit) << "ended by a signal";
    }
    EXPECT_EQ(errorEntries(QString::fromLocal8Bit(readLog())).size(), expected.size());
}

} // namespace
