#include "platform/services/QtServices.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/fsuid.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

// ---- File dialogs ---------------------------------------------------------------------------

TEST(QtNameFilters, PairsBecomeQtFilters)
{
    const struct
    {
        const char *filter;
        QStringList expected;
    } cases[] = {
        {"*.mdb|*.mdb", {"*.mdb (*.mdb)"}},
        {"vovuriv.mdb|vovuriv.mdb", {"vovuriv.mdb (vovuriv.mdb)"}},
        {"Databases|*.mdb|All files|*.*", {"Databases (*.mdb)", "All files (*.*)"}},
        {"Logs|*.txt;*.log", {"Logs (*.txt *.log)"}},
        {"|*.wav", {"*.wav (*.wav)"}},
        {"", {}},
        {"Unpaired", {}},
        {"Sounds|*.wav|Unpaired", {"Sounds (*.wav)"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(qtNameFilters(QString::fromLatin1(c.filter)), c.expected) << c.filter;
}

namespace {

struct DialogSeen
{
    QString title;
    QString directory;
    QStringList nameFilters;
    bool stillOpenAfterAccept = false;
    bool nestedBox = false;
};

// Runs a real dialog; once it is up, `act` gets it. A message box that the dialog opens on top
// of itself is noted and closed; whatever is still open afterwards is cancelled, so a failing
// test cannot hang.
std::optional<QString> runDialog(bool open, const FileDialogRequest &request, DialogSeen &seen,
                                 const std::function<void(QFileDialog &)> &act)
{
    seen = DialogSeen{};
    QTimer boxWatcher;
    boxWatcher.setInterval(10);
    QObject::connect(&boxWatcher, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            seen.nestedBox = true;
            box->reject();
        }
    });
    boxWatcher.start();
    QTimer driver;
    driver.setInterval(10);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        driver.stop();
        // Acted on from a queued call, not from this timer: a box the dialog opens runs its own
        // event loop, and only then can the watcher's timer fire inside it.
        QMetaObject::invokeMethod(
            dialog,
            [&, dialog] {
                seen.title = dialog->windowTitle();
                seen.directory = dialog->directory().absolutePath();
                seen.nameFilters = dialog->nameFilters();
                act(*dialog);
                QApplication::processEvents();
                seen.stillOpenAfterAccept = dialog->isVisible();
                if (dialog->isVisible())
                    dialog->reject();
            },
            Qt::QueuedConnection);
    });
    driver.start();
    QtFileDialogs dialogs;
    return open ? dialogs.open(request, nullptr) : dialogs.save(request, nullptr);
}

void accept(QFileDialog &d)
{
    QMetaObject::invokeMethod(&d, "accept");
}

void touch(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

} // namespace

TEST(QtFileDialogs, SaveReturnsTheFullPathOfThePresetNameWithoutAskingToOverwrite)
{
    QTemporaryDir dir;
    touch(dir.filePath("BirthdayDBbackup532003"));
    FileDialogRequest request;
    request.title = QStringLiteral("Backup Almanoria database.");
    request.filter = QStringLiteral("*.mdb|*.mdb");
    request.fileName = QStringLiteral("BirthdayDBbackup532003");
    request.initDir = dir.path();
    DialogSeen seen;
    const auto chosen = runDialog(false, request, seen, accept);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, QDir(dir.path()).filePath("BirthdayDBbackup532003"));
    EXPECT_EQ(seen.title, request.title);
    EXPECT_EQ(seen.directory, QDir(dir.path()).absolutePath());
    EXPECT_EQ(seen.nameFilters, QStringList{"*.mdb (*.mdb)"});
    EXPECT_FALSE(seen.nestedBox);
    EXPECT_FALSE(seen.stillOpenAfterAccept);
}

TEST(QtFileDialogs, CancelGivesNothing)
{
    QTemporaryDir dir;
    FileDialogRequest request;
    request.initDir = dir.path();
    request.fileName = QStringLiteral("name");
    DialogSeen seen;
    EXPECT_FALSE(runDialog(false, request, seen, [](QFileDialog &d) { d.reject(); }));
    EXPECT_FALSE(runDialog(true, request, seen, [](QFileDialog &d) { d.reject(); }));
}

TEST(QtFileDialogs, OpenAcceptsOnlyAnExistingFile)
{
    QTemporaryDir dir;
    touch(dir.filePath("vovuriv.mdb"));
    FileDialogRequest request;
    request.title = QStringLiteral("Almanoria database connection ");
    request.filter = QStringLiteral("vovuriv.mdb|vovuriv.mdb");
    request.initDir = dir.path();

    DialogSeen seen;
    request.fileName = QStringLiteral("vovuriv.mdb");
    const auto chosen = runDialog(true, request, seen, accept);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, QDir(dir.path()).filePath("vovuriv.mdb"));
    EXPECT_EQ(seen.nameFilters, QStringList{"vovuriv.mdb (vovuriv.mdb)"});

    request.fileName = QStringLiteral("missing.mdb");
    EXPECT_FALSE(runDialog(true, request, seen, accept));
    EXPECT_TRUE(seen.stillOpenAfterAccept);
}

// A name typed into the dialog's name box, then Enter, as the user confirms a backup's name. The
// toolkit reads double quotes there as the marks around several names; a dialog that chooses one
// file takes what was typed as that one name.
TEST(QtFileDialogs, ATypedNameIsOneFileQuotesAndAll)
{
    QTemporaryDir dir, other;
    const QString folder = QDir(dir.path()).absolutePath();
    const QString subfolder = QDir(folder).filePath(QStringLiteral("old \"disks\""));
    ASSERT_TRUE(QDir().mkdir(subfolder));
    touch(dir.filePath(QStringLiteral("the \"real\" vovuriv.mdb")));
    touch(dir.filePath(QStringLiteral("real"))); // what the toolkit would make of a name above
    const struct
    {
        bool open;
        QString typed;
        QString chosen; // in the dialog's folder unless absolute; empty: the dialog stays open
        QString folderAfter = QString(); // where a dialog that stays open stands then
        bool box = false;                // "File not found" shown
    } cases[] = {
        {false, QStringLiteral("my \"best\" copy.mdb"), QStringLiteral("my \"best\" copy.mdb")},
        {false, QStringLiteral("copy 12\" disk.mdb"), QStringLiteral("copy 12\" disk.mdb")},
        {false, QStringLiteral("\"quoted\".mdb"), QStringLiteral("\"quoted\".mdb")},
        {false, QStringLiteral("backup 5\""), QStringLiteral("backup 5\"")},
        {false, QStringLiteral("\"a\" \"b\""), QStringLiteral("\"a\" \"b\"")},
        {false, QStringLiteral("plain.mdb"), QStringLiteral("plain.mdb")},
        {false, other.filePath(QStringLiteral("far \"away\".mdb")),
         other.filePath(QStringLiteral("far \"away\".mdb"))},
        {false, QStringLiteral("old \"disks\""), QString(), subfolder},
        {true, QStringLiteral("the \"real\" vovuriv.mdb"),
         QStringLiteral("the \"real\" vovuriv.mdb")},
        {true, QStringLiteral("gone \"real\" vovuriv.mdb"), QString(), folder, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        FileDialogRequest request;
        request.filter = QStringLiteral("*.mdb|*.mdb");
        request.fileName = QStringLiteral("BirthdayDBbackup532003");
        request.initDir = dir.path();
        DialogSeen seen;
        QString folderAfter;
        const auto chosen = runDialog(c.open, request, seen, [&](QFileDialog &d) {
            auto *edit = d.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(edit, nullptr);
            edit->setFocus();
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Backspace);
            QTest::keyClicks(edit, c.typed);
            QTest::keyClick(edit, Qt::Key_Return);
            folderAfter = d.directory().absolutePath();
        });
        EXPECT_EQ(seen.nestedBox, c.box);
        if (c.chosen.isEmpty()) {
            EXPECT_FALSE(chosen.has_value());
            EXPECT_TRUE(seen.stillOpenAfterAccept);
            EXPECT_EQ(folderAfter.toStdString(), c.folderAfter.toStdString());
        } else {
            EXPECT_EQ(chosen.value_or(QStringLiteral("(nothing)")).toStdString(),
                      QDir(folder).absoluteFilePath(c.chosen).toStdString());
        }
    }
}

// ---- Screen ---------------------------------------------------------------------------------

TEST(QtScreen, TwipsFollowTheLogicalDpi)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    QtScreen s;
    EXPECT_DOUBLE_EQ(s.twipsPerPixelX(), 1440.0 / screen->logicalDotsPerInchX());
    EXPECT_DOUBLE_EQ(s.twipsPerPixelY(), 1440.0 / screen->logicalDotsPerInchY());
    EXPECT_DOUBLE_EQ(s.widthTwips(), screen->geometry().width() * s.twipsPerPixelX());
    EXPECT_DOUBLE_EQ(s.heightTwips(), screen->geometry().height() * s.twipsPerPixelY());
    if (screen->logicalDotsPerInchX() == 96.0) {
        EXPECT_DOUBLE_EQ(s.twipsPerPixelX(), 15.0);
    }
}

// ---- Sound ----------------------------------------------------------------------------------

namespace {
// A valid PCM WAV file: 8 kHz mono 8-bit silence, 80 samples (10 ms) unless told.
void writeWav(const QString &path, quint32 samples = 80)
{
    QByteArray data;
    auto u32 = [&](quint32 v) {
        for (int i = 0; i < 4; ++i)
            data.append(char((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [&](quint16 v) { data.append(char(v & 0xFF)).append(char(v >> 8)); };
    data.append("RIFF");
    u32(36 + samples);
    data.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(8000);
    u32(8000);
    u16(1);
    u16(8);
    data.append("data");
    u32(samples);
    data.append(QByteArray(samples, char(0x80)));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}
} // namespace

TEST(QtSound, MissingFilePlaysNothing)
{
    QTemporaryDir dir;
    QtSound sound;
    EXPECT_FALSE(sound.play(dir.filePath("virazivuzo.wav"), 3));
    EXPECT_EQ(sound.effect(), nullptr); // not even a sound device was opened
}

TEST(QtSound, ANewCallStopsTheSoundStillPlaying)
{
    QTemporaryDir dir;
    const QString wav = dir.filePath("virazivuzo.wav");
    writeWav(wav, 8000 * 5); // long enough to be still playing
    QtSound sound;
    EXPECT_TRUE(sound.play(wav, 3));
    ASSERT_NE(sound.effect(), nullptr);
    EXPECT_EQ(sound.effect()->source(), QUrl::fromLocalFile(wav));
    // The sample loads on the toolkit's own thread. Waiting for it also keeps the toolkit from
    // leaking its decoder: its sample cache, torn down at exit after that thread has stopped,
    // hands a sample still loading to the stopped thread for deletion. The program's sound
    // service lives until the process ends, so only a test can end while a sample loads.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return sound.effect()->status() != QSoundEffect::Loading; }, 10000));
    EXPECT_EQ(sound.effect()->status(), QSoundEffect::Ready);
    EXPECT_TRUE(sound.effect()->isPlaying());

    EXPECT_FALSE(sound.play(dir.filePath("gone.wav"), 3));
    EXPECT_FALSE(sound.effect()->isPlaying());
    EXPECT_EQ(sound.effect()->source(), QUrl::fromLocalFile(wav)); // nothing else was loaded
}

// ---- Instance -------------------------------------------------------------------------------

TEST(QtInstance, SecondHolderSeesThePreviousInstance)
{
    QTemporaryDir dir;
    const QString lock = instanceLockPath(dir.path());
    {
        QtInstance first(lock);
        EXPECT_FALSE(first.prevInstance());
        QtInstance second(lock);
        EXPECT_TRUE(second.prevInstance());
    }
    QtInstance third(lock); // the first holder is gone, and the second never held the lock
    EXPECT_FALSE(third.prevInstance());
}

namespace {

const char *const kInstanceChild = "KX_INSTANCE_CHILD";

// This thread's file access as the unprivileged user "nobody" while it lives, where the process
// runs as root: root opens and makes files in any folder. Elsewhere it changes nothing.
class AsNobody
{
public:
    AsNobody() : mRoot(::geteuid() == 0)
    {
        if (mRoot) {
            ::setfsgid(kNobody);
            ::setfsuid(kNobody);
        }
    }
    ~AsNobody()
    {
        if (mRoot) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }
    bool active() const { return !mRoot || ::setfsuid(-1) == kNobody; }

private:
    static constexpr uid_t kNobody = 65534;
    bool mRoot;
};

} // namespace

// Started by the test below as a start of this same program would be: it reports what the
// lock of its program folder said.
TEST(QtInstanceChild, ReportsTheProgramFoldersLock)
{
    if (qEnvironmentVariableIsEmpty(kInstanceChild))
        GTEST_SKIP() << "runs only as the child of the lock test";
    QtInstance instance;
    std::printf("%s\n", instance.prevInstance() ? "previous" : "first");
}

// Every start of the program from one folder meets the one lock beside the database, whatever
// runtime folder its session gives it, or none.
TEST(QtInstance, EveryStartFromOneProgramFolderMeetsItsLock)
{
    EXPECT_EQ(instanceLockPath(QStringLiteral("/opt/kx")),
              QStringLiteral("/opt/kx/kalendrix.lock"));
    QtInstance first; // this test program's own folder
    ASSERT_FALSE(first.prevInstance()) << "another run of these tests holds the lock";
    EXPECT_FALSE(first.lockFailure());
    EXPECT_TRUE(QFile::exists(instanceLockPath(QCoreApplication::applicationDirPath())));

    QTemporaryDir own, other, readOnly;
    QFile::setPermissions(readOnly.path(), QFile::ReadOwner | QFile::ExeOwner);
    const struct
    {
        const char *name;
        std::optional<QString> runtimeDir; // nothing: not set
    } cases[] = {
        {"a runtime folder of its own", own.path()},
        {"another runtime folder", other.path()},
        {"a read-only runtime folder", readOnly.path()},
        {"no runtime folder", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kInstanceChild), QStringLiteral("1"));
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        if (c.runtimeDir)
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), *c.runtimeDir);
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(
            QCoreApplication::applicationFilePath(),
            {QStringLiteral("--gtest_filter=QtInstanceChild.ReportsTheProgramFoldersLock")});
        ASSERT_TRUE(child.waitForFinished(30000));
        const QStringList said =
            QString::fromLocal8Bit(child.readAllStandardOutput())
                .split(QLatin1Char('\n'))
                .filter(QRegularExpression(QStringLiteral("^(previous|first)$")));
        EXPECT_EQ(said, QStringList{QStringLiteral("previous")});
    }
}

// A folder that takes no lock file: the start is not held back, and it is told why. A lock file
// made before the folder became read-only still serves.
TEST(QtInstance, AFolderWithoutALockSaysWhy)
{
    struct Case
    {
        const char *name;
        bool lockFileBefore; // made while the folder was writable
        bool heldByAnother;
        bool previous;
        int failure; // 0: none
        QString reason = QString();
    };
    const Case cases[] = {
        {"read-only folder", false, false, false, 70, QStringLiteral("Permission denied")},
        {"read-only folder, lock file made earlier", true, false, false, 0},
        {"read-only folder, lock held by another", true, true, true, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString lock = instanceLockPath(dir.path());
        std::optional<QtInstance> other;
        if (c.lockFileBefore)
            QtInstance made(lock);
        if (c.heldByAnother)
            other.emplace(lock);
        ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                          QFile::ReadOther | QFile::ExeOther));
        bool previous = false;
        std::optional<vb::RuntimeError> failure;
        {
            AsNobody nobody;
            if (!nobody.active())
                GTEST_SKIP() << "root cannot take an unprivileged file-system user here";
            QtInstance instance(lock);
            previous = instance.prevInstance();
            failure = instance.lockFailure();
        }
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(previous, c.previous);
        EXPECT_EQ(failure ? failure->number() : 0, c.failure);
        if (failure) {
            EXPECT_TRUE(failure->description().contains(lock))
                << failure->description().toStdString();
            EXPECT_TRUE(failure->description().contains(c.reason))
                << failure->description().toStdString();
        }
    }

    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("kalendrix.lock"))); // not a file
    QtInstance instance(instanceLockPath(dir.path()));
    EXPECT_FALSE(instance.prevInstance());
    ASSERT_TRUE(instance.lockFailure());
    EXPECT_EQ(instance.lockFailure()->number(), 75);
}

TEST(QtInstance, LockDiesWithItsProcess)
{
    QTemporaryDir dir;
    const QByteArray lock = QFile::encodeName(dir.filePath("kalendrix.lock"));
    int ready[2], hold[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(hold), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Only async-signal-safe calls here: the child holds the lock until it is killed.
        const int fd = ::open(lock.constData(), O_RDWR | O_CREAT, 0600);
        const char ok = (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) ? '1' : '0';
        (void)!::write(ready[1], &ok, 1);
        char c;
        (void)!::read(hold[0], &c, 1);
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(hold[0]);
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, '1');

    EXPECT_TRUE(QtInstance(dir.filePath("kalendrix.lock")).prevInstance());

    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ::close(hold[1]);
    EXPECT_FALSE(QtInstance(dir.filePath("kalendrix.lock")).prevInstance());
}
