#pragma once

// What the picture tools share: a temporary program folder with a copy of the delivered
// database opened as the start-up opens it (the Qt services installed, the folder in place of
// the executable's), a desktop font size given as "--points=N", a wait that lets the windows
// settle, and a picture of one window.

#include "core/Globals.h"
#include "core/cDAO.h"
#include "platform/services/QtServices.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QPixmap>
#include <QScreen>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QWidget>

#include <cstdlib>

namespace kxshot {

class ShotProgram : public platform::ProgramService
{
public:
    QString path;
    QString folder() const override { return path; }
    [[noreturn]] void end(int exitCode) override { std::exit(exitCode); }
};

// The tool's program folder, made and installed for its lifetime.
class ShotFolder
{
public:
    ShotFolder()
    {
        platform::installQtServices(core::kProductName);
        mProgram.path = QDir::toNativeSeparators(mFolder.path());
        platform::Services services = platform::services();
        services.program = &mProgram;
        platform::installServices(services);
    }

    // Copies the delivered database in and opens it into gdbMain; false when it did not open.
    bool openDatabase(const QString &delivered)
    {
        gstrDbPath = QDir(mFolder.path()).filePath(core::kDatabaseFileName);
        if (!QFile::copy(delivered, gstrDbPath))
            return false;
        QFile::setPermissions(gstrDbPath, QFile::ReadOwner | QFile::WriteOwner);
        return cDAO().DAOOpenConnection(gstrDbPath);
    }

private:
    QTemporaryDir mFolder;
    ShotProgram mProgram;
};

inline int fail(const char *tool, const QString &why)
{
    QTextStream(stderr) << tool << ": " << why << '\n';
    return 1;
}

// Takes "--points=N" out of the arguments and makes N points the desktop's font size (the virtual
// server has no desktop; Qt's own is 9 points). False for a size that is no number above 0.
inline bool takeDesktopPoints(QStringList &args)
{
    const QString option = QStringLiteral("--points=");
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (!args[i].startsWith(option))
            continue;
        const double points = args.takeAt(i).mid(option.size()).toDouble();
        if (points <= 0)
            return false;
        QFont desktop = QApplication::font();
        desktop.setPointSizeF(points);
        QApplication::setFont(desktop);
        return true;
    }
    return true;
}

inline void settle(int ms)
{
    for (int i = 0; i < ms / 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

// Saves what the screen shows of `window` (its client area) as a PNG; false when it could not.
inline bool savePicture(QWidget *window, const QString &path)
{
    const QPixmap picture = window->screen()->grabWindow(window->winId());
    if (picture.isNull() || !picture.save(path))
        return false;
    QTextStream(stdout) << "saved " << path << " (" << picture.width() << "x" << picture.height()
                        << ", window at " << window->frameGeometry().x() << ","
                        << window->frameGeometry().y() << ")\n";
    return true;
}

} // namespace kxshot
