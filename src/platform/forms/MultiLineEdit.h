#pragma once

// The editor inside a multi-line text box, which keeps every character it is given. Qt's
// plain-text document does not: toPlainText() turns a no-break space into a space and a line or
// paragraph separator into a line break, and a paragraph separator put in (or either of the two
// characters the document marks frames with) becomes a break between two blocks. Here the text
// is read as the document holds it, and each such break character is held as a line separator,
// shown as the line break it means, whose format remembers the character it stands for.
// Contracts:
//  - Qt text: line breaks are "\n" and every other character is as given; a position in it is the
//    document's position (one for each line break).
//  - What the user types, pastes or drops is fitted to the room the box has left (TextLimit.h, a
//    line break counting two); text set with setExactText is kept whole.
//  - A lone CR or LF and a CR LF pair in what is pasted or set are each one line break.

#include <QPlainTextEdit>

#include <functional>

namespace platform {

class MultiLineEdit : public QPlainTextEdit
{
public:
    // `room`: how many characters may still go in, once the selection is given up; negative
    // for no limit.
    MultiLineEdit(QWidget *parent, std::function<int()> room);

    QString exactText() const;
    // Replaces the whole text, which cannot be undone, and leaves the caret at the start; one
    // textChanged.
    void setExactText(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    // Puts `text` (Qt text) in place of the selection as the user's input: fitted to the room,
    // one undo step.
    void insertTyped(QString text);

    std::function<int()> mRoom;
};

} // namespace platform
