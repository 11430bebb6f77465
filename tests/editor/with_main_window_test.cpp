// The editor with the real main window as its parent: what the editor saves and deletes shows in
// the main window's list, which the editor refills through the window's SetEventList by name.

#include "mainwindow/MainWindowFixture.h"

#include "editor/frmEditor.h"
#include "platform/forms/Controls.h"
#include "platform/forms/DTPicker.h"

#include <QTest>

namespace {

using platform::mb::Yes;

class EditorWithMainWindowTest : public kxmaintest::MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        gstrEnabledColor = QString::number(0xFFFFFF);
        load();
    }

    frmEditor *openEditor(std::int32_t id)
    {
        auto *editor = new frmEditor;
        editor->setProperty("frmParent", QVariant::fromValue<QObject *>(frm.data()));
        editor->setProperty("prpDataId", id);
        editor->Show();
        return editor;
    }

    std::vector<std::int32_t> upcomingIds() const
    {
        std::vector<std::int32_t> ids;
        for (int i = 1; i <= gcolUpcomingId.Count(); ++i)
            ids.push_back(vb::CLng(gcolUpcomingId.Item(i)));
        return ids;
    }
};

TEST_F(EditorWithMainWindowTest, ASavedEntryShowsInTheListAndADeletedOneLeavesIt)
{
    ASSERT_EQ(frm->lvw1->ListItems().Count(), 0);
    frmEditor *editor = openEditor(-1);
    EXPECT_DOUBLE_EQ(editor->Left(), frm->Left() + 240);

    editor->txtName->setText(QStringLiteral("Greta"));
    editor->DTPdate->setValue(vb::Variant(vb::Date::fromYmd(1950, 12, 12)));
    editor->DataSave();
    const std::int32_t id = editor->prpDataId();
    ASSERT_GT(id, 0);

    ASSERT_EQ(frm->lvw1->ListItems().Count(), 1);
    platform::ListItem *row = frm->lvw1->ListItems().Item(1);
    EXPECT_EQ(row->Key(), QStringLiteral("K%1").arg(id));
    EXPECT_EQ(row->Text(), QStringLiteral("Greta"));
    EXPECT_EQ(row->SubItems(1), QStringLiteral("12/12/1950"));
    EXPECT_EQ(row->SubItems(2), QStringLiteral("Birthday"));
    EXPECT_EQ(row->SubItems(3), QStringLiteral("2"));
    EXPECT_EQ(upcomingIds(), std::vector<std::int32_t>{id});

    // A change shows at the next save, in the same row.
    editor->txtName->setText(QStringLiteral("Greta B."));
    editor->DataSave();
    ASSERT_EQ(frm->lvw1->ListItems().Count(), 1);
    EXPECT_EQ(frm->lvw1->ListItems().Item(1)->Text(), QStringLiteral("Greta B."));

    platform.messageBox.expect(Yes, QStringLiteral("Deleting -- Greta B."));
    EXPECT_TRUE(editor->DeleteEvent());
    EXPECT_EQ(frm->lvw1->ListItems().Count(), 0);
    EXPECT_TRUE(upcomingIds().empty());
    EXPECT_EQ(platform.messageBox.pendingAnswers(), 0u);
    EXPECT_TRUE(debugLog().isEmpty()) << debugLog().toStdString();
}

} // namespace
