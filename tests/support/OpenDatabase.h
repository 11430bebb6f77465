#pragma once

#include "support/ScriptedPlatform.h"

#include "core/Globals.h"
#include "core/cDAO.h"

#include <gtest/gtest.h>

namespace kxtest {

// The scripted platform with a fresh copy of the delivered database open in gdbMain, as after a
// start-up: the usual ground for tests of the core and the layers above it.
class OpenDatabaseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        core::resetGlobals();
        gstrDbPath = platform.copyDeliveredDatabase();
        ASSERT_FALSE(gstrDbPath.isEmpty());
        ASSERT_TRUE(cDAO().DAOOpenConnection(gstrDbPath));
    }
    void TearDown() override { core::resetGlobals(); }

    // Runs an action statement directly (test seeding).
    void execute(const QString &sql) { gdbMain->Execute(sql); }
    // Adds an entry and returns its id.
    std::int32_t addEntry(const QString &name, const QString &isoDate, int eventId = 1,
                          int alertDays = 3, const QString &isoTime = QStringLiteral("09:00:00"),
                          const QString &notes = QString());
    // The debug log's text ("" when there is none).
    QString debugLog() const;
    // The procedure names of the log's entries for error `number`, in the order written.
    QStringList loggedProcedures(int number) const;

    ScriptedPlatform platform;
};

} // namespace kxtest
