// kx_noticeshot <delivered database> <output.png>: seeds a temporary program folder with the
// delivered database and one entry that recurs today, shows its notice through the date engine
// with the Qt services installed, and saves a picture of the notice window.

#include "shot/ShotSupport.h"

#include "core/Globals.h"
#include "dates/cDateHandler.h"
#include "dates/frmEventNotice.h"
#include "platform/forms/Form.h"

#include <QApplication>
#include <QDate>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 3)
        return kxshot::fail("kx_noticeshot", QStringLiteral("usage: kx_noticeshot <delivered "
                                                            "database> <output.png>"));
    kxshot::ShotFolder folder;
    if (!folder.openDatabase(QString::fromLocal8Bit(argv[1])))
        return kxshot::fail("kx_noticeshot", QStringLiteral("cannot open a copy of the database"));
    gudtSettings.SoundOn = 0;

    const QDate today = platform::services().clock->now().date();
    const QString date = QDate(1950, today.month(), std::min(today.day(), 28))
                             .toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    gdbMain->Execute(QStringLiteral("INSERT INTO Dazez (Events_Id, Dazez_Name, Dazez_Date, "
                                    "Dazez_Time, Dazez_AlertDays, Dazez_Notes, Dazez_DaysTil) "
                                    "VALUES (1, 'Grandma Rose', '%1', '1899-12-30 09:00:00', 3, "
                                    "'Call her in the morning.\r\nBring the photo album.', 0)")
                         .arg(date));
    cDateHandler().SetDaysTil();
    auto rs =
        gdbMain->OpenRecordset(QStringLiteral("SELECT Dazez_Id FROM Dazez"), jet::dbOpenSnapshot);
    const vb::Variant id = rs->Field(QStringLiteral("Dazez_Id"));
    rs->Close();

    if (!cDateHandler().DisplayEvent(id))
        return kxshot::fail("kx_noticeshot", QStringLiteral("no notice was shown"));
    kxshot::settle(800);

    frmEventNotice *notice = nullptr;
    for (platform::Form *form : platform::Forms())
        if (auto *n = qobject_cast<frmEventNotice *>(form))
            notice = n;
    if (!notice)
        return kxshot::fail("kx_noticeshot", QStringLiteral("the notice window is not open"));
    if (!kxshot::savePicture(notice, QString::fromLocal8Bit(argv[2])))
        return kxshot::fail("kx_noticeshot", QStringLiteral("cannot save the picture"));
    notice->Unload();
    core::resetGlobals();
    return 0;
}
