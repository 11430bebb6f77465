#include "HelpFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextDocumentFragment>

namespace platform {

int HelpBook::indexOfContext(int context) const
{
    for (int i = 0; i < topics.size(); ++i)
        if (topics[i].context == context)
            return i;
    return -1;
}

int HelpBook::indexOfAnchor(const QString &anchor) const
{
    for (int i = 0; i < topics.size(); ++i)
        if (topics[i].anchor == anchor)
            return i;
    return -1;
}

namespace {

QString plainText(const QString &html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

} // namespace

HelpBook parseHelpBook(const QString &text)
{
    static const QRegularExpression sectionPattern(
        QStringLiteral("<section\\s+id=\"([^\"]+)\"\\s+data-context=\"(\\d{1,9})\"\\s*>(.*?)"
                       "</section>"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression headingPattern(QStringLiteral("<h1[^>]*>(.*?)</h1>"),
                                                   QRegularExpression::DotMatchesEverythingOption |
                                                       QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression titlePattern(QStringLiteral("<title>(.*?)</title>"),
                                                 QRegularExpression::DotMatchesEverythingOption |
                                                     QRegularExpression::CaseInsensitiveOption);

    HelpBook book;
    const QRegularExpressionMatch title = titlePattern.match(text);
    if (title.hasMatch())
        book.title = plainText(title.captured(1));

    auto sections = sectionPattern.globalMatch(text);
    while (sections.hasNext()) {
        const QRegularExpressionMatch m = sections.next();
        HelpTopic topic;
        topic.anchor = m.captured(1);
        topic.context = m.captured(2).toInt();
        topic.html = m.captured(3).trimmed();
        const QRegularExpressionMatch heading = headingPattern.match(topic.html);
        topic.title = heading.hasMatch() ? plainText(heading.captured(1)) : QString();
        if (topic.title.isEmpty())
            topic.title = topic.anchor;
        book.topics.append(topic);
    }
    return book;
}

HelpFileStatus loadHelpBook(const QString &path, HelpBook &book)
{
    const QString local = QDir::fromNativeSeparators(path);
    const QFileInfo info(local);
    if (!info.exists())
        return HelpFileStatus::Missing;
    QFile file(local);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        return HelpFileStatus::Unreadable;
    book = parseHelpBook(QString::fromUtf8(file.readAll()));
    return book.topics.isEmpty() ? HelpFileStatus::NoTopics : HelpFileStatus::Loaded;
}

} // namespace platform
