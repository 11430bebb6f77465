#include "support/VirtualDisplay.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <QtEndian>

namespace kxtest {

void VirtualDisplayTest::SetUp()
{
    QString xvfb;
    if (!need(QStringLiteral("Xvfb"), &xvfb))
        return;
    // Xvfb picks a free display itself and writes its number to the given descriptor.
    QProcess *server = start(xvfb, {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten",
                                    "tcp", "-fbdir", mFramebuffer.path()});
    QString number;
    const QDeadlineTimer deadline(kDisplayWaitMs);
    while (!number.endsWith(QLatin1Char('\n')) && !deadline.hasExpired() &&
           server->state() == QProcess::Running)
        if (server->waitForReadyRead(200))
            number += QString::fromLocal8Bit(server->readAllStandardOutput());
    ASSERT_TRUE(number.endsWith(QLatin1Char('\n'))) << "the virtual X server did not start";
    mEnv = QProcessEnvironment::systemEnvironment();
    mEnv.insert(QStringLiteral("DISPLAY"), QLatin1Char(':') + number.trimmed());
    mEnv.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    mEnv.remove(QStringLiteral("WAYLAND_DISPLAY"));
    mXdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
}

void VirtualDisplayTest::TearDown()
{
    for (auto it = mProcesses.rbegin(); it != mProcesses.rend(); ++it) {
        if ((*it)->state() == QProcess::NotRunning)
            continue;
        (*it)->kill();
        (*it)->waitForFinished(5000);
    }
    mProcesses.clear();
}

bool VirtualDisplayTest::need(const QString &name, QString *path)
{
    *path = QStandardPaths::findExecutable(name);
    if (!path->isEmpty())
        return true;
    // The skip marks the test; its caller returns on false.
    [&name] { GTEST_SKIP() << name.toStdString() << " is not installed on this system"; }();
    return false;
}

QProcess *VirtualDisplayTest::start(const QString &program, const QStringList &arguments,
                                    const QString &folder)
{
    auto process = std::make_unique<QProcess>();
    if (!mEnv.isEmpty())
        process->setProcessEnvironment(mEnv);
    if (!folder.isEmpty())
        process->setWorkingDirectory(folder);
    process->start(program, arguments);
    EXPECT_TRUE(process->waitForStarted(kDisplayWaitMs)) << program.toStdString();
    mProcesses.push_back(std::move(process));
    return mProcesses.back().get();
}

QString VirtualDisplayTest::output(const QString &program, const QStringList &arguments)
{
    // Not kept: one that outlives its wait ends with its object, here.
    QProcess p;
    p.setProcessEnvironment(mEnv);
    p.start(program, arguments);
    EXPECT_TRUE(p.waitForStarted(kDisplayWaitMs)) << program.toStdString();
    p.waitForFinished(kDisplayWaitMs + 5000);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

QProcess *VirtualDisplayTest::startNotificationArea()
{
    QString trayer;
    if (!need(QStringLiteral("trayer"), &trayer))
        return nullptr;
    return start(trayer, {"--edge", "bottom", "--align", "right", "--widthtype", "request",
                          "--height", "24"});
}

QStringList VirtualDisplayTest::readLines(QProcess *p, QStringList &pending,
                                          const std::function<bool(const QStringList &)> &enough)
{
    QStringList lines;
    const QDeadlineTimer deadline(kDisplayWaitMs);
    for (;;) {
        while (!pending.isEmpty()) {
            lines << pending.takeFirst();
            if (enough(lines))
                return lines;
        }
        if (deadline.hasExpired() || p->state() != QProcess::Running)
            return lines;
        if (p->waitForReadyRead(200))
            pending << QString::fromLocal8Bit(p->readAllStandardOutput())
                           .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
}

bool VirtualDisplayTest::waitUntil(const std::function<bool()> &done, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    return true;
}

QStringList VirtualDisplayTest::windows(const QString &name, bool visible)
{
    if (mXdotool.isEmpty())
        return {};
    QStringList arguments{QStringLiteral("search")};
    if (visible)
        arguments << QStringLiteral("--onlyvisible");
    arguments << QStringLiteral("--name") << name;
    return output(mXdotool, arguments).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

int VirtualDisplayTest::geometry(const QString &window, const char *value)
{
    if (mXdotool.isEmpty())
        return -1;
    const QStringList lines =
        output(mXdotool, {"getwindowgeometry", "--shell", window}).split(QLatin1Char('\n'));
    for (const QString &line : lines)
        if (line.startsWith(QLatin1String(value) + QLatin1Char('=')))
            return line.section(QLatin1Char('='), 1).toInt();
    return -1;
}

QImage VirtualDisplayTest::screen() const
{
    QFile file(mFramebuffer.filePath(QStringLiteral("Xvfb_screen0")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    // The XWD header: 25 big-endian 32-bit fields, the window name, then the colour map.
    constexpr int kFields = 25;
    if (bytes.size() < kFields * 4)
        return {};
    auto field = [&](int i) { return qFromBigEndian<quint32>(bytes.constData() + 4 * i); };
    const quint32 headerSize = field(0), width = field(4), height = field(5), byteOrder = field(7),
                  bitsPerPixel = field(11), bytesPerLine = field(12), colours = field(19);
    const qsizetype offset = qsizetype(headerSize) + qsizetype(colours) * 12;
    // A 24-bit screen is kept in 32 bits a pixel, least significant byte first on this machine.
    if (bitsPerPixel != 32 || byteOrder != 0 ||
        bytes.size() < offset + qsizetype(bytesPerLine) * height)
        return {};
    return QImage(reinterpret_cast<const uchar *>(bytes.constData() + offset), int(width),
                  int(height), int(bytesPerLine), QImage::Format_RGB32)
        .copy();
}

} // namespace kxtest
