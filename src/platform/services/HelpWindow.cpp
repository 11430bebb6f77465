#include "HelpWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace platform {

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window), mContents(new QListWidget), mTopic(new QTextBrowser),
      mSplitter(new QSplitter(Qt::Horizontal))
{
    setObjectName(QStringLiteral("HelpWindow"));
    // An auxiliary window: closing it must not end a program whose main window sits hidden.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(800, 560);

    auto *contentsLabel = new QLabel(tr("&Contents"));
    contentsLabel->setBuddy(mContents);
    mContents->setObjectName(QStringLiteral("contents"));
    mContents->setAccessibleName(tr("Contents"));
    auto *left = new QWidget;
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(contentsLabel);
    leftLayout->addWidget(mContents);

    mTopic->setObjectName(QStringLiteral("topic"));
    mTopic->setAccessibleName(tr("Topic"));
    mTopic->setOpenLinks(false);
    mTopic->document()->setDefaultStyleSheet(
        QStringLiteral("h1 { font-size: 14pt; } h2 { font-size: 12pt; } "
                       "td, th { padding: 2px 6px; }"));

    mSplitter->addWidget(left);
    mSplitter->addWidget(mTopic);
    mSplitter->setStretchFactor(1, 1);
    mSplitter->setChildrenCollapsible(false);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(mSplitter);
    setTabOrder(mContents, mTopic);

    connect(mContents, &QListWidget::currentRowChanged, this, &HelpWindow::showTopic);
    connect(mTopic, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    auto *esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    esc->setContext(Qt::WindowShortcut);
    connect(esc, &QShortcut::activated, this, &QWidget::close);
}

void HelpWindow::setBook(const HelpBook &book)
{
    mBook = book;
    setWindowTitle(book.title.isEmpty() ? tr("Help") : book.title);
    const QSignalBlocker blocker(mContents);
    mContents->clear();
    for (const HelpTopic &topic : std::as_const(mBook.topics))
        mContents->addItem(topic.title);
    mTopic->clear();
    const int titles = mContents->sizeHintForColumn(0) + 2 * mContents->frameWidth() +
                       mContents->verticalScrollBar()->sizeHint().width() + 4;
    const int left = std::max(200, titles);
    mSplitter->setSizes({left, std::max(400, width() - left)});
}

void HelpWindow::showTopic(int index)
{
    if (index < 0 || index >= mBook.topics.size())
        return;
    if (mContents->currentRow() != index) {
        const QSignalBlocker blocker(mContents);
        mContents->setCurrentRow(index);
    }
    const HelpTopic &topic = mBook.topics[index];
    mTopic->setHtml(topic.html);
    mTopic->setAccessibleDescription(topic.title);
}

int HelpWindow::currentTopic() const
{
    return mContents->currentRow();
}

void HelpWindow::followLink(const QUrl &url)
{
    // Only links inside the book: another topic by its anchor, or a place in this one.
    if (!url.scheme().isEmpty() || url.fragment().isEmpty())
        return;
    const int index = mBook.indexOfAnchor(url.fragment());
    if (index >= 0)
        showTopic(index);
    else
        mTopic->scrollToAnchor(url.fragment());
}

} // namespace platform
