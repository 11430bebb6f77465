#pragma once

// The one gateway to the database. Holds no state: it works on gwsMain, gdbMain, gstrDbPath and
// grsShared (Globals.h). Create one for an operation and drop it after. Every operation reports
// its own errors; none raises to its caller.

#include <QString>

namespace platform {
class CommonDialog;
}

class cDAO
{
public:
    // grsShared := a read-only snapshot of the statement on its first row; returns the full row
    // count (0 when the statement failed). When the statement fails, Abort leaves grsShared as
    // it was; Ignore leaves it set to nothing, never to an earlier statement's recordset.
    int RSReadFrom(const QString &argSQL);
    // Runs an action statement on gdbMain; true when it ran (or the user ignored its failure).
    bool RSDelete(const QString &argSQL);
    // grsShared := an updatable dynaset of the statement (a failure as in RSReadFrom).
    void RSOpen(const QString &argSQL);
    // Opens gstrDbPath's database into gwsMain/gdbMain. A missing file asks whether to search
    // for it (No ends the program); any other failure goes to the error dialog. True when open.
    bool DAOOpenConnection(QString &argConnectionString);
    // Copies the database file to a file the user names in the save dialog of argCdlg, closing
    // and reopening the database around the copy. True when a copy was made; failures are
    // logged only, and the database is open again afterwards.
    bool BackUpDatabase(platform::CommonDialog *argCdlg);

    // "BirthdayDBbackup" with day, month and year without leading zeros (BirthdayDBbackup532003).
    static QString backupPresetName();

    // How often, and how far apart, a statement is tried again while its table is held.
    static constexpr int kHeldTableTries = 5;
    static constexpr int kHeldTableWaitMs = 100;
};
