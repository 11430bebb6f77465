// The real program, started as a user starts it: a folder holding the executable and the
// delivered database. Checks the debug log a clean start writes, the single-instance rule and
// that a killed run leaves nothing behind that blocks the next start.

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QSysInfo>
#include <QTemporaryDir>

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

    QProcess *start()
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // A lock of this test's own, so that tests running at the same time do not meet.
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
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

} // namespace
