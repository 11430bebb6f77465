#pragma once

// The help viewer's window: the contents list ("Contents", Alt+C) beside the text of the chosen
// topic. Picking a row, or a link to another topic's anchor, shows that topic; Esc and the close
// box hide the window (closing it never ends the program). One window serves every help call
// (QtHelp keeps it).

#include "HelpFile.h"

#include <QWidget>

class QListWidget;
class QSplitter;
class QTextBrowser;

namespace platform {

class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Refills the contents list with the book's topics, wide enough for every title; the
    // window's title is the book's.
    void setBook(const HelpBook &book);
    const HelpBook &book() const { return mBook; }

    // Selects the topic's row and shows its text; nothing for a position outside the book.
    void showTopic(int index);
    int currentTopic() const;

    QListWidget *contents() const { return mContents; }
    QTextBrowser *topicView() const { return mTopic; }

private:
    void followLink(const QUrl &url);

    HelpBook mBook;
    QListWidget *mContents;
    QTextBrowser *mTopic;
    QSplitter *mSplitter;
};

} // namespace platform
