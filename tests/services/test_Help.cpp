#include "platform/services/CommonDialog.h"
#include "platform/services/HelpFile.h"
#include "platform/services/HelpWindow.h"
#include "platform/services/QtServices.h"
#include "support/ScriptedPlatform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

using namespace platform;

namespace {

const QString kBook = QStringLiteral(
    "<html><head><title>Test &amp; Help</title></head><body>\n"
    "<p>Outside every topic.</p>\n"
    "<section id=\"first\" data-context=\"1\"><h1>First <i>topic</i></h1>\n"
    "<p>See <a href=\"#second\">the second</a>.</p></section>\n"
    "<section id=\"second\" data-context=\"5\">\n<h1>Second</h1><p>Body two.</p>\n</section>\n"
    "<section id=\"untitled\" data-context=\"7\"><p>No heading.</p></section>\n"
    "<section id=\"no-context\"><h1>Not a topic</h1></section>\n"
    "</body></html>\n");

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
}

} // namespace

// ---- The file format --------------------------------------------------------------------------

TEST(HelpFile, TopicsComeInFileOrderWithTheirContextsAndPlainTitles)
{
    const HelpBook book = parseHelpBook(kBook);
    EXPECT_EQ(book.title, QStringLiteral("Test & Help"));
    ASSERT_EQ(book.topics.size(), 3) << "a section without a context number is no topic";
    const struct
    {
        const char *anchor;
        int context;
        const char *title;
    } expected[] = {
        {"first", 1, "First topic"}, {"second", 5, "Second"}, {"untitled", 7, "untitled"}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(book.topics[i].anchor, QLatin1String(expected[i].anchor));
        EXPECT_EQ(book.topics[i].context, expected[i].context);
        EXPECT_EQ(book.topics[i].title, QLatin1String(expected[i].title));
    }
    EXPECT_TRUE(book.topics[1].html.contains(QLatin1String("Body two.")));
    EXPECT_FALSE(book.topics[0].html.contains(QLatin1String("Outside")));
    EXPECT_EQ(book.indexOfContext(5), 1);
    EXPECT_EQ(book.indexOfContext(2), -1);
    EXPECT_EQ(book.indexOfAnchor(QStringLiteral("untitled")), 2);
    EXPECT_EQ(book.indexOfAnchor(QStringLiteral("no-context")), -1);
}

TEST(HelpFile, LoadTellsAMissingFileFromOneThatCannotBeReadOrHasNoTopics)
{
    QTemporaryDir dir;
    const struct
    {
        QString path;
        HelpFileStatus status;
    } cases[] = {
        {dir.filePath(QStringLiteral("absent.hlp")), HelpFileStatus::Missing},
        {QString(), HelpFileStatus::Missing},
        {dir.path(), HelpFileStatus::Unreadable},
        {writeFile(dir, QStringLiteral("empty.hlp"), {}), HelpFileStatus::NoTopics},
        {writeFile(dir, QStringLiteral("text.hlp"), "plain text, no sections"),
         HelpFileStatus::NoTopics},
        {writeFile(dir, QStringLiteral("good.hlp"), kBook.toUtf8()), HelpFileStatus::Loaded},
    };
    for (const auto &c : cases) {
        HelpBook book;
        EXPECT_EQ(loadHelpBook(c.path, book), c.status) << c.path.toStdString();
    }
}

// ---- The delivered help file ------------------------------------------------------------------

TEST(DeliveredHelpFile, EveryTopicIsReachableAndEveryLinkLeadsToATopic)
{
    for (const char *folder : {KX_DELIVERED_DIR, KX_PROGRAM_DIR}) {
        HelpBook book;
        const QString path =
            QDir(QString::fromUtf8(folder)).filePath(QStringLiteral("virazivuzo.hlp"));
        ASSERT_EQ(loadHelpBook(path, book), HelpFileStatus::Loaded) << path.toStdString();
        EXPECT_EQ(book.title, QStringLiteral("Almanoria Help"));

        QSet<QString> anchors;
        QSet<int> contexts;
        for (const HelpTopic &topic : std::as_const(book.topics)) {
            EXPECT_FALSE(anchors.contains(topic.anchor)) << topic.anchor.toStdString();
            EXPECT_FALSE(contexts.contains(topic.context)) << topic.context;
            EXPECT_NE(topic.title, topic.anchor) << "no heading: " << topic.anchor.toStdString();
            anchors.insert(topic.anchor);
            contexts.insert(topic.context);
        }
        static const QRegularExpression link(QStringLiteral("href=\"([^\"]*)\""));
        QSet<QString> linkedTo;
        for (const HelpTopic &topic : std::as_const(book.topics)) {
            auto links = link.globalMatch(topic.html);
            while (links.hasNext()) {
                const QString target = links.next().captured(1);
                ASSERT_TRUE(target.startsWith(QLatin1Char('#')))
                    << "a link out of the book: " << target.toStdString();
                EXPECT_TRUE(anchors.contains(target.mid(1)))
                    << topic.anchor.toStdString() << " links to " << target.toStdString();
                linkedTo.insert(target.mid(1));
            }
        }
        // The first topic is the contents; every other one is linked from somewhere.
        for (const HelpTopic &topic : std::as_const(book.topics).mid(1))
            EXPECT_TRUE(linkedTo.contains(topic.anchor)) << topic.anchor.toStdString();

        // Help > Index of both windows asks for context 5: the subjects in alphabetical order.
        ASSERT_GE(book.indexOfContext(5), 0);
        const HelpTopic &index = book.topics[book.indexOfContext(5)];
        EXPECT_EQ(index.title, QStringLiteral("Index"));
        static const QRegularExpression subject(QStringLiteral("<a href=\"#[^\"]*\">([^<]*)</a>"));
        QStringList subjects;
        for (auto m = subject.globalMatch(index.html); m.hasNext();)
            subjects << m.next().captured(1);
        EXPECT_GT(subjects.size(), 20);
        QStringList sorted = subjects;
        std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
        EXPECT_EQ(subjects, sorted);
        EXPECT_EQ(book.indexOfContext(1), 0);
    }
}

TEST(DeliveredHelpFile, NamesEverySettingAndTellsHowToBackUpAndRestore)
{
    HelpBook book;
    ASSERT_EQ(loadHelpBook(QStringLiteral(KX_DELIVERED_DIR "/virazivuzo.hlp"), book),
              HelpFileStatus::Loaded);
    auto text = [&](const char *anchor) {
        const int i = book.indexOfAnchor(QString::fromLatin1(anchor));
        return i < 0 ? QString() : book.topics[i].html;
    };
    for (const char *setting :
         {"Use Alarm sound", "Timer ON", "Show Events at start up", "Start in System Tray",
          "Default Alert days:", "Default Event:", "Default Event Time:"})
        EXPECT_TRUE(text("settings").contains(QLatin1String(setting))) << setting;
    for (const char *step : {"Option &gt; Backup database", "vovuriv.mdb", "program folder"})
        EXPECT_TRUE(text("backup").contains(QLatin1String(step))) << step;
    for (const char *item : {"Open Almanoria", "Show Events", "Quit"})
        EXPECT_TRUE(text("tray").contains(QLatin1String(item))) << item;
}

// ---- The viewer -------------------------------------------------------------------------------

class QtHelpTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        book = writeFile(dir, QStringLiteral("virazivuzo.hlp"), kBook.toUtf8());
    }

    QString book;
    QTemporaryDir dir;
    kxtest::ScriptedPlatform platform;
    QtHelp help{QStringLiteral("Almanoria")};
};

TEST_F(QtHelpTest, TheTopicsCommandShowsTheContentsAndTheFirstTopic)
{
    ASSERT_TRUE(help.winHelp(nullptr, book, help::HELP_TAB, 0));
    HelpWindow *window = help.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Test & Help"));
    const QStringList titles = {QStringLiteral("First topic"), QStringLiteral("Second"),
                                QStringLiteral("untitled")};
    ASSERT_EQ(window->contents()->count(), titles.size());
    for (int i = 0; i < titles.size(); ++i)
        EXPECT_EQ(window->contents()->item(i)->text(), titles[i]);
    EXPECT_EQ(window->currentTopic(), 0);
    EXPECT_TRUE(window->topicView()->toPlainText().startsWith(QLatin1String("First topic")));
    EXPECT_EQ(window->contents()->accessibleName(), QStringLiteral("Contents"));
    EXPECT_EQ(window->topicView()->accessibleName(), QStringLiteral("Topic"));
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

TEST_F(QtHelpTest, AContextShowsItsTopicInTheSameWindow)
{
    ASSERT_TRUE(help.winHelp(nullptr, book, help::HELP_TAB, 0));
    HelpWindow *first = help.window();
    first->close();

    ASSERT_TRUE(help.winHelp(nullptr, book, help::HELP_CONTEXT, 5));
    EXPECT_EQ(help.window(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->currentTopic(), 1);
    EXPECT_EQ(first->contents()->currentItem()->text(), QStringLiteral("Second"));
    EXPECT_TRUE(first->topicView()->toPlainText().contains(QLatin1String("Body two.")));
    EXPECT_EQ(first->topicView()->accessibleDescription(), QStringLiteral("Second"));

    // Asking for the topics again goes back to the first topic.
    ASSERT_TRUE(help.winHelp(nullptr, book, help::HELP_TAB, 0));
    EXPECT_EQ(first->currentTopic(), 0);
}

TEST_F(QtHelpTest, LinksAndTheContentsListMoveBetweenTopics)
{
    ASSERT_TRUE(help.winHelp(nullptr, book, help::HELP_TAB, 0));
    HelpWindow *window = help.window();
    emit window->topicView()->anchorClicked(QUrl(QStringLiteral("#second")));
    EXPECT_EQ(window->currentTopic(), 1);
    // A link out of the book goes nowhere.
    emit window->topicView()->anchorClicked(QUrl(QStringLiteral("http://example.org/#first")));
    EXPECT_EQ(window->currentTopic(), 1);
    EXPECT_TRUE(platform.shell.calls.empty());

    window->contents()->setFocus();
    QTest::keyClick(window->contents(), Qt::Key_Down);
    EXPECT_EQ(window->currentTopic(), 2);
    EXPECT_TRUE(window->topicView()->toPlainText().contains(QLatin1String("No heading.")));
}

TEST_F(QtHelpTest, EscAndTheQuitCommandHideTheWindow)
{
    ASSERT_TRUE(help.winHelp(nullptr, book, help::HELP_TAB, 0));
    HelpWindow *window = help.window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window->contents(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());

    ASSERT_TRUE(help.winHelp(nullptr, book, help::HELP_CONTEXT, 1));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(help.winHelp(nullptr, book, help::HELP_QUIT, 0));
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->testAttribute(Qt::WA_QuitOnClose));
}

TEST_F(QtHelpTest, AFileOrTopicThatCannotBeShownIsToldInABoxAndOpensNoWindow)
{
    const QString absent = dir.filePath(QStringLiteral("absent.hlp"));
    const QString noTopics = writeFile(dir, QStringLiteral("plain.hlp"), "just text");
    const struct
    {
        QString path;
        unsigned command;
        std::uintptr_t data;
        QString says;
    } cases[] = {
        {absent, help::HELP_TAB, 0, QStringLiteral("cannot be found")},
        {absent, help::HELP_CONTEXT, 5, QStringLiteral("cannot be found")},
        {dir.path(), help::HELP_TAB, 0, QStringLiteral("cannot be read")},
        {noTopics, help::HELP_TAB, 0, QStringLiteral("has no help topics")},
        {book, help::HELP_CONTEXT, 4, QStringLiteral("has no topic for context 4.")},
        {book, help::HELP_CONTEXT, std::uintptr_t(1) << 40, QStringLiteral("has no topic")},
    };
    for (const auto &c : cases) {
        QtHelp fresh(QStringLiteral("Almanoria"));
        kxtest::ScriptedPlatform boxes;
        boxes.messageBox.expect(mb::OK, c.says);
        EXPECT_FALSE(fresh.winHelp(nullptr, c.path, c.command, c.data)) << c.says.toStdString();
        EXPECT_EQ(fresh.window(), nullptr) << c.says.toStdString();
        ASSERT_EQ(boxes.messageBox.calls().size(), 1u) << c.says.toStdString();
        const kxtest::MessageBoxCall &box = boxes.messageBox.calls()[0];
        EXPECT_TRUE(box.prompt.contains(c.path)) << box.prompt.toStdString();
        EXPECT_EQ(box.style, mb::vbOKOnly + mb::vbExclamation);
        EXPECT_EQ(box.title, QStringLiteral("Almanoria"));
    }
}

TEST_F(QtHelpTest, OtherCommandsShowNothing)
{
    for (unsigned command : {0u, 4u, 0x105u, 0x101u}) {
        EXPECT_FALSE(help.winHelp(nullptr, book, command, 0)) << command;
        EXPECT_EQ(help.window(), nullptr) << command;
    }
    EXPECT_TRUE(platform.messageBox.calls().empty());
}

// ---- The common dialog's help -------------------------------------------------------------------

TEST(CommonDialogHelp, ShowHelpHandsFileCommandAndContextToTheViewerWithItsWindow)
{
    kxtest::ScriptedPlatform platform;
    QWidget owner;
    CommonDialog cdlg1(&owner);
    cdlg1.HelpFile = QStringLiteral("/opt/prog/virazivuzo.hlp");
    cdlg1.HelpContext = 5;
    cdlg1.HelpCommand = 1;
    cdlg1.ShowHelp();

    ASSERT_EQ(platform.help.calls.size(), 1u);
    const kxtest::HelpCall &call = platform.help.calls[0];
    EXPECT_EQ(call.owner, &owner);
    EXPECT_EQ(call.helpFile, QStringLiteral("/opt/prog/virazivuzo.hlp"));
    EXPECT_EQ(call.command, help::HELP_CONTEXT);
    EXPECT_EQ(call.data, 5u);
}
