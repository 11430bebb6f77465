#pragma once

// The program's help file: one UTF-8 HTML file whose topics are sections of their own,
//
//     <title>Book title</title>
//     <section id="anchor" data-context="5">
//     <h1>Topic title</h1>
//     ... the topic's text; <a href="#other-anchor"> links to another topic ...
//     </section>
//
// in the order the contents list shows them. The attributes stand in that order, the context
// number is a decimal number, and a topic without an <h1> is titled by its anchor. The file
// also reads as an ordinary web page. Nothing outside the sections is shown.

#include <QList>
#include <QString>

namespace platform {

struct HelpTopic
{
    QString anchor;
    int context = 0;
    QString title; // plain text
    QString html;  // the section's inner HTML, <h1> included
};

struct HelpBook
{
    QString title; // plain text; empty when the file has none
    QList<HelpTopic> topics;

    // Position of the first topic with that context number or anchor, -1 when none has it.
    int indexOfContext(int context) const;
    int indexOfAnchor(const QString &anchor) const;
};

// The topics of a help file's text, in file order; no topics when it has none.
HelpBook parseHelpBook(const QString &text);

enum class HelpFileStatus {
    Loaded,
    Missing,    // no file at that path
    Unreadable, // a file that cannot be opened for reading, or a folder
    NoTopics,   // read, but no topic in it
};

// Reads and parses the file at `path` (native or '/' separators) into `book`.
HelpFileStatus loadHelpBook(const QString &path, HelpBook &book);

} // namespace platform
