// Fitting windows laid out for a small design font to the desktop's font: which texts are found
// not to fit, and how the window layer enlarges the layout (or, on a small screen, the font)
// until they do.

#include "FormsFixture.h"

#include "platform/forms/Controls.h"
#include "platform/forms/DesignFont.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListView.h"
#include "platform/forms/MonthView.h"
#include "platform/forms/TabControl.h"
#include "support/ScriptedPlatform.h"
#include "support/TextFit.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QTableView>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace platform;

namespace {

const QString kUrl = QStringLiteral("http://www.quarnwell.example/kalendrix.htm");
const QString kMessage =
    QStringLiteral("Almanoria has been unable to establish an Internet connection.\r\n"
                   "Copy and paste one of the links below into your internet browser and then "
                   "try to establish a connection.");

using DesignFontTest = kxformstest::FormTest;

// ---- which texts do not fit ---------------------------------------------------------------
// A window at the design's scale with a fixed 9-point font: DejaVu Sans, 14 pixels a line,
// "Quarnwell website:" 115 pixels wide, the address 270.

struct Case
{
    const char *what;
    std::function<Control *(Form *)> make;
    bool fits;
    const char *reported = nullptr; // the text reported, when it is not the control's own
};

template <class T> T *at(T *control, double l, double t, double w, double h)
{
    control->Move(l, t, w, h);
    return control;
}

Label *label(Form *f, const QString &caption, double l, double t, double w, double h)
{
    return at(new Label(f, QStringLiteral("lbl"), caption), l, t, w, h);
}

TextBox *box(Form *f, TextBox::Lines lines, const QString &text, double l, double t, double w,
             double h)
{
    auto *txt = at(new TextBox(f, QStringLiteral("txt"), lines), l, t, w, h);
    txt->setText(text);
    return txt;
}

// The entry list's columns, the event column `eventWidth` twips wide and made to show the event
// types whole; one row whose name is longer than its column.
ListView *entryList(Form *f, double daysWidth, double eventWidth)
{
    auto *lvw = at(new ListView(f, QStringLiteral("lvw")), 120, 120, 6000, 3000);
    lvw->ColumnHeaders().Add(std::nullopt, QStringLiteral("Name"), QStringLiteral("Name"), 1800);
    lvw->ColumnHeaders()
        .Add(std::nullopt, QStringLiteral("Event"), QStringLiteral("Event"), eventWidth,
             Alignment::Center)
        ->setWholeTexts({QStringLiteral("Birthday"), QStringLiteral("Anniversary")});
    lvw->ColumnHeaders().Add(std::nullopt, QStringLiteral("DaysTil"), QStringLiteral("Days Til"),
                             daysWidth, Alignment::Center);
    ListItem *row = lvw->ListItems().Add(std::nullopt, QStringLiteral("K1"),
                                         QStringLiteral("Wilhelmina Montgomery-Way"));
    row->setSubItems(1, QStringLiteral("Anniversary"));
    return lvw;
}

StatusBar *statusBar(Form *f, const QString &text)
{
    auto *bar = new StatusBar(f, QStringLiteral("statBar1"));
    bar->Panels(1).setText(text);
    return bar;
}

const Case kCases[] = {
    {"one-line label, too narrow: not wrapped but reported",
     [](Form *f) { return label(f, QStringLiteral("Quarnwell website:"), 375, 1845, 1680, 285); },
     false},
    {"one-line label, wide enough",
     [](Form *f) { return label(f, QStringLiteral("Quarnwell website:"), 120, 1845, 2400, 285); },
     true},
    {"one-line label, too low for the line",
     [](Form *f) { return label(f, QStringLiteral("Quarnwell website:"), 120, 1845, 2400, 195); },
     false},
    {"multi-line label needing more lines than it holds",
     [](Form *f) { return label(f, kMessage, 2115, 165, 3090, 975); }, false},
    {"multi-line label holding its wrapped lines",
     [](Form *f) { return label(f, kMessage, 120, 165, 7500, 1500); }, true},
    {"multi-line label with a word longer than its width",
     [](Form *f) { return label(f, kUrl, 120, 165, 1500, 975); }, false},
    {"command button",
     [](Form *f) {
         return at(new CommandButton(f, QStringLiteral("cmd"), QStringLiteral("&Cancel")), 120, 120,
                   1155, 345);
     },
     true},
    {"command button too narrow, reported as drawn",
     [](Form *f) {
         return at(new CommandButton(f, QStringLiteral("cmd"), QStringLiteral("Save && &close")),
                   120, 120, 600, 345);
     },
     false, "Save & close"},
    {"check box too narrow",
     [](Form *f) {
         return at(
             new CheckBox(f, QStringLiteral("chk"), QStringLiteral("Show Events at start up")), 120,
             120, 1500, 240);
     },
     false},
    {"check box",
     [](Form *f) {
         return at(
             new CheckBox(f, QStringLiteral("chk"), QStringLiteral("Show Events at start up")), 120,
             120, 3600, 300);
     },
     true},
    {"one-line box too narrow for the address",
     [](Form *f) { return box(f, TextBox::Lines::Single, kUrl, 2100, 1275, 3210, 360); }, false},
    {"one-line box for the address",
     [](Form *f) { return box(f, TextBox::Lines::Single, kUrl, 120, 1275, 5000, 360); }, true},
    {"multi-line box of one line, too narrow for the name",
     [](Form *f) {
         return box(f, TextBox::Lines::Multi, QStringLiteral("Wilhelmina Montgomery-Way"), 1035,
                    120, 2565, 345);
     },
     false},
    {"multi-line box of one line holding the name",
     [](Form *f) {
         return box(f, TextBox::Lines::Multi, QStringLiteral("Wilhelmina Montgomery-Way"), 120, 120,
                    4000, 345);
     },
     true},
    {"multi-line box of one line given two lines",
     [](Form *f) {
         return box(f, TextBox::Lines::Multi, QStringLiteral("Ann\r\nBen"), 120, 120, 4000, 345);
     },
     false},
    {"multi-line box of several lines scrolls: never reported",
     [](Form *f) { return box(f, TextBox::Lines::Multi, kMessage, 1035, 1545, 1200, 810); }, true},
    {"combo box with an item longer than its field",
     [](Form *f) {
         auto *cbo = at(new ComboBox(f, QStringLiteral("cbo")), 120, 120, 1290, 315);
         cbo->AddItem(QStringLiteral("Birthday"));
         cbo->AddItem(QStringLiteral("Anniversary of the wedding"));
         return cbo;
     },
     false, "Anniversary of the wedding"},
    {"hidden label: never reported",
     [](Form *f) {
         Label *l = label(f, QStringLiteral("Quarnwell website:"), 375, 1845, 600, 285);
         l->hide();
         return l;
     },
     true},
    {"label outside the client area: never reported",
     [](Form *f) { return label(f, QStringLiteral("Quarnwell website:"), -5000, -5000, 600, 285); },
     true},
    {"list whose headers and event types have room; a long name may be cut",
     [](Form *f) { return entryList(f, 1200, 1500); }, true},
    {"list header too narrow", [](Form *f) { return entryList(f, 600, 1500); }, false, "Days Til"},
    {"list column too narrow for an event type it must show whole, not on any row",
     [](Form *f) {
         ListView *lvw = entryList(f, 1200, 1000);
         lvw->ListItems().Item(1)->setSubItems(1, QStringLiteral("Birthday"));
         return lvw;
     },
     false, "Anniversary"},
    {"calendar",
     [](Form *f) { return at(new MonthView(f, QStringLiteral("mvw")), 0, 0, 5000, 3500); }, true},
    {"calendar too narrow for its weekday names",
     [](Form *f) { return at(new MonthView(f, QStringLiteral("mvw")), 0, 0, 2400, 3500); }, false,
     "Mon"},
    {"calendar too low for its day numbers",
     [](Form *f) { return at(new MonthView(f, QStringLiteral("mvw")), 0, 0, 5000, 1200); }, false},
    {"tabs",
     [](Form *f) {
         return at(new TabControl(f, QStringLiteral("tab"),
                                  {QStringLiteral("Events      "), QStringLiteral("Settings")}),
                   0, 0, 5000, 2000);
     },
     true},
    {"tab caption beyond the control's edge",
     [](Form *f) {
         return at(new TabControl(f, QStringLiteral("tab"),
                                  {QStringLiteral("Events      "), QStringLiteral("&Settings")}),
                   0, 0, 1800, 2000);
     },
     false, "Settings"},
    {"status text",
     [](Form *f) { return statusBar(f, QStringLiteral("Your data has been saved.")); }, true},
    {"status text longer than the window",
     [](Form *f) {
         return statusBar(
             f, QStringLiteral("Please enter a name before saving your data. ").repeated(3));
     },
     false},
};

TEST_F(DesignFontTest, TextsThatDoNotFitTheirBoxesAreReportedByControlKind)
{
    for (const Case &c : kCases) {
        Form form(QStringLiteral("frmTest"));
        form.setClientSize(9000, 4000);
        form.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
        Control *control = c.make(&form);
        const QList<TextOverflow> overflows = textOverflows(form);
        EXPECT_EQ(overflows.isEmpty(), c.fits) << c.what;
        if (!overflows.isEmpty()) {
            EXPECT_EQ(overflows.first().control, control) << c.what;
            if (c.reported) {
                EXPECT_EQ(overflows.first().text, QString::fromUtf8(c.reported)) << c.what;
            }
        }
    }
}

// ---- the fit -------------------------------------------------------------------------------

// The web-link window's layout: labels and boxes sized for the design font.
class LinkForm : public Form
{
public:
    LinkForm() : Form(QStringLiteral("frmLink"))
    {
        setClientSize(5505, 2865);
        message = label(this, kMessage, 2115, 165, 3090, 975);
        caption = label(this, QStringLiteral("Quarnwell website:"), 375, 1845, 1680, 285);
        caption->setAlignment(Alignment::Right);
        address = box(this, TextBox::Lines::Single, QString(), 2100, 1800, 3210, 360);
        ok = at(new CommandButton(this, QStringLiteral("cmdOK"), QStringLiteral("&OK")), 4185, 2325,
                1125, 465);
    }

    // What the load sets, after it has centred the window.
    QString loadedAddress;
    Label *message;
    Label *caption;
    TextBox *address;
    CommandButton *ok;

protected:
    void Form_Load() override
    {
        move((1024 - width()) / 2, (768 - height()) / 2);
        address->setText(loadedAddress);
    }
};

class FitTest : public DesignFontTest, public ::testing::WithParamInterface<double>
{
};

TEST_P(FitTest, TheLayoutGrowsUntilEveryTextFitsAndTheProgramStillSeesItsTwips)
{
    kxtest::DesktopFont desktop(GetParam());
    auto *form = new LinkForm;
    form->loadedAddress = kUrl;
    form->Show();

    EXPECT_TRUE(kxtest::textsFit(*form));
    EXPECT_EQ(form->font().pointSizeF(), GetParam());
    EXPECT_EQ(form->font().family(), QApplication::font().family());
    const double scale = form->layoutScale();
    EXPECT_GT(scale, 1.0);
    // The smallest such scale: a little less, and some text no longer fits.
    form->setLayoutScale(scale / 1.03);
    EXPECT_FALSE(textOverflows(*form).isEmpty());
    form->setLayoutScale(scale);

    // The program reads and writes the design's twips; the pixels are scaled.
    EXPECT_DOUBLE_EQ(form->ScaleWidth(), 5505);
    EXPECT_DOUBLE_EQ(form->ScaleHeight(), 2865);
    EXPECT_DOUBLE_EQ(form->caption->Left(), 375);
    EXPECT_DOUBLE_EQ(form->caption->Width(), 1680);
    EXPECT_EQ(form->caption->x(), std::lround(375 / 15.0 * scale));
    EXPECT_EQ(form->width(), std::lround(5505 / 15.0 * scale));
    form->caption->setLeft(120);
    EXPECT_DOUBLE_EQ(form->caption->Left(), 120);

    // Loaded in the middle of the screen (before its first show, when the frame is not known
    // yet), with an address the design's box is too small for: the window grew about its middle.
    const QPoint corner = form->frameGeometry().topLeft();
    EXPECT_NEAR(corner.x() + form->width() / 2.0, 512, 1);
    EXPECT_NEAR(corner.y() + form->height() / 2.0, 384, 1);

    // The one-line label is not wrapped on the screen; the message label is.
    EXPECT_FALSE(qobject_cast<QLabel *>(form->caption->inner())->wordWrap());
    EXPECT_TRUE(form->caption->WordWrap());
    EXPECT_TRUE(qobject_cast<QLabel *>(form->message->inner())->wordWrap());
}

INSTANTIATE_TEST_SUITE_P(DesktopPoints, FitTest, ::testing::Values(9.0, 10.0, 11.0));

TEST_F(DesignFontTest, AListsColumnsGrowWithTheLayoutAndKeepTheirTwips)
{
    kxtest::DesktopFont desktop(11);
    auto *form = new Form(QStringLiteral("frmList"));
    form->setClientSize(6500, 3500);
    ListView *lvw = entryList(form, 750, 1250);
    form->Show();

    EXPECT_TRUE(kxtest::textsFit(*form));
    const double scale = form->layoutScale();
    EXPECT_GT(scale, 1.0);
    ColumnHeader *days = lvw->ColumnHeaders().Item(3);
    EXPECT_DOUBLE_EQ(days->Width(), 750);
    EXPECT_EQ(lvw->tree()->columnWidth(2), std::lround(750 / 15.0 * scale));

    // A column the user has dragged keeps its twips too when the scale changes again; a column
    // added afterwards takes the scale at once.
    lvw->tree()->setColumnWidth(0, 150);
    const double dragged = lvw->ColumnHeaders().Item(1)->Width();
    EXPECT_NEAR(dragged, 150 * 15 / scale, 1e-9);
    form->setLayoutScale(scale * 1.5);
    EXPECT_NEAR(lvw->ColumnHeaders().Item(1)->Width(), dragged, 15 / scale);
    EXPECT_DOUBLE_EQ(days->Width(), 750);
    EXPECT_EQ(lvw->tree()->columnWidth(2), std::lround(750 / 15.0 * scale * 1.5));
    lvw->ColumnHeaders().Add(std::nullopt, QStringLiteral("Date"), QStringLiteral("Date"), 1400);
    EXPECT_EQ(lvw->tree()->columnWidth(3), std::lround(1400 / 15.0 * scale * 1.5));
    EXPECT_DOUBLE_EQ(lvw->ColumnHeaders().Item(4)->Width(), 1400);
}

// The fit runs before the window shows, when the calendar has not laid out its grid yet: its
// cells are worked out from its size, and must be the cells it then shows.
TEST_F(DesignFontTest, TheCalendarsCellsAreTheOnesItShows)
{
    for (const double points : {9.0, 11.0}) {
        kxtest::DesktopFont desktop(points);
        auto *form = new Form(QStringLiteral("frmCalendar"));
        form->setClientSize(5000, 4000);
        auto *calendar = at(new MonthView(form, QStringLiteral("mvw")), 120, 120, 3720, 2880);
        form->Load();
        const QList<TextRoom> before = calendar->textRooms();
        ASSERT_EQ(before.size(), 49) << points; // the weekday names and six weeks
        EXPECT_EQ(before.first().texts, QStringList{QStringLiteral("Mon")});
        form->show();
        QCoreApplication::processEvents();

        const auto *grid = calendar->calendar()->findChild<QTableView *>();
        ASSERT_TRUE(grid);
        int narrowest = grid->columnWidth(0);
        int lowest = grid->rowHeight(0);
        for (int i = 1; i < 7; ++i) {
            narrowest = std::min(narrowest, grid->columnWidth(i));
            lowest = std::min(lowest, grid->rowHeight(i));
        }
        EXPECT_EQ(before.first().box, QSize(narrowest, lowest)) << points;
        EXPECT_EQ(calendar->textRooms().first().box, before.first().box) << points;
        delete form;
    }
}

TEST_F(DesignFontTest, ShowingAgainNeverShrinksTheWindow)
{
    kxtest::DesktopFont desktop(10);
    auto *form = new LinkForm;
    form->loadedAddress = kUrl;
    form->Show();
    const double scale = form->layoutScale();
    form->hide();
    form->address->setText(QStringLiteral("x"));
    form->Show();
    EXPECT_DOUBLE_EQ(form->layoutScale(), scale);
}

TEST_F(DesignFontTest, OwnDesignFontsKeepTheirProportionToTheWindowsFont)
{
    const struct
    {
        double desktop;
        DesignFont window;
        double title; // the 20-point title's points
    } cases[] = {
        {9, {8, false}, 22.5},
        {10, {8, false}, 25},
        {11, {8, false}, 27.5},
        {11, {11, true}, 20},
    };
    for (const auto &c : cases) {
        kxtest::DesktopFont desktop(c.desktop);
        auto *form = new Form(QStringLiteral("frmTitled"));
        form->setDesignFont(c.window);
        form->setClientSize(7380, 4245);
        Label *title = label(form, QStringLiteral("Almanoria"), 2160, 480, 4800, 720);
        title->setDesignFont({20, true});
        Label *plain = label(form, QStringLiteral("Version 2.12"), 2160, 1440, 4800, 285);
        TextBox *bold =
            box(form, TextBox::Lines::Single, QStringLiteral("Today"), 2160, 1800, 1500, 360);
        bold->setFontBold(true);
        form->Load();

        EXPECT_DOUBLE_EQ(title->font().pointSizeF(), c.title) << c.desktop;
        EXPECT_TRUE(title->font().bold());
        EXPECT_DOUBLE_EQ(plain->font().pointSizeF(), c.desktop);
        EXPECT_EQ(plain->font().bold(), c.window.bold);
        // Bold on its own: the size still follows the window's.
        EXPECT_DOUBLE_EQ(bold->inner()->font().pointSizeF(), c.desktop);
        EXPECT_TRUE(bold->FontBold());
        EXPECT_TRUE(kxtest::textsFit(*form)) << c.desktop;
        delete form;
    }
}

TEST_F(DesignFontTest, AWindowTooLargeForTheScreenTakesASmallerFontNotBelowEightPoints)
{
    kxtest::DesktopFont desktop(11);
    const struct
    {
        const char *what;
        int copies; // of "Quarnwell website: " in one line 800 pixels wide
        bool fits;
    } cases[] = {
        {"fits at a smaller font", 7, true},
        {"fits at no font", 20, false},
    };
    for (const auto &c : cases) {
        auto *form = new Form(QStringLiteral("frmLarge"));
        form->setClientSize(12000, 9000); // 800 x 600 pixels of the 1024 x 768 screen
        label(form, QStringLiteral("Quarnwell website: ").repeated(c.copies).trimmed(), 0, 0, 12000,
              285);
        form->Load();

        const double size = form->font().pointSizeF();
        EXPECT_LT(size, 11) << c.what;
        EXPECT_GE(size, 8) << c.what;
        EXPECT_EQ(textOverflows(*form).isEmpty(), c.fits) << c.what;
        // Never more than 90 % of the screen.
        EXPECT_LE(form->width(), std::lround(1024 * 0.9)) << c.what;
        EXPECT_LE(form->height(), std::lround(768 * 0.9)) << c.what;
        if (!c.fits) {
            EXPECT_DOUBLE_EQ(size, 8) << c.what;
        }
        delete form;
    }
}

TEST_F(DesignFontTest, TheDesktopsFontChangingFitsTheWindowAfresh)
{
    kxtest::DesktopFont desktop(11);
    auto *form = new LinkForm;
    form->loadedAddress = kUrl;
    form->Show();
    const double large = form->layoutScale();
    {
        kxtest::DesktopFont smaller(9);
        EXPECT_DOUBLE_EQ(form->font().pointSizeF(), 9);
        EXPECT_LT(form->layoutScale(), large);
        EXPECT_TRUE(kxtest::textsFit(*form));
    }
    EXPECT_DOUBLE_EQ(form->font().pointSizeF(), 11);
    EXPECT_NEAR(form->layoutScale(), large, 0.02);
    EXPECT_TRUE(kxtest::textsFit(*form));
}

} // namespace
