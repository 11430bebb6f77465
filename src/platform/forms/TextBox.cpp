#include "TextBox.h"

#include "ControlSupport.h"
#include "MultiLineEdit.h"
#include "TextLimit.h"

#include "platform/vb/RuntimeError.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QValidator>

#include <algorithm>

namespace platform {

using namespace detail;

namespace {

// Multi-line text: Qt keeps "\n", the program sees CR LF. Positions are converted between the
// two so that SelStart/SelLength count a line break as two characters.
QString toQtText(const QString &vbText)
{
    QString t = vbText;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

QString toVbText(const QString &qtText)
{
    QString t = qtText;
    t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return t;
}

int qtToVbPos(const QString &qtText, int pos)
{
    return pos + static_cast<int>(qtText.left(pos).count(QLatin1Char('\n')));
}

int vbToQtPos(const QString &vbText, int pos)
{
    pos = std::clamp(pos, 0, static_cast<int>(vbText.size()));
    int qt = 0;
    for (int i = 0; i < pos; ++i) {
        // The LF of a CR LF pair is no character of its own in Qt's text.
        if (vbText.at(i) == QLatin1Char('\n') && i > 0 && vbText.at(i - 1) == QLatin1Char('\r'))
            continue;
        ++qt;
    }
    // A position between CR and LF lands before the line break.
    if (pos > 0 && pos < vbText.size() && vbText.at(pos - 1) == QLatin1Char('\r') &&
        vbText.at(pos) == QLatin1Char('\n'))
        --qt;
    return qt;
}

// The twips a text box's border takes, top and bottom together, in the design.
constexpr double kTextBoxBorderTwips = 60;
// The width of QLineEdit's caret, in pixels.
constexpr int kCaretWidth = 1;

} // namespace

// Trims what the user pastes or types into a single-line box to its MaxLength; text set in
// code passes untouched.
class MaxLengthValidator : public QValidator
{
public:
    MaxLengthValidator(TextBox *box, const bool *settingText)
        : QValidator(box), mBox(box), mSettingText(settingText)
    {
    }

    State validate(QString &input, int &pos) const override
    {
        const int max = mBox->MaxLength();
        if (*mSettingText || max <= 0 || textlimit::length(input) <= max)
            return Acceptable;
        // The characters just inserted before the caret, whole.
        const qsizetype excess =
            textlimit::lastCharacters(input, pos, textlimit::length(input) - max);
        QString fitted = input;
        fitted.remove(pos - excess, excess);
        if (textlimit::length(fitted) > max)
            return Invalid;
        input = fitted;
        pos -= static_cast<int>(excess);
        return Acceptable;
    }

private:
    TextBox *mBox;
    const bool *mSettingText;
};

namespace {
bool gSettingText = false; // one UI thread: a text set in code is never nested in another
}

// The inner editor goes first: its validator and its signals call back into this box, which
// would otherwise already be gone when QWidget deletes its children.
TextBox::~TextBox()
{
    delete mEdit;
    delete mMulti;
}

TextBox::TextBox(QWidget *parent, const QString &name, Lines lines)
    : Control(ControlKind::TextBox, parent, name), mBackColor(vbcolor::WindowBackground)
{
    if (lines == Lines::Single) {
        mEdit = new QLineEdit(this);
        mEdit->setValidator(new MaxLengthValidator(this, &gSettingText));
        connect(mEdit, &QLineEdit::textChanged, this, &TextBox::innerTextChanged);
        setInner(mEdit);
    } else {
        mMulti = new MultiLineEdit(this, [this] { return mMaxLength > 0 ? roomLeft() : -1; });
        mMulti->setTabChangesFocus(true);
        mMulti->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        connect(mMulti, &QPlainTextEdit::textChanged, this, &TextBox::innerTextChanged);
        setInner(mMulti);
    }
}

void TextBox::innerTextChanged()
{
    const QString now = Text();
    if (now == mLastText)
        return;
    mLastText = now;
    emit Change();
}

QString TextBox::Text() const
{
    return mEdit ? mEdit->text() : toVbText(mMulti->exactText());
}

void TextBox::setText(const QString &text)
{
    if (text == Text())
        return;
    gSettingText = true;
    if (mEdit) {
        mEdit->setText(text);
        gSettingText = false;
        mEdit->setCursorPosition(0); // the runtime leaves the caret at the start
    } else {
        mMulti->setExactText(toQtText(text));
        gSettingText = false;
    }
}

int TextBox::SelStart() const
{
    if (mEdit)
        return mEdit->hasSelectedText() ? mEdit->selectionStart() : mEdit->cursorPosition();
    return qtToVbPos(mMulti->exactText(), mMulti->textCursor().selectionStart());
}

void TextBox::setSelStart(int start)
{
    if (start < 0)
        vb::raise(vb::err::InvalidPropertyValue);
    const QString text = Text();
    start = std::min(start, static_cast<int>(text.size()));
    if (mEdit) {
        mEdit->setCursorPosition(start);
        mEdit->deselect();
    } else {
        QTextCursor cursor = mMulti->textCursor();
        cursor.setPosition(vbToQtPos(text, start));
        mMulti->setTextCursor(cursor);
    }
}

int TextBox::SelLength() const
{
    if (mEdit)
        return static_cast<int>(mEdit->selectedText().size());
    const QString qt = mMulti->exactText();
    const QTextCursor cursor = mMulti->textCursor();
    return qtToVbPos(qt, cursor.selectionEnd()) - qtToVbPos(qt, cursor.selectionStart());
}

void TextBox::setSelLength(int length)
{
    if (length < 0)
        vb::raise(vb::err::InvalidPropertyValue);
    const QString text = Text();
    const int start = SelStart();
    const int end = std::min(static_cast<int>(text.size()), start + length);
    if (mEdit) {
        mEdit->setSelection(start, end - start);
    } else {
        QTextCursor cursor = mMulti->textCursor();
        cursor.setPosition(vbToQtPos(text, start));
        cursor.setPosition(vbToQtPos(text, end), QTextCursor::KeepAnchor);
        mMulti->setTextCursor(cursor);
    }
}

QString TextBox::SelText() const
{
    return Text().mid(SelStart(), SelLength());
}

void TextBox::setSelText(const QString &text)
{
    const QString whole = Text();
    const int start = SelStart();
    const int length = SelLength();
    setText(whole.left(start) + text + whole.mid(start + length));
    setSelStart(start + static_cast<int>(text.size()));
}

bool TextBox::Locked() const
{
    return mEdit ? mEdit->isReadOnly() : mMulti->isReadOnly();
}

void TextBox::setLocked(bool locked)
{
    if (mEdit)
        mEdit->setReadOnly(locked);
    else
        mMulti->setReadOnly(locked);
}

void TextBox::setBackColor(std::int32_t vbColor)
{
    mBackColor = vbColor;
    applyBase(inner(), vbColor);
}

void TextBox::setMaxLength(int maxLength)
{
    if (maxLength < 0)
        vb::raise(vb::err::InvalidPropertyValue);
    mMaxLength = maxLength;
}

int TextBox::roomLeft() const
{
    return mMaxLength - (textlimit::length(Text()) - textlimit::length(SelText()));
}

bool TextBox::acceptTyped(int keyAscii)
{
    if (mMaxLength <= 0 || keyAscii == 8 || (keyAscii < 32 && keyAscii != 13))
        return true;
    const int cost = keyAscii == 13 ? (isMultiLine() ? 2 : 0) : 1;
    return cost <= roomLeft();
}

void TextBox::setAlignment(Alignment alignment)
{
    mAlignment = alignment;
    if (mEdit) {
        mEdit->setAlignment(horizontalAlignment(alignment) | Qt::AlignVCenter);
    } else {
        QTextOption option = mMulti->document()->defaultTextOption();
        option.setAlignment(horizontalAlignment(alignment));
        mMulti->document()->setDefaultTextOption(option);
    }
}

bool TextBox::FontBold() const
{
    return inner()->font().bold();
}

void TextBox::setFontBold(bool bold)
{
    // The weight alone: family and size keep following the window's font.
    QFont font;
    font.setBold(bold);
    inner()->setFont(font);
}

std::optional<TextRoom> TextBox::textRoom() const
{
    // Measured at the control's size, which is up to date even while the window is hidden and
    // the inner editor has not been resized yet.
    if (mEdit) {
        QStyleOptionFrame option;
        option.initFrom(mEdit);
        option.rect = QRect(QPoint(), size());
        option.lineWidth =
            mEdit->hasFrame()
                ? mEdit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, mEdit)
                : 0;
        const QRect contents = mEdit->style()
                                   ->subElementRect(QStyle::SE_LineEditContents, &option, mEdit)
                                   .marginsRemoved(mEdit->textMargins());
        // The caret after the last character must not scroll the text.
        const QSize room(contents.width() - 2 * kLineEditTextMargin - kCaretWidth,
                         contents.height());
        return TextRoom{{Text()}, room, mEdit->font(), false};
    }
    // A box that scrolls has room for any text; one that holds a single line has not.
    if (effectiveDesignFont().linesIn(twipsRect().height() - kTextBoxBorderTwips) > 1)
        return std::nullopt;
    const int frame = mMulti->frameWidth();
    const int margin = static_cast<int>(mMulti->document()->documentMargin());
    const QSize room(width() - 2 * frame - 2 * margin, height() - 2 * frame - margin);
    return TextRoom{{Text()}, room, mMulti->font(), false};
}

} // namespace platform
