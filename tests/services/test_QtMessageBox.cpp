#include "platform/services/QtServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using platform::QtMessageBox;
namespace mb = platform::mb;

namespace {

// Shows a real box and, once it is up, hands it to `act`. A watchdog presses the first button
// should `act` leave the box open, so a failing test cannot hang.
int showWith(const QString &prompt, int style, const std::function<void(QMessageBox &)> &act)
{
    QTimer driver;
    driver.setInterval(10);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            driver.stop();
            act(*box);
        }
    });
    driver.start();
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            ADD_FAILURE() << "box left open: " << box->text().toStdString();
            box->buttons().first()->click();
        }
    });
    watchdog.start(5000);
    return QtMessageBox().show(prompt, style, QStringLiteral("Almanoria"));
}

QMessageBox::StandardButton buttonFor(int answer)
{
    switch (answer) {
    case mb::OK:
        return QMessageBox::Ok;
    case mb::Cancel:
        return QMessageBox::Cancel;
    case mb::Abort:
        return QMessageBox::Abort;
    case mb::Retry:
        return QMessageBox::Retry;
    case mb::Ignore:
        return QMessageBox::Ignore;
    case mb::Yes:
        return QMessageBox::Yes;
    default:
        return QMessageBox::No;
    }
}

struct ButtonSetCase
{
    int style;
    std::vector<int> answers; // the buttons the box offers, by their answers
    int dismissAnswer;        // Esc / close box; 0: the box cannot be dismissed
};

const ButtonSetCase buttonSets[] = {
    {mb::vbOKOnly, {mb::OK}, mb::OK},
    {mb::vbOKCancel, {mb::OK, mb::Cancel}, mb::Cancel},
    {mb::vbAbortRetryIgnore, {mb::Abort, mb::Retry, mb::Ignore}, 0},
    {mb::vbYesNoCancel, {mb::Yes, mb::No, mb::Cancel}, mb::Cancel},
    {mb::vbYesNo, {mb::Yes, mb::No}, 0},
    {mb::vbRetryCancel, {mb::Retry, mb::Cancel}, mb::Cancel},
};

} // namespace

TEST(QtMessageBox, EachButtonGivesItsAnswer)
{
    for (const auto &c : buttonSets) {
        for (int expected : c.answers) {
            SCOPED_TRACE(testing::Message() << "style " << c.style << ", button " << expected);
            int offered = 0;
            const int answer = showWith(QStringLiteral("Question"), c.style, [&](QMessageBox &box) {
                offered = static_cast<int>(box.buttons().size());
                box.button(buttonFor(expected))->click();
            });
            EXPECT_EQ(answer, expected);
            EXPECT_EQ(offered, static_cast<int>(c.answers.size()));
        }
    }
}

TEST(QtMessageBox, EscapeAnswersCancelOrOkOrNothing)
{
    for (const auto &c : buttonSets) {
        SCOPED_TRACE(testing::Message() << "style " << c.style);
        bool stayedOpen = false;
        const int answer = showWith(QStringLiteral("Question"), c.style, [&](QMessageBox &box) {
            QTest::keyClick(&box, Qt::Key_Escape);
            QApplication::processEvents();
            stayedOpen = box.isVisible();
            if (stayedOpen)
                box.button(buttonFor(c.answers.back()))->click();
        });
        if (c.dismissAnswer == 0) {
            EXPECT_TRUE(stayedOpen);
            EXPECT_EQ(answer, c.answers.back());
        } else {
            EXPECT_FALSE(stayedOpen);
            EXPECT_EQ(answer, c.dismissAnswer);
        }
    }
}

TEST(QtMessageBox, CloseBoxOnlyWhereThereIsACancelOrSingleButton)
{
    for (const auto &c : buttonSets) {
        SCOPED_TRACE(testing::Message() << "style " << c.style);
        bool stayedOpen = false;
        bool hasCloseButton = false;
        const int answer = showWith(QStringLiteral("Question"), c.style, [&](QMessageBox &box) {
            hasCloseButton = box.windowFlags().testFlag(Qt::WindowCloseButtonHint);
            box.close();
            QApplication::processEvents();
            stayedOpen = box.isVisible();
            if (stayedOpen)
                box.button(buttonFor(c.answers.front()))->click();
        });
        if (c.dismissAnswer == 0) {
            EXPECT_TRUE(stayedOpen);
            EXPECT_FALSE(hasCloseButton);
            EXPECT_EQ(answer, c.answers.front());
        } else {
            EXPECT_FALSE(stayedOpen);
            EXPECT_EQ(answer, c.dismissAnswer);
        }
    }
}

TEST(QtMessageBox, IconFromStyle)
{
    const struct
    {
        int iconBits;
        QMessageBox::Icon icon;
    } cases[] = {{0, QMessageBox::NoIcon},
                 {mb::vbCritical, QMessageBox::Critical},
                 {mb::vbQuestion, QMessageBox::Question},
                 {mb::vbExclamation, QMessageBox::Warning},
                 {mb::vbInformation, QMessageBox::Information}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.iconBits);
        QMessageBox::Icon shown = QMessageBox::NoIcon;
        int offered = 0;
        showWith(QStringLiteral("x"), mb::vbYesNo + c.iconBits, [&](QMessageBox &box) {
            shown = box.icon();
            offered = static_cast<int>(box.buttons().size());
            box.button(QMessageBox::Yes)->click();
        });
        EXPECT_EQ(shown, c.icon);
        EXPECT_EQ(offered, 2); // the icon bits do not disturb the button set
    }
}

TEST(QtMessageBox, TitleLineBreaksModalityAndDefaultButton)
{
    QString text, title;
    Qt::WindowModality modality = Qt::NonModal;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    showWith(QStringLiteral("first\r\nsecond\nthird <b>plain</b>"), mb::vbYesNoCancel + 256,
             [&](QMessageBox &box) {
                 text = box.text();
                 title = box.windowTitle();
                 modality = box.windowModality();
                 defaultButton = box.standardButton(box.defaultButton());
                 box.button(QMessageBox::Cancel)->click();
             });
    EXPECT_EQ(text, QStringLiteral("first\nsecond\nthird <b>plain</b>"));
    EXPECT_EQ(title, QStringLiteral("Almanoria"));
    EXPECT_EQ(modality, Qt::ApplicationModal);
    EXPECT_EQ(defaultButton, QMessageBox::No);
}

TEST(QtMessageBox, DefaultButtonIsTheFirstOne)
{
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    const int answer = showWith(QStringLiteral("x"), mb::vbAbortRetryIgnore, [&](QMessageBox &box) {
        defaultButton = box.standardButton(box.defaultButton());
        QTest::keyClick(&box, Qt::Key_Return);
    });
    EXPECT_EQ(defaultButton, QMessageBox::Abort);
    EXPECT_EQ(answer, mb::Abort);
}
