#include "HelpWindow.h"
#include "QtServices.h"

#include <QListWidget>
#include <QTextBrowser>

#include <limits>

namespace platform {

QtHelp::QtHelp(QString boxTitle) : mBoxTitle(std::move(boxTitle)) {}

QtHelp::~QtHelp()
{
    delete mWindow;
}

HelpWindow *QtHelp::window() const
{
    return mWindow;
}

void QtHelp::tell(const QString &text) const
{
    if (MessageBoxService *box = services().messageBox)
        box->show(text, mb::vbExclamation, mBoxTitle);
}

bool QtHelp::winHelp(QWidget * /*owner*/, const QString &helpFile, unsigned command,
                     std::uintptr_t data)
{
    using namespace help;
    if (command == HELP_QUIT) {
        if (mWindow)
            mWindow->close();
        return true;
    }
    if (command != HELP_CONTEXT && command != HELP_CONTENTS && command != HELP_FINDER &&
        command != HELP_TAB)
        return false;

    const QString path = QStringLiteral("\r\n") + helpFile + QStringLiteral("\r\n");
    HelpBook book;
    switch (loadHelpBook(helpFile, book)) {
    case HelpFileStatus::Loaded:
        break;
    case HelpFileStatus::Missing:
        tell(QStringLiteral("The help file") + path +
             QStringLiteral("cannot be found, so help is not available."));
        return false;
    case HelpFileStatus::Unreadable:
        tell(QStringLiteral("The help file") + path +
             QStringLiteral("cannot be read, so help is not available."));
        return false;
    case HelpFileStatus::NoTopics:
        tell(QStringLiteral("The file") + path +
             QStringLiteral("has no help topics, so help is not available."));
        return false;
    }

    int index = 0;
    if (command == HELP_CONTEXT) {
        index = data <= static_cast<std::uintptr_t>(std::numeric_limits<int>::max())
                    ? book.indexOfContext(static_cast<int>(data))
                    : -1;
        if (index < 0) {
            tell(QStringLiteral("The help file") + path + QStringLiteral("has no topic for ") +
                 QStringLiteral("context %1.").arg(data));
            return false;
        }
    }

    // A window of its own, above no particular window of the program, so that it stays usable
    // whichever window asked for it.
    if (!mWindow)
        mWindow = new HelpWindow;
    mWindow->setBook(book);
    mWindow->showTopic(index);
    mWindow->show();
    mWindow->raise();
    mWindow->activateWindow();
    if (command == HELP_CONTEXT)
        mWindow->topicView()->setFocus();
    else
        mWindow->contents()->setFocus();
    return true;
}

} // namespace platform
