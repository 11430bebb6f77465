#include "MultiLineEdit.h"

#include "TextLimit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace platform {

namespace {

// The character a held line separator stands for.
constexpr int kHeldCharacter = QTextFormat::UserProperty + 1;

// Characters the document takes as a break between blocks, besides "\n" and CR.
bool isBlockBreak(QChar c)
{
    return c == QChar::ParagraphSeparator || c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1;
}

// Whether the document would change `text` on the way in or out.
bool needsHolding(QStringView text)
{
    for (QChar c : text)
        if (isBlockBreak(c) || c == QChar::LineSeparator)
            return true;
    return false;
}

QString withNewlines(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// Inserts Qt text at the cursor in the format `plain`, a break character as a held line
// separator and a real line separator in `plain` (so that it never takes a held one's format
// from the character before it).
void insertExact(QTextCursor &cursor, QStringView text, QTextCharFormat plain)
{
    plain.clearProperty(kHeldCharacter);
    qsizetype run = 0;
    auto flush = [&](qsizetype end) {
        if (end > run)
            cursor.insertText(text.sliced(run, end - run).toString(), plain);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\n') {
            flush(i);
            cursor.insertBlock(cursor.blockFormat(), plain);
        } else if (isBlockBreak(c)) {
            flush(i);
            QTextCharFormat held = plain;
            held.setProperty(kHeldCharacter, int(c.unicode()));
            cursor.insertText(QString(QChar::LineSeparator), held);
        } else {
            continue;
        }
        run = i + 1;
    }
    flush(text.size());
}

} // namespace

MultiLineEdit::MultiLineEdit(QWidget *parent, std::function<int()> room)
    : QPlainTextEdit(parent), mRoom(std::move(room))
{
}

QString MultiLineEdit::exactText() const
{
    QString text;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block != document()->begin())
            text += QLatin1Char('\n');
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QString part = fragment.text();
            if (const int held = fragment.charFormat().intProperty(kHeldCharacter))
                part.replace(QChar::LineSeparator, QChar(held));
            text += part;
        }
    }
    return text;
}

void MultiLineEdit::setExactText(const QString &text)
{
    const QString qtText = withNewlines(text);
    if (!needsHolding(qtText)) {
        setPlainText(qtText);
        return;
    }
    // One edit, so that the box sees one change; code's text is no step to undo.
    document()->setUndoRedoEnabled(false);
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    insertExact(cursor, qtText, QTextCharFormat());
    cursor.endEditBlock();
    document()->setUndoRedoEnabled(true);
    setTextCursor(QTextCursor(document()));
}

void MultiLineEdit::insertTyped(QString text)
{
    const int room = mRoom();
    if (room >= 0)
        text.truncate(textlimit::fittingHead(text, room, 2));
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    insertExact(cursor, text, cursor.charFormat());
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

void MultiLineEdit::keyPressEvent(QKeyEvent *event)
{
    if (isReadOnly()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    // Qt puts a line separator for Shift+Enter; the box has one kind of line break.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ShiftModifier)) {
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                        event->nativeScanCode(), event->nativeVirtualKey(),
                        event->nativeModifiers(), event->text(), event->isAutoRepeat(),
                        event->count());
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    if (!enter && needsHolding(event->text())) {
        insertTyped(event->text());
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MultiLineEdit::inputMethodEvent(QInputMethodEvent *event)
{
    if (!isReadOnly() && event->preeditString().isEmpty() && event->replacementLength() == 0 &&
        needsHolding(event->commitString())) {
        insertTyped(event->commitString());
        event->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void MultiLineEdit::insertFromMimeData(const QMimeData *source)
{
    if (!source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    insertTyped(withNewlines(source->text()));
}

QMimeData *MultiLineEdit::createMimeDataFromSelection() const
{
    // The selection as it is: Qt's own would give its plain text, with the changes above.
    const QTextCursor cursor = textCursor();
    auto *data = new QMimeData;
    data->setText(
        exactText().mid(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()));
    return data;
}

} // namespace platform
