#include "EditorFixture.h"

#include "platform/forms/Controls.h"

namespace kxeditortest {

QString EditorTest::status(frmEditor *editor) const
{
    return editor->statBar1->Panels(1).Text();
}

int EditorTest::rowCount() const
{
    auto rs = gdbMain->OpenRecordset(QStringLiteral("SELECT * FROM Dazez"), jet::dbOpenSnapshot);
    const int count = rs->RecordCount();
    rs->Close();
    return count;
}

vb::Variant EditorTest::stored(std::int32_t id, const QString &column) const
{
    auto rs = gdbMain->OpenRecordset(QStringLiteral("SELECT * FROM Dazez WHERE Dazez_Id = ") +
                                         QString::number(id),
                                     jet::dbOpenSnapshot);
    vb::Variant value;
    if (!rs->eof())
        value = rs->Field(column);
    rs->Close();
    return value;
}

std::vector<std::int32_t> EditorTest::upcomingIds() const
{
    std::vector<std::int32_t> ids;
    for (int i = 1; i <= gcolUpcomingId.Count(); ++i)
        ids.push_back(vb::CLng(gcolUpcomingId.Item(i)));
    return ids;
}

} // namespace kxeditortest
