#include "QtServices.h"

#include "platform/vb/RuntimeError.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QUrl>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

void installQtServices(const QString &productName)
{
    // Made once and never destroyed: the services are used until the process ends, also from
    // the destructors of other static objects.
    static QtMessageBox *messageBox = new QtMessageBox;
    static QtFileDialogs *fileDialogs = new QtFileDialogs;
    static QtProgram *program = new QtProgram;
    static QtClock *clock = new QtClock;
    static QtSound *sound = new QtSound;
    static QtShell *shell = new QtShell;
    static QtScreen *screen = new QtScreen;
    static QtSystemInfo *systemInfo = new QtSystemInfo;
    static QtInstance *instance = new QtInstance;
    static QtHelp *help = new QtHelp(productName);
    static QtTray *tray = new QtTray;

    Services s;
    s.messageBox = messageBox;
    s.fileDialogs = fileDialogs;
    s.program = program;
    s.clock = clock;
    s.sound = sound;
    s.shell = shell;
    s.screen = screen;
    s.systemInfo = systemInfo;
    s.instance = instance;
    s.help = help;
    s.tray = tray;
    installServices(s);
}

void ignoreFileSizeLimitSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

// ---- Program --------------------------------------------------------------------------------

QString QtProgram::folder() const
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

void QtProgram::end(int exitCode)
{
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

// ---- Clock ----------------------------------------------------------------------------------

QDateTime QtClock::now() const
{
    return QDateTime::currentDateTime();
}

// ---- Sound ----------------------------------------------------------------------------------

QtSound::QtSound() = default;
QtSound::~QtSound() = default;

bool QtSound::play(const QString &path, unsigned /*flags*/)
{
    if (mEffect)
        mEffect->stop();
    const QString local = QDir::fromNativeSeparators(path);
    if (!QFileInfo(local).isFile())
        return false;
    if (!mEffect)
        mEffect = std::make_unique<QSoundEffect>();
    const QUrl url = QUrl::fromLocalFile(QFileInfo(local).absoluteFilePath());
    if (mEffect->source() != url)
        mEffect->setSource(url);
    // Loading is asynchronous; play() before the load has finished starts it once loaded.
    mEffect->play();
    return true;
}

// ---- Shell ----------------------------------------------------------------------------------

std::intptr_t QtShell::shellExecute(QWidget * /*owner*/, const QString &operation,
                                    const QString &file, const QString & /*parameters*/,
                                    const QString &directory, int /*showCommand*/)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        throw vb::RuntimeError(vb::err::FileNotFound, QStringLiteral("File not found: shell32"));
    if (!operation.isEmpty() && operation.compare(QLatin1String("open"), Qt::CaseInsensitive) != 0)
        return 31; // no application is associated with this operation

    QUrl url(file);
    if (url.scheme().size() < 2) { // no scheme, or a drive letter: a local file
        QString local = QDir::fromNativeSeparators(file);
        if (!directory.isEmpty() && QFileInfo(local).isRelative())
            local = QDir(QDir::fromNativeSeparators(directory)).filePath(local);
        url = QUrl::fromLocalFile(local);
    }
    return QDesktopServices::openUrl(url) ? 42 : 2;
}

// ---- Screen ---------------------------------------------------------------------------------

namespace {
constexpr double TwipsPerInch = 1440.0;
constexpr double TwipsPerPixelWithoutScreen = 15.0;

QScreen *primaryScreen()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance())
               ? QGuiApplication::primaryScreen()
               : nullptr;
}
} // namespace

double QtScreen::twipsPerPixelX() const
{
    QScreen *s = primaryScreen();
    return s && s->logicalDotsPerInchX() > 0 ? TwipsPerInch / s->logicalDotsPerInchX()
                                             : TwipsPerPixelWithoutScreen;
}

double QtScreen::twipsPerPixelY() const
{
    QScreen *s = primaryScreen();
    return s && s->logicalDotsPerInchY() > 0 ? TwipsPerInch / s->logicalDotsPerInchY()
                                             : TwipsPerPixelWithoutScreen;
}

double QtScreen::widthTwips() const
{
    QScreen *s = primaryScreen();
    return s ? s->geometry().width() * twipsPerPixelX() : 0.0;
}

double QtScreen::heightTwips() const
{
    QScreen *s = primaryScreen();
    return s ? s->geometry().height() * twipsPerPixelY() : 0.0;
}

// ---- Instance -------------------------------------------------------------------------------

QString instanceLockPath(const QString &programFolder)
{
    return QDir(QDir::fromNativeSeparators(programFolder))
        .filePath(QStringLiteral("kalendrix.lock"));
}

QtInstance::QtInstance(const QString &lockPath)
{
    const QByteArray path = QFile::encodeName(lockPath);
    auto fail = [&](int error, const char *what) {
        const bool noAccess = error == EACCES || error == EPERM || error == EROFS;
        mFailure =
            vb::RuntimeError(noAccess ? vb::err::PermissionDenied : vb::err::PathFileAccessError,
                             QStringLiteral("No previous-instance lock: cannot %1 %2 (%3)")
                                 .arg(QString::fromLatin1(what), QDir::toNativeSeparators(lockPath),
                                      QString::fromLocal8Bit(std::strerror(error))));
    };
    mFd = ::open(path.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    if (mFd < 0) {
        fail(errno, "open");
        return;
    }
    int rc;
    do {
        rc = ::flock(mFd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int error = errno;
        mPrevInstance = (error == EWOULDBLOCK);
        if (!mPrevInstance)
            fail(error, "lock");
        ::close(mFd);
        mFd = -1;
    }
}

QtInstance::~QtInstance()
{
    if (mFd >= 0)
        ::close(mFd); // closing the last descriptor releases the lock
}

} // namespace platform
