#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/Menu.h"
#include "platform/forms/Pictures.h"
#include "platform/forms/Toolbar.h"
#include "support/ScriptedPlatform.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

using namespace platform;
using Style = ToolbarButton::Style;

namespace {

struct Position
{
    const char *key; // nullptr: a separator
    const char *toolTip;
};

// The main window's toolbar, trailing blanks as stored.
const Position kPositions[] = {
    {"new", "Add new event "},
    {"save", "Save "},
    {"delete", "Delete "},
    {nullptr, ""},
    {"cut", "Cut "},
    {"copy", "Copy "},
    {"showevents", "Show coming events"},
    {"systray", "Run in System Tray "},
    {nullptr, ""},
    {"help", "Help "},
    {"exit", "Exit "},
};

void raisesError(const std::function<void()> &call, int number, const char *what)
{
    try {
        call();
        ADD_FAILURE() << what << ": no error";
    } catch (const vb::RuntimeError &e) {
        EXPECT_EQ(e.number(), number) << what;
    }
}

class ToolbarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form.setClientSize(9600, 6600);
        images = new ImageList(&form, QStringLiteral("ils2"));
        for (const Position &p : kPositions)
            if (p.key)
                images->Add(QString::fromLatin1(p.key), drawnIcon([](QPainter &painter) {
                                painter.fillRect(QRectF(4, 4, 24, 24), Qt::blue);
                            }));
        bar = new Toolbar(&form, QStringLiteral("tlBar1"));
        bar->setImageList(images);
        for (const Position &p : kPositions) {
            if (!p.key) {
                bar->Add(QString(), Style::Separator);
                continue;
            }
            ToolbarButton *b = bar->Add(QString::fromLatin1(p.key));
            b->setToolTipText(QString::fromLatin1(p.toolTip));
            b->setImage(QString::fromLatin1(p.key));
        }
        QObject::connect(bar, &Toolbar::ButtonClick, &form,
                         [this](ToolbarButton *b) { clicked << b->Key(); });
    }

    kxtest::ScriptedPlatform platform;
    Form form{QStringLiteral("frmDazez")};
    ImageList *images = nullptr;
    Toolbar *bar = nullptr;
    QStringList clicked;
};

} // namespace

TEST_F(ToolbarTest, ButtonsKeepTheirOrderKeysExactToolTipsAndPictures)
{
    ASSERT_EQ(bar->ButtonCount(), 11);
    auto *qtBar = qobject_cast<QToolBar *>(bar->inner());
    ASSERT_NE(qtBar, nullptr);
    const QList<QAction *> places = qtBar->actions();
    ASSERT_EQ(places.size(), 11);
    for (int i = 1; i <= 11; ++i) {
        const Position &p = kPositions[i - 1];
        ToolbarButton &b = bar->Buttons(i);
        EXPECT_EQ(b.Index(), i);
        EXPECT_EQ(places.at(i - 1)->isSeparator(), p.key == nullptr) << i;
        if (!p.key) {
            EXPECT_EQ(b.style(), Style::Separator);
            EXPECT_EQ(b.button(), nullptr);
            continue;
        }
        EXPECT_EQ(b.Key(), QString::fromLatin1(p.key));
        EXPECT_EQ(&bar->Buttons(b.Key()), &b);
        EXPECT_EQ(b.ToolTipText(), QString::fromLatin1(p.toolTip));
        ASSERT_NE(b.button(), nullptr);
        EXPECT_EQ(b.button()->toolTip(), QString::fromLatin1(p.toolTip)) << p.key;
        EXPECT_EQ(b.Image(), images->IndexOf(b.Key()));
        EXPECT_FALSE(b.button()->icon().pixmap(16, 16).isNull()) << p.key;
    }
}

TEST_F(ToolbarTest, AccessibilityNamesEachButtonByItsToolTip)
{
    form.show();
    QStringList names;
    for (int i = 1; i <= bar->ButtonCount(); ++i) {
        QToolButton *button = bar->Buttons(i).button();
        if (!button)
            continue;
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(button);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->role(), QAccessible::PushButton);
        names << a->text(QAccessible::Name);
    }
    EXPECT_EQ(names, (QStringList{"Add new event", "Save", "Delete", "Cut", "Copy",
                                  "Show coming events", "Run in System Tray", "Help", "Exit"}));
}

TEST_F(ToolbarTest, AClickRaisesButtonClickWithTheButtonAndLeavesTheFocusWhereItWas)
{
    auto *box = new TextBox(&form, QStringLiteral("txtNotes"));
    box->Move(120, 600, 2000, 285);
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    box->SetFocus();

    for (const char *key : {"exit", "new", "help", "systray"})
        QTest::mouseClick(bar->Buttons(QString::fromLatin1(key)).button(), Qt::LeftButton);
    EXPECT_EQ(clicked, (QStringList{"exit", "new", "help", "systray"}));
    EXPECT_EQ(ActiveControl(), box);

    clicked.clear();
    ToolbarButton &save = bar->Buttons(QStringLiteral("save"));
    save.setEnabled(false);
    QTest::mouseClick(save.button(), Qt::LeftButton);
    save.click();
    bar->Buttons(4).click(); // a separator
    ToolbarButton &cut = bar->Buttons(QStringLiteral("cut"));
    cut.setVisible(false);
    cut.click();
    EXPECT_TRUE(clicked.isEmpty());
    bar->Buttons(QStringLiteral("copy")).click();
    EXPECT_EQ(clicked, QStringList{"copy"});
}

TEST_F(ToolbarTest, PicturesAndButtonsAreFoundByNumberOrKeyOrRaiseTheControlsErrors)
{
    ToolbarButton &help = bar->Buttons(QStringLiteral("help"));
    help.setImage(1);
    EXPECT_EQ(help.Image(), 1);
    help.setImage(0);
    EXPECT_TRUE(help.button()->icon().isNull());

    raisesError([&] { help.setImage(99); }, 35600, "bad picture number");
    raisesError([&] { help.setImage(QStringLiteral("paste")); }, 35601, "unknown picture key");
    raisesError([&] { bar->Buttons(0); }, 35600, "button 0");
    raisesError([&] { bar->Buttons(12); }, 35600, "button 12");
    raisesError([&] { bar->Buttons(QStringLiteral("New")); }, 35601, "keys compare exactly");
    raisesError([&] { bar->Add(QStringLiteral("exit")); }, 35602, "a key twice");

    Toolbar bare(&form, QStringLiteral("tlBar2"));
    ToolbarButton *b = bare.Add(QStringLiteral("new"));
    raisesError([&] { b->setImage(1); }, 35613, "no image list");
    // A list given later shows the pictures chosen before it came.
    bare.setImageList(images);
    b->setImage(QStringLiteral("exit"));
    EXPECT_FALSE(b->button()->icon().isNull());
}

TEST_F(ToolbarTest, LiesAlongTheClientAreasTopBelowTheMenuBarAndAboveTheStatusBar)
{
    Menu *file = form.addMenu(QStringLiteral("mnuFile"), QStringLiteral("&File"));
    file->addItem(QStringLiteral("mnuExit"), QStringLiteral("E&xit"));
    auto *status = new StatusBar(&form, QStringLiteral("statBar1"));
    form.show();

    const int top = form.clientTop();
    ASSERT_GT(top, 0);
    EXPECT_EQ(bar->geometry(), QRect(0, top, form.width(), bar->sizeHint().height()));
    EXPECT_GE(bar->height(), 16 + 4); // room for the pictures
    EXPECT_DOUBLE_EQ(bar->Top(), 0);
    EXPECT_EQ(status->geometry().bottom(), form.height() - 1);
    EXPECT_EQ(status->width(), form.width());

    form.setClientSize(6000, 4000);
    EXPECT_EQ(bar->width(), form.width());
    EXPECT_EQ(bar->y(), top);
    EXPECT_EQ(status->geometry().bottom(), form.height() - 1);
}
