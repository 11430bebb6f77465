#pragma once

// The ground of the editor's tests: the scripted platform and a fresh copy of the delivered
// database (OpenDatabaseTest), the settings of a first start, empty upcoming-event lists, and a
// stand-in main window that records the editor's calls back into it.

#include "core/Globals.h"
#include "dates/UpcomingLists.h"
#include "dates/cDateHandler.h"
#include "editor/frmEditor.h"
#include "platform/forms/Form.h"
#include "platform/vb/Conversions.h"
#include "support/OpenDatabase.h"

#include <QApplication>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace kxeditortest {

// The main window as the editor sees it: a list "lvw1" and a SetEventList callable by name.
// Like the real one, a refill first recomputes every entry's days until; it records how many
// entries the table held when it was asked.
class StandInMainWindow : public platform::Form
{
    Q_OBJECT
public:
    StandInMainWindow() : Form(QStringLiteral("frmDazez"))
    {
        lvw1 = new QObject(this);
        lvw1->setObjectName(QStringLiteral("lvw1"));
        setClientSize(9600, 6600);
        Move(1500, 1200);
    }

    struct Call
    {
        QObject *list = nullptr;
        int column = 0;
        int argDefault = 0;
        std::vector<std::int32_t> ids; // the entries the refill found
    };

    Q_INVOKABLE bool SetEventList(QObject *argLVW, short argColumn, short argDefault = 0)
    {
        cDateHandler().SetDaysTil();
        Call call{argLVW, argColumn, argDefault, {}};
        auto rs = gdbMain->OpenRecordset(QStringLiteral("SELECT Dazez_Id FROM Dazez"),
                                         jet::dbOpenSnapshot);
        for (; !rs->eof(); rs->MoveNext())
            call.ids.push_back(vb::CLng(rs->Field(QStringLiteral("Dazez_Id"))));
        rs->Close();
        calls.push_back(call);
        return false;
    }

    QObject *lvw1 = nullptr;
    std::vector<Call> calls;
};

class EditorTest : public kxtest::OpenDatabaseTest
{
protected:
    void SetUp() override
    {
        dates::resetUpcomingLists();
        OpenDatabaseTest::SetUp();
        gstrEnabledColor = QString::number(0xFFFFFF);
        gudtSettings.DefaultEvent = 1; // "Birthday"
        gudtSettings.DefaultAlertDays = 3;
        gudtSettings.DefaultDisplayTime = vb::textToDate(QStringLiteral("1899-12-30 09:00:00"));
        gudtSettings.TimerOn = 0;
        gudtSettings.SoundOn = 0;
        mainWindow = new StandInMainWindow;
        mainWindow->Show();
    }

    void TearDown() override
    {
        const QList<platform::Form *> forms = platform::Forms();
        for (platform::Form *form : forms)
            form->Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete mainWindow.data();
        dates::resetUpcomingLists();
        OpenDatabaseTest::TearDown();
    }

    // Opens the editor as the main window does: parent, id, then shown modeless.
    frmEditor *openEditor(std::int32_t id)
    {
        auto *editor = new frmEditor;
        editor->setProperty("frmParent", QVariant::fromValue<QObject *>(mainWindow.data()));
        editor->setProperty("prpDataId", id);
        editor->Show();
        editor->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(editor));
        return editor;
    }

    QString status(frmEditor *editor) const;
    int rowCount() const;
    // One column of one entry, as stored.
    vb::Variant stored(std::int32_t id, const QString &column) const;
    std::vector<std::int32_t> upcomingIds() const;

    QPointer<StandInMainWindow> mainWindow;
};

} // namespace kxeditortest
