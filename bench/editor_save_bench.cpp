// From the editor's Save to the main window's list showing the change, with 10,000 entries: the
// save's write, the list's refill through SetEventList (every entry's days until recomputed,
// every row read again), the upcoming-event lists brought up to date, and the repaint.

#include "EntryTable.h"

#include "core/Globals.h"
#include "core/cDAO.h"
#include "editor/frmEditor.h"
#include "mainwindow/frmDazez.h"
#include "platform/forms/Controls.h"
#include "platform/forms/ListView.h"
#include "platform/services/QtServices.h"
#include "platform/services/Services.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

constexpr int kEntries = 10000;
constexpr std::int32_t kEditedId = kEntries / 2;

class BenchClock : public platform::Clock
{
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 12, 10), QTime(10, 0)); }
};

class BenchProgram : public platform::ProgramService
{
public:
    QString path;
    QString folder() const override { return path; }
    [[noreturn]] void end(int exitCode) override { std::exit(exitCode); }
};

// Any box would mean a failed save: answer Abort (or No) and count it.
class CountingMessageBox : public platform::MessageBoxService
{
public:
    int shown = 0;
    int show(const QString &, int, const QString &) override
    {
        ++shown;
        return 3;
    }
};

void ensureApplication()
{
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kalendrix_bench";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives to the end of the process
}

void BM_EditorSaveToList(benchmark::State &state)
{
    ensureApplication();
    kxbench::EntryTable table(kEntries);
    platform::installQtServices(core::kProductName);
    BenchClock clock;
    BenchProgram program;
    program.path = QDir::toNativeSeparators(table.dir.path());
    CountingMessageBox boxes;
    const platform::Services before = platform::services();
    platform::Services s = before;
    s.clock = &clock;
    s.program = &program;
    s.messageBox = &boxes;
    platform::installServices(s);

    core::resetGlobals();
    gstrDbPath = table.path;
    if (!cDAO().DAOOpenConnection(gstrDbPath)) {
        state.SkipWithError("the database did not open");
        return;
    }
    gstrEnabledColor = QString::number(0xFFFFFF);
    gudtSettings.DefaultEvent = 1;
    gudtSettings.DefaultAlertDays = 3;

    auto *mainWindow = new frmDazez;
    mainWindow->Timer2->stop();
    mainWindow->Load();
    auto *editor = new frmEditor;
    editor->setProperty("frmParent", QVariant::fromValue<QObject *>(mainWindow));
    editor->setProperty("prpDataId", kEditedId);
    editor->Show();
    QApplication::processEvents();

    QString name;
    int round = 0;
    for (auto _ : state) {
        name = QStringLiteral("Entry %1 %2").arg(kEditedId).arg(++round);
        editor->txtName->setText(name);
        editor->DataSave();
        QApplication::processEvents(); // the list is painted with the change
    }

    platform::ListItem *row =
        mainWindow->lvw1->ListItems().Item(QStringLiteral("K%1").arg(kEditedId));
    if (boxes.shown || QFile::exists(core::programPath(QStringLiteral("DebugLog.TXT"))) || !row ||
        row->Text() != name || mainWindow->lvw1->ListItems().Count() != kEntries)
        state.SkipWithError("the save or the refill went wrong");
    state.SetItemsProcessed(state.iterations());

    editor->Unload();
    delete mainWindow;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    core::resetGlobals();
    platform::installServices(before);
}

} // namespace

BENCHMARK(BM_EditorSaveToList)->Unit(benchmark::kMillisecond)->Iterations(10);
