// A save is atomic: a process killed at any moment while the editor saves leaves the database
// whole, with each entry either written completely or not at all. The test runs this same
// executable as a child that saves entries through the real editor until it is killed, kills it
// at varying moments, several times, and then reads the file.

#include "EditorFixture.h"

#include "core/cDAO.h"
#include "platform/forms/Controls.h"
#include "platform/forms/DTPicker.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

const char *const kChildDatabase = "KX_SAVE_CHILD_DB";
const char *const kChildFirst = "KX_SAVE_CHILD_FIRST";
constexpr int kNotesRepeats = 300;

QString notesFor(const QString &mark)
{
    return (mark + QLatin1Char(';')).repeated(kNotesRepeats);
}

vb::Variant dateFor(int k)
{
    return vb::Variant(vb::Date::fromQDate(QDate(1900, 1, 1).addDays(k)));
}

vb::Variant timeFor(int k)
{
    return vb::Variant(vb::Date::fromQTime(QTime(0, 0).addSecs(60 * (k % 1440))));
}

// The child: saves entry after entry, each first inserted and then changed once, and reports
// every completed save on its standard output. It never ends by itself.
TEST(EditorSaveChild, SavesUntilKilled)
{
    const QString path = qEnvironmentVariable(kChildDatabase);
    if (path.isEmpty())
        GTEST_SKIP() << "runs only as the child of the kill test";
    kxtest::ScriptedPlatform platform;
    core::resetGlobals();
    gstrDbPath = path;
    ASSERT_TRUE(cDAO().DAOOpenConnection(gstrDbPath));
    gstrEnabledColor = QString::number(0xFFFFFF);
    gudtSettings.DefaultEvent = 1;
    gudtSettings.DefaultAlertDays = 3;

    kxeditortest::StandInMainWindow mainWindow;
    auto *editor = new frmEditor;
    editor->setProperty("frmParent", QVariant::fromValue<QObject *>(&mainWindow));
    editor->setProperty("prpDataId", -1);
    editor->Show();
    for (int k = qEnvironmentVariableIntValue(kChildFirst);; ++k) {
        for (const QString &suffix : {QString(), QStringLiteral("u")}) {
            const QString mark = QString::number(k) + suffix;
            editor->txtName->setText(QStringLiteral("E") + mark);
            editor->txtNotes->setText(notesFor(mark));
            editor->cboAlertDays->setText(QString::number(k % 31));
            editor->DTPdate->setValue(dateFor(k));
            editor->DTPtime->setValue(timeFor(k));
            editor->DataSave();
            ASSERT_FALSE(editor->isDirty());
            std::printf("saved %s\n", qPrintable(mark));
            std::fflush(stdout);
        }
        ASSERT_TRUE(editor->NewEvent());
    }
}

TEST(EditorSave, AProcessKilledWhileSavingLeavesTheDatabaseWhole)
{
    kxtest::ScriptedPlatform platform;
    core::resetGlobals();
    const QString path = platform.copyDeliveredDatabase();
    ASSERT_FALSE(path.isEmpty());
    QTemporaryDir childTemp; // the children's own temporary folders, left behind by the kill

    QRandomGenerator random(20261210);
    QStringList confirmed;
    constexpr int kRounds = 6;
    for (int round = 0; round < kRounds; ++round) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildDatabase), path);
        env.insert(QString::fromLatin1(kChildFirst), QString::number(round * 1000));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TMPDIR"), childTemp.path());
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::SeparateChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=EditorSaveChild.SavesUntilKilled")});
        ASSERT_TRUE(child.waitForStarted());

        // Let it complete a few saves, then kill it somewhere inside the next ones.
        const int saves = 1 + static_cast<int>(random.bounded(6));
        int seen = 0;
        while (seen < saves) {
            ASSERT_TRUE(child.waitForReadyRead(30000)) << child.readAllStandardError().data();
            while (child.canReadLine()) {
                const QString line = QString::fromUtf8(child.readLine()).trimmed();
                if (line.startsWith(QLatin1String("saved "))) {
                    confirmed << line.mid(6);
                    ++seen;
                }
            }
        }
        QThread::usleep(random.bounded(20000));
        child.kill();
        ASSERT_TRUE(child.waitForFinished(30000));
        while (child.canReadLine()) {
            const QString line = QString::fromUtf8(child.readLine()).trimmed();
            if (line.startsWith(QLatin1String("saved ")))
                confirmed << line.mid(6);
        }
    }

    gstrDbPath = path;
    ASSERT_TRUE(cDAO().DAOOpenConnection(gstrDbPath));
    auto check =
        gdbMain->OpenRecordset(QStringLiteral("PRAGMA integrity_check"), jet::dbOpenSnapshot);
    EXPECT_EQ(vb::CStr(check->Field(check->FieldNames().at(0))), QStringLiteral("ok"));
    check->Close();

    // Every row is one whole save: its name, notes and alert days belong together.
    const QRegularExpression name(QStringLiteral("^E(\\d+)(u?)$"));
    QStringList found;
    auto rs = gdbMain->OpenRecordset(QStringLiteral("SELECT * FROM Dazez"), jet::dbOpenSnapshot);
    for (; !rs->eof(); rs->MoveNext()) {
        const QRegularExpressionMatch m =
            name.match(vb::CStr(rs->Field(QStringLiteral("Dazez_Name"))));
        ASSERT_TRUE(m.hasMatch());
        const int k = m.captured(1).toInt();
        const QString mark = m.captured(1) + m.captured(2);
        EXPECT_EQ(vb::CStr(rs->Field(QStringLiteral("Dazez_Notes"))), notesFor(mark))
            << mark.toStdString();
        EXPECT_EQ(vb::CLng(rs->Field(QStringLiteral("Dazez_AlertDays"))), k % 31);
        EXPECT_EQ(vb::CLng(rs->Field(QStringLiteral("Events_Id"))), 1);
        EXPECT_EQ(rs->Field(QStringLiteral("Dazez_Date")), dateFor(k));
        EXPECT_EQ(rs->Field(QStringLiteral("Dazez_Time")), timeFor(k));
        found << mark;
    }
    rs->Close();
    // What a child reported as saved is there (its insert may since have been changed by it).
    for (const QString &mark : confirmed) {
        const bool changed = mark.endsWith(QLatin1Char('u'));
        EXPECT_TRUE(found.contains(mark) || (!changed && found.contains(mark + QLatin1Char('u'))))
            << mark.toStdString();
    }
    EXPECT_GE(found.size(), kRounds);
    core::resetGlobals();
}

} // namespace
