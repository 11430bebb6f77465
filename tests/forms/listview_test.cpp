#include "platform/forms/CheckBox.h"
#include "platform/forms/Form.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/ListView.h"
#include "platform/forms/WindowUpdateLock.h"
#include "platform/vb/RuntimeError.h"
#include "support/ScriptedPlatform.h"

#include <QAccessible>
#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace platform;

namespace {

QIcon square(Qt::GlobalColor color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

int errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const vb::RuntimeError &e) {
        return e.number();
    }
    return 0;
}

class ListViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = new Form(QStringLiteral("frmTest"));
        form->setClientSize(6000, 4500);
        images = new ImageList(form, QStringLiteral("ils3"));
        images->Add(QStringLiteral("birthday"), square(Qt::red));
        images->Add(QStringLiteral("anniversary"), square(Qt::green));
        lvw = new ListView(form, QStringLiteral("lvw1"));
        lvw->Move(0, 0, 6000, 3000);
        other = new CheckBox(form, QStringLiteral("chkOther"), QStringLiteral("Other"));
        other->Move(0, 3200, 1500, 300);
    }
    void TearDown() override { delete form; }

    // Name, date and days columns, and one row per name with its days in sub-item 2.
    void fill(const QStringList &names)
    {
        lvw->ColumnHeaders().Add(std::nullopt, QStringLiteral("Name"), QStringLiteral("Name"),
                                 1800);
        lvw->ColumnHeaders().Add(std::nullopt, QStringLiteral("Date"), QStringLiteral("Date"),
                                 1400);
        lvw->ColumnHeaders().Add(std::nullopt, QStringLiteral("Days"), QStringLiteral("Days"), 750,
                                 Alignment::Center);
        for (int i = 0; i < names.size(); ++i) {
            ListItem *item =
                lvw->ListItems().Add(std::nullopt, QStringLiteral("K%1").arg(i + 1), names[i]);
            item->setSubItems(2, QString::number(names.size() - i));
        }
    }

    QStringList texts() const
    {
        QStringList out;
        for (int i = 1; i <= lvw->ListItems().Count(); ++i)
            out << lvw->ListItems().Item(i)->Text();
        return out;
    }

    // The centre of row `row` (1-based), in the view's viewport.
    QPoint rowPoint(int row) const
    {
        QTreeWidget *tree = lvw->tree();
        return tree->visualItemRect(tree->topLevelItem(row - 1)).center();
    }

    void showAndFocus()
    {
        form->show();
        QApplication::setActiveWindow(form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        lvw->SetFocus();
    }

    kxtest::ScriptedPlatform platform;
    Form *form = nullptr;
    ImageList *images = nullptr;
    ListView *lvw = nullptr;
    CheckBox *other = nullptr;
};

TEST_F(ListViewTest, ColumnHeadersKeepKeyTextWidthAndAlignment)
{
    fill({});
    ASSERT_EQ(lvw->ColumnHeaders().Count(), 3);
    const ColumnHeader *days = lvw->ColumnHeaders().Item(3);
    EXPECT_EQ(days->Key(), QStringLiteral("Days"));
    EXPECT_EQ(days->Text(), QStringLiteral("Days"));
    EXPECT_EQ(days->Width(), 750);
    EXPECT_EQ(days->alignment(), Alignment::Center);
    EXPECT_EQ(days->Index(), 3);
    EXPECT_EQ(lvw->ColumnHeaders().Item(1)->Width(), 1800);
    QTreeWidgetItem *header = lvw->tree()->headerItem();
    EXPECT_EQ(header->text(1), QStringLiteral("Date"));
    EXPECT_TRUE(header->textAlignment(2) & Qt::AlignHCenter);
    EXPECT_FALSE(lvw->tree()->isHeaderHidden());

    // A header put in front moves the others right, their widths with them.
    lvw->ColumnHeaders().Add(1, QStringLiteral("First"), QStringLiteral("First"), 600);
    EXPECT_EQ(lvw->ColumnHeaders().Item(1)->Key(), QStringLiteral("First"));
    EXPECT_EQ(lvw->ColumnHeaders().Item(4)->Width(), 750);
    EXPECT_EQ(header->text(3), QStringLiteral("Days"));

    lvw->ColumnHeaders().Clear();
    EXPECT_EQ(lvw->ColumnHeaders().Count(), 0);
    EXPECT_TRUE(lvw->tree()->isHeaderHidden());
}

TEST_F(ListViewTest, BadNumbersKeysAndPicturesRaiseTheControlsErrors)
{
    fill({QStringLiteral("Ann")});
    const struct
    {
        const char *what;
        std::function<void()> call;
        int error;
    } cases[] = {
        {"header 0", [&] { lvw->ColumnHeaders().Item(0); }, 35600},
        {"header 4", [&] { lvw->ColumnHeaders().Item(4); }, 35600},
        {"header at 5", [&] { lvw->ColumnHeaders().Add(5, {}, {}); }, 35600},
        {"row 2", [&] { lvw->ListItems().Item(2); }, 35600},
        {"row at 3", [&] { lvw->ListItems().Add(3, {}, {}); }, 35600},
        {"key again", [&] { lvw->ListItems().Add(std::nullopt, QStringLiteral("K1"), {}); }, 35602},
        {"picture without a list", [&] { lvw->ListItems().Add(std::nullopt, {}, {}, 0, 1); },
         35613},
        {"sub-item 0", [&] { lvw->ListItems().Item(1)->SubItems(0); }, 380},
        {"sub-item 3", [&] { lvw->ListItems().Item(1)->setSubItems(3, {}); }, 380},
        {"sort order 2", [&] { lvw->setSortOrder(2); }, 380},
    };
    for (const auto &c : cases)
        EXPECT_EQ(errorOf(c.call), c.error) << c.what;

    lvw->setSmallIcons(images);
    EXPECT_EQ(errorOf([&] { lvw->ListItems().Add(std::nullopt, {}, {}, 0, 3); }), 35600);
    EXPECT_EQ(lvw->ListItems().Count(), 1) << "a refused row is not added";
}

TEST_F(ListViewTest, RowsCarryKeyTextSubItemsAndTheirSmallPicture)
{
    lvw->setSmallIcons(images);
    fill({QStringLiteral("Ann"), QStringLiteral("Bob")});
    ListItem *bob = lvw->ListItems().Item(QStringLiteral("K2"));
    ASSERT_NE(bob, nullptr);
    EXPECT_EQ(bob->Index(), 2);
    EXPECT_EQ(bob->Text(), QStringLiteral("Bob"));
    EXPECT_EQ(bob->SubItems(2), QStringLiteral("1"));
    EXPECT_EQ(bob->SubItems(1), QString());
    EXPECT_EQ(lvw->ListItems().Item(QStringLiteral("K9")), nullptr);

    const QTreeWidget *tree = lvw->tree();
    EXPECT_TRUE(tree->topLevelItem(1)->icon(0).isNull());
    bob->setSmallIcon(2);
    EXPECT_EQ(bob->SmallIcon(), 2);
    EXPECT_EQ(tree->topLevelItem(1)->icon(0).pixmap(16).toImage().pixelColor(8, 8),
              QColor(Qt::green));
    EXPECT_TRUE(tree->topLevelItem(1)->textAlignment(2) & Qt::AlignHCenter);

    lvw->ListItems().Remove(1);
    EXPECT_EQ(texts(), QStringList{QStringLiteral("Bob")});
    lvw->ListItems().Clear();
    EXPECT_EQ(lvw->ListItems().Count(), 0);
    EXPECT_NO_THROW(lvw->ListItems().Add(std::nullopt, QStringLiteral("K2"), {}))
        << "a cleared list forgets its keys";
}

// A refill sets its rows' sub-items while the window is kept from painting: the rows hold them
// at once, and the list shows them when the lock ends. On a list that paints, each change is
// announced to the view.
TEST_F(ListViewTest, SubItemsSetUnderTheWindowsLockShowWhenItEnds)
{
    fill({QStringLiteral("Ann"), QStringLiteral("Bob")});
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    QAbstractItemModel *model = lvw->tree()->model();
    QSignalSpy changes(model, &QAbstractItemModel::dataChanged);
    ListItem *ann = lvw->ListItems().Item(1);
    ann->setSubItems(1, QStringLiteral("3/5/1970"));
    EXPECT_EQ(changes.count(), 1);

    struct PaintCounter : QObject
    {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    QApplication::processEvents();
    lvw->tree()->viewport()->installEventFilter(&counter);
    ASSERT_TRUE(LockWindowUpdate(form));
    ann->setSubItems(1, QStringLiteral("4/6/1971"));
    ann->setSubItems(2, QStringLiteral("12"));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(model->data(model->index(0, 1)).toString(), QStringLiteral("4/6/1971"));
    EXPECT_EQ(ann->SubItems(2), QStringLiteral("12"));
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    LockWindowUpdate(nullptr);
    QApplication::processEvents();
    EXPECT_GE(counter.paints, 1);
    lvw->tree()->viewport()->removeEventFilter(&counter);
}

TEST_F(ListViewTest, SortedSortsByTheSortKeysTextAndUnsortingKeepsTheOrder)
{
    const QStringList names = {QStringLiteral("carl"), QStringLiteral("Anna"),
                               QStringLiteral("bert"), QStringLiteral("Dora")};
    const struct
    {
        int sortKey;
        int sortOrder;
        QStringList expected;
    } cases[] = {
        {0, 0, {"Anna", "bert", "carl", "Dora"}}, // letters without regard to case
        {0, 1, {"Dora", "carl", "bert", "Anna"}},
        {2, 0, {"Dora", "bert", "Anna", "carl"}}, // by the sub-item's text: "1" "2" "3" "4"
    };
    for (const auto &c : cases) {
        lvw->ListItems().Clear();
        lvw->ColumnHeaders().Clear();
        fill(names);
        lvw->setSortKey(c.sortKey);
        lvw->setSortOrder(c.sortOrder);
        EXPECT_EQ(texts(), names) << "nothing moves before Sorted";
        lvw->setSorted(true);
        EXPECT_EQ(texts(), c.expected) << c.sortKey << "/" << c.sortOrder;
        lvw->setSorted(false);
        EXPECT_EQ(texts(), c.expected);
    }
    lvw->setSortKey(0);
    lvw->setSortOrder(0);
    lvw->setSorted(true);
    lvw->ListItems().Add(std::nullopt, {}, QStringLiteral("Bea"));
    EXPECT_EQ(texts().indexOf(QStringLiteral("Bea")), 1) << "a row added while sorted";
}

TEST_F(ListViewTest, SelectingARowSelectsItAlone)
{
    fill({QStringLiteral("Ann"), QStringLiteral("Bob"), QStringLiteral("Cid")});
    EXPECT_EQ(lvw->SelectedItem(), nullptr);
    lvw->ListItems().Item(1)->setSelected(true);
    lvw->ListItems().Item(3)->setSelected(true);
    EXPECT_FALSE(lvw->ListItems().Item(1)->Selected());
    EXPECT_EQ(lvw->SelectedItem(), lvw->ListItems().Item(3));
    lvw->ListItems().Item(3)->setSelected(false);
    EXPECT_EQ(lvw->SelectedItem(), nullptr);
}

TEST_F(ListViewTest, MouseEventsSelectFirstAndReportButtonAndTwips)
{
    fill({QStringLiteral("Ann"), QStringLiteral("Bob")});
    showAndFocus();
    QList<QString> events;
    QString selectedAtMouseDown;
    QObject::connect(lvw, &ListView::Click, lvw, [&] { events << QStringLiteral("Click"); });
    QObject::connect(lvw, &ListView::DblClick, lvw, [&] { events << QStringLiteral("DblClick"); });
    QObject::connect(
        lvw, &ListView::MouseDown, lvw, [&](int button, int shift, double x, double y) {
            events << QStringLiteral("MouseDown %1 %2").arg(button).arg(shift);
            selectedAtMouseDown = lvw->SelectedItem() ? lvw->SelectedItem()->Text() : QString();
            EXPECT_GT(x, 0);
            EXPECT_GT(y, 0);
            EXPECT_EQ(static_cast<int>(x) % 15, 0) << "twips of whole pixels";
        });
    QWidget *viewport = lvw->tree()->viewport();

    QTest::mouseClick(viewport, Qt::RightButton, Qt::ShiftModifier, rowPoint(2));
    EXPECT_EQ(events, QStringList{QStringLiteral("MouseDown 2 1")});
    EXPECT_EQ(selectedAtMouseDown, QStringLiteral("Bob")) << "the row is selected first";

    events.clear();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowPoint(1));
    EXPECT_EQ(events, (QStringList{QStringLiteral("MouseDown 1 0"), QStringLiteral("Click")}));
    EXPECT_EQ(lvw->SelectedItem()->Text(), QStringLiteral("Ann"));

    events.clear();
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, rowPoint(2));
    EXPECT_EQ(events.count(QStringLiteral("DblClick")), 1);
    EXPECT_LE(events.count(QStringLiteral("Click")), 1) << "no click after the double click";
    EXPECT_EQ(events.last(), QStringLiteral("DblClick"));

    events.clear();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(5, viewport->height() - 3));
    EXPECT_TRUE(events.contains(QStringLiteral("Click"))) << "also below the rows";
}

TEST_F(ListViewTest, ColumnClickGivesTheHeadersPosition)
{
    fill({QStringLiteral("Ann")});
    showAndFocus();
    QSignalSpy columns(lvw, &ListView::ColumnClick);
    QHeaderView *header = lvw->tree()->header();
    for (int logical : {2, 0}) {
        const QPoint at(header->sectionViewportPosition(logical) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    ASSERT_EQ(columns.count(), 2);
    EXPECT_EQ(columns.at(0).at(0).toInt(), 3);
    EXPECT_EQ(columns.at(1).at(0).toInt(), 1);
    EXPECT_EQ(texts(), QStringList{QStringLiteral("Ann")}) << "the view sorts nothing itself";
}

TEST_F(ListViewTest, EnterOnASelectedRowActsAsADoubleClick)
{
    fill({QStringLiteral("Ann"), QStringLiteral("Bob")});
    showAndFocus();
    QSignalSpy doubles(lvw, &ListView::DblClick);
    QTest::keyClick(lvw->tree(), Qt::Key_Return);
    EXPECT_EQ(doubles.count(), 0) << "no row selected";
    lvw->ListItems().Item(2)->setSelected(true);
    QTest::keyClick(lvw->tree(), Qt::Key_Return);
    EXPECT_EQ(doubles.count(), 1);
}

// A key that selects another row clicks it; one that leaves the selection as it is does not.
// Each case starts from "Ann" selected by a mouse click, or from no selection when `from` is 0.
TEST_F(ListViewTest, AKeyThatSelectsAnotherRowClicksIt)
{
    const struct
    {
        const char *keys;
        QList<Qt::Key> press;
        int from;
        QString selected; // "" for none
        int clicks;
    } cases[] = {
        {"Down twice", {Qt::Key_Down, Qt::Key_Down}, 1, QStringLiteral("Chiara"), 2},
        {"Down, Up", {Qt::Key_Down, Qt::Key_Up}, 1, QStringLiteral("Ann"), 2},
        {"End", {Qt::Key_End}, 1, QStringLiteral("Dario"), 1},
        {"Page Down", {Qt::Key_PageDown}, 1, QStringLiteral("Dario"), 1},
        {"Up on the first row", {Qt::Key_Up}, 1, QStringLiteral("Ann"), 0},
        {"Home on the first row", {Qt::Key_Home}, 1, QStringLiteral("Ann"), 0},
        {"Down into a list with nothing chosen", {Qt::Key_Down}, 0, QStringLiteral("Bob"), 1},
        {"Space on the focused row", {Qt::Key_Space}, 0, QStringLiteral("Ann"), 1},
        {"Left and Right", {Qt::Key_Left, Qt::Key_Right}, 1, QStringLiteral("Ann"), 0},
    };
    fill({QStringLiteral("Ann"), QStringLiteral("Bob"), QStringLiteral("Chiara"),
          QStringLiteral("Dario")});
    showAndFocus();
    QWidget *viewport = lvw->tree()->viewport();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.keys);
        lvw->tree()->clearSelection();
        lvw->tree()->setCurrentItem(nullptr);
        if (c.from == 1) {
            const QRect row = lvw->tree()->visualItemRect(lvw->ListItems().Item(1));
            QTest::mouseClick(viewport, Qt::LeftButton, {}, row.center());
        } else {
            // As Tab leaves it: the first row focused, nothing selected.
            lvw->tree()->selectionModel()->setCurrentIndex(
                lvw->tree()->model()->index(0, 0), QItemSelectionModel::NoUpdate);
        }
        QSignalSpy clicks(lvw, &ListView::Click);
        QStringList selectedAtClick;
        const auto connection = QObject::connect(lvw, &ListView::Click, lvw, [&] {
            selectedAtClick << (lvw->SelectedItem() ? lvw->SelectedItem()->Text() : QString());
        });
        for (Qt::Key key : c.press)
            QTest::keyClick(lvw->tree(), key);
        QObject::disconnect(connection);
        const ListItem *selected = lvw->SelectedItem();
        EXPECT_EQ(selected ? selected->Text() : QString(), c.selected);
        EXPECT_EQ(clicks.count(), c.clicks);
        if (!selectedAtClick.isEmpty()) {
            EXPECT_EQ(selectedAtClick.last(), c.selected) << "the row is selected at the click";
        }
    }
}

TEST_F(ListViewTest, SelectingARowInCodeClicksNothing)
{
    fill({QStringLiteral("Ann"), QStringLiteral("Bob")});
    showAndFocus();
    QSignalSpy clicks(lvw, &ListView::Click);
    lvw->ListItems().Item(2)->setSelected(true);
    lvw->ListItems().Item(2)->setSelected(false);
    lvw->ListItems().Clear();
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ListViewTest, LostFocusWhenTheFocusMovesOnButNotForAPopUpMenu)
{
    fill({QStringLiteral("Ann")});
    showAndFocus();
    QSignalSpy lost(lvw, &Control::LostFocus);
    const struct
    {
        Qt::FocusReason reason;
        int expected;
    } cases[] = {{Qt::PopupFocusReason, 0},
                 {Qt::ActiveWindowFocusReason, 0},
                 {Qt::TabFocusReason, 1},
                 {Qt::MouseFocusReason, 1}};
    for (const auto &c : cases) {
        lost.clear();
        QFocusEvent out(QEvent::FocusOut, c.reason);
        QApplication::sendEvent(lvw->tree(), &out);
        EXPECT_EQ(lost.count(), c.expected) << c.reason;
    }
    lost.clear();
    other->SetFocus();
    EXPECT_EQ(lost.count(), 1);
}

TEST_F(ListViewTest, HeadersAndRowsAreReadableThroughAccessibility)
{
    fill({QStringLiteral("Ann"), QStringLiteral("Bob")});
    showAndFocus();
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(lvw->tree());
    ASSERT_NE(list, nullptr);
    QAccessibleTableInterface *table = list->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->columnCount(), 3);
    EXPECT_EQ(table->columnDescription(1), QStringLiteral("Date"));
    QAccessibleInterface *cell = table->cellAt(1, 0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("Bob"));
}

} // namespace
