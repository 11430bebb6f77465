#include "core/EditorHook.h"
#include "core/Globals.h"
#include "core/MainCode_QW.h"
#include "core/StartupHooks.h"
#include "dates/cDateHandler.h"
#include "editor/frmEditor.h"
#include "editor/frmAbout.h"
#include "editor/frmURL.h"
#include "mainwindow/frmDazez.h"

#include "platform/services/QtServices.h"

#include <QApplication>
#include <QPointer>

int main(int argc, char **argv)
{
    platform::ignoreFileSizeLimitSignal();
    QApplication app(argc, argv);
    // The program ends when its main window unloads, after the exit question, or by the tray
    // menu's Quit, never because no window is left on the screen: in the tray, a notice or a box
    // that closes is often the last window shown. Nor does the toolkit's quit lock end it when
    // some helper object releases its lock.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QCoreApplication::setQuitLockEnabled(false);
    platform::installQtServices(core::kProductName);

    QPointer<frmDazez> mainWindow;
    core::StartupHooks &hooks = core::startupHooks();
    hooks.recomputeDaysTil = [] { cDateHandler().SetDaysTil(); };
    hooks.loadMainWindow = [&mainWindow] {
        mainWindow = new frmDazez;
        mainWindow->Load();
    };
    hooks.showWebsiteFallback = [] { showWebsiteFallbackWindow(); };
    core::editorInstanceHook() = [] { return editorDefaultInstance(); };
    hooks.showAbout = [] { showAboutWindow(); };

    Main();

    // Start-up ended without a main window (the user ended it, or it failed): nothing to run.
    if (!mainWindow || mainWindow->isUnloaded())
        return 0;
    // The program lives as long as its main window; unloading it ends the event loop.
    QObject::connect(mainWindow, &platform::Form::Unloaded, &app, &QCoreApplication::quit);
    QObject::connect(mainWindow, &QObject::destroyed, &app, &QCoreApplication::quit);
    return app.exec();
}
