#include "Controls.h"

#include "Form.h"
#include "Twips.h"
#include "VbColor.h"

#include "platform/vb/RuntimeError.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QTextBlock>
#include <QValidator>

namespace platform {

namespace {

constexpr int kInvalidPropertyArrayIndex = 381;
constexpr int kIndexOutOfBounds = 35600;

// The runtime's key code of a key (its virtual-key numbers). Keys outside the table get a
// non-zero code of their own so that a filter that zeroes every code still sees them.
int vbKeyCode(const QKeyEvent *e)
{
    const int key = e->key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key; // the same numbers as the runtime's
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Clear:
        return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_Menu:
        return 93;
    case Qt::Key_NumLock:
        return 144;
    case Qt::Key_ScrollLock:
        return 145;
    default:
        break;
    }
    if (key > 0 && key < 0x100)
        return key;
    return 0xFF; // any other key: not one the program's filters let through
}

int vbShift(const QKeyEvent *e)
{
    int shift = 0;
    if (e->modifiers() & Qt::ShiftModifier)
        shift |= 1;
    if (e->modifiers() & Qt::ControlModifier)
        shift |= 2;
    if (e->modifiers() & Qt::AltModifier)
        shift |= 4;
    return shift;
}

// The character a key produces (the runtime's KeyAscii), 0 for a key that produces none.
int vbKeyAscii(const QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return 0;
    default:
        break;
    }
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    if (ctrl && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
        return e->key() - Qt::Key_A + 1;
    const QString text = e->text();
    if (text.isEmpty())
        return 0;
    const char16_t c = text.at(0).unicode();
    if (c < 32 || c == 127)
        return 0;
    return c;
}

bool isDialogKey(const QKeyEvent *e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier)
        return false;
    return e->key() == Qt::Key_Escape || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

void applyBase(QWidget *widget, std::int32_t vbColor)
{
    QPalette pal = widget->palette();
    const QPalette standard = QApplication::palette(widget);
    pal.setColor(QPalette::Base, colorFromVb(vbColor, standard));
    widget->setPalette(pal);
}

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

int vbLength(const QString &text, bool multiLine)
{
    return static_cast<int>(multiLine ? toVbText(toQtText(text)).size() : text.size());
}

// The twips a text box's border takes, top and bottom together, in the design.
constexpr double kTextBoxBorderTwips = 60;
// What QLineEdit keeps free on either side of its text, and the width of its caret, in pixels.
constexpr int kLineEditTextMargin = 2;
constexpr int kCaretWidth = 1;

// A button's caption as it is drawn: "&" marks the accelerator, "&&" stands for "&".
QString withoutAccelerator(const QString &caption)
{
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        else if (caption.at(i) == QLatin1Char('&'))
            continue;
        shown.append(caption.at(i));
    }
    return shown;
}

// The rectangle a button-like widget draws its caption in, at the size `size`.
QSize buttonTextRoom(const QAbstractButton *button, const QSize &size, QStyle::SubElement element)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = QRect(QPoint(), size);
    option.text = button->text();
    return button->style()->subElementRect(element, &option, button).size();
}

} // namespace

Qt::Alignment horizontalAlignment(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Right:
        return Qt::AlignRight;
    case Alignment::Center:
        return Qt::AlignHCenter;
    case Alignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

// ---------------------------------------------------------------------------------------------
// Control

Control::Control(ControlKind kind, QWidget *parent, const QString &name)
    : QWidget(parent), mKind(kind)
{
    setObjectName(name);
    for (QWidget *w = parent; w; w = w->parentWidget()) {
        if (auto *form = qobject_cast<Form *>(w)) {
            form->registerControl(this);
            break;
        }
    }
}

Control::~Control()
{
    if (mForm)
        mForm->unregisterControl(this);
}

void Control::setInner(QWidget *inner)
{
    mInner = inner;
    inner->setParent(this);
    inner->setGeometry(rect());
    setFocusProxy(inner);
    setFocusPolicy(inner->focusPolicy());
    inner->installEventFilter(this);
}

void Control::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (mInner)
        mInner->setGeometry(rect());
}

QSize Control::sizeHint() const
{
    return mInner ? mInner->sizeHint() : QWidget::sizeHint();
}

QRect Control::pixelsOf(const QRectF &twips) const
{
    // Both edges are rounded, not the start and the length: controls that meet in twips meet in
    // pixels, at any scale, without a pixel between them or one in common.
    const auto edges = [](auto toPixels, double start, double length) {
        const int from = toPixels(start);
        return std::pair{from, std::max(0, toPixels(start + length) - from)};
    };
    const Form *form = mForm;
    const auto [x, w] =
        edges([form](double t) { return form ? form->clientPixelsX(t) : twipsToPixelsX(t); },
              twips.left(), twips.width());
    const auto [y, h] =
        edges([form](double t) { return form ? form->clientPixelsY(t) : twipsToPixelsY(t); },
              twips.top(), twips.height());
    return QRect(x, y + originY(), w, h);
}

QRectF Control::twipsRect() const
{
    const QRect pixels = geometry();
    if (pixels == pixelsOf(mTwips))
        return mTwips;
    // Moved in pixels since (a layout, an aligned bar, another screen resolution): read back
    // what the pixels are.
    if (mForm)
        return QRectF(mForm->clientTwipsX(pixels.x()), mForm->clientTwipsY(pixels.y() - originY()),
                      mForm->clientTwipsX(pixels.width()), mForm->clientTwipsY(pixels.height()));
    return QRectF(pixelsToTwipsX(pixels.x()), pixelsToTwipsY(pixels.y()),
                  pixelsToTwipsX(pixels.width()), pixelsToTwipsY(pixels.height()));
}

void Control::place(const QRectF &twips)
{
    mTwips = twips;
    setGeometry(pixelsOf(twips));
}

double Control::Left() const
{
    return twipsRect().left();
}

int Control::originY() const
{
    return mForm && parentWidget() == mForm ? mForm->clientTop() : 0;
}

double Control::Top() const
{
    return twipsRect().top();
}

double Control::Width() const
{
    return twipsRect().width();
}

double Control::Height() const
{
    return twipsRect().height();
}

void Control::setLeft(double twips)
{
    QRectF r = twipsRect();
    r.moveLeft(twips);
    place(r);
}

void Control::setTop(double twips)
{
    QRectF r = twipsRect();
    r.moveTop(twips);
    place(r);
}

void Control::setWidth(double twips)
{
    QRectF r = twipsRect();
    r.setWidth(twips);
    place(r);
}

void Control::setHeight(double twips)
{
    QRectF r = twipsRect();
    r.setHeight(twips);
    place(r);
}

void Control::Move(double left, double top, double width, double height)
{
    place(QRectF(left, top, width, height));
}

void Control::setDesignFont(const DesignFont &font)
{
    mDesignFont = font;
    applyDesignFont(mForm ? mForm->designFontRatio() : 1.0);
}

DesignFont Control::effectiveDesignFont() const
{
    if (mDesignFont)
        return *mDesignFont;
    return mForm ? mForm->designFont() : DesignFont();
}

void Control::applyDesignFont(double ratio)
{
    if (!mDesignFont)
        return;
    // Size and weight; the family comes from the window, which has the desktop's, unless the
    // control asks for one of its own.
    QFont font;
    if (!mDesignFont->family.isEmpty())
        font.setFamily(mDesignFont->family);
    font.setPointSizeF(mDesignFont->pointSize * ratio);
    font.setBold(mDesignFont->bold);
    setFont(font);
}

void Control::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
}

bool Control::acceptTyped(int)
{
    return true;
}

bool Control::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != mInner)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        emit GotFocus();
        break;
    case QEvent::FocusOut: {
        // A pop-up menu or another application taking over leaves the focus where it was, as far
        // as the window is concerned: no LostFocus then.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            emit LostFocus();
        break;
    }
    case QEvent::MouseButtonDblClick:
        emit DblClick();
        break;
    case QEvent::ShortcutOverride: {
        // Keep the inner widget from claiming Esc/Enter when the window has a button for it.
        auto *e = static_cast<QKeyEvent *>(event);
        if (mForm && isDialogKey(e) &&
            ((e->key() == Qt::Key_Escape && mForm->cancelButton()) ||
             (e->key() != Qt::Key_Escape && mForm->defaultButton())))
            return true;
        break;
    }
    case QEvent::KeyPress: {
        auto *e = static_cast<QKeyEvent *>(event);
        // Focus navigation comes before the filters, so that a box that discards every key can
        // still be left with Tab.
        if ((e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) &&
            !(e->modifiers() & Qt::ControlModifier))
            break;
        if (mForm && isDialogKey(e) && mForm->handleDialogKey(e->key()))
            return true;
        int keyCode = vbKeyCode(e);
        emit KeyDown(keyCode, vbShift(e));
        int keyAscii = vbKeyAscii(e);
        if (keyAscii == 0)
            return keyCode == 0;
        emit KeyPress(keyAscii);
        if (keyAscii == 0)
            return true;
        return !acceptTyped(keyAscii);
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// TextBox

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
        if (*mSettingText || max <= 0 || input.size() <= max)
            return Acceptable;
        const int excess = static_cast<int>(input.size()) - max;
        if (pos - excess < 0)
            return Invalid;
        input.remove(pos - excess, excess); // the characters just inserted before the caret
        pos -= excess;
        return Acceptable;
    }

private:
    TextBox *mBox;
    const bool *mSettingText;
};

class MultiLineEdit : public QPlainTextEdit
{
public:
    explicit MultiLineEdit(TextBox *box) : QPlainTextEdit(box), mBox(box) {}

protected:
    void insertFromMimeData(const QMimeData *source) override
    {
        if (mBox->MaxLength() <= 0 || !source->hasText()) {
            QPlainTextEdit::insertFromMimeData(source);
            return;
        }
        const QString text = toQtText(source->text());
        int room = mBox->roomLeft();
        QString fit;
        for (QChar c : text) {
            const int cost = c == QLatin1Char('\n') ? 2 : 1;
            if (cost > room)
                break;
            fit.append(c);
            room -= cost;
        }
        insertPlainText(fit);
    }

private:
    TextBox *mBox;
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
        auto *multi = new MultiLineEdit(this);
        mMulti = multi;
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
    return mEdit ? mEdit->text() : toVbText(mMulti->toPlainText());
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
        mMulti->setPlainText(toQtText(text));
        gSettingText = false;
    }
}

int TextBox::SelStart() const
{
    if (mEdit)
        return mEdit->hasSelectedText() ? mEdit->selectionStart() : mEdit->cursorPosition();
    return qtToVbPos(mMulti->toPlainText(), mMulti->textCursor().selectionStart());
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
    const QString qt = mMulti->toPlainText();
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
    const bool multi = isMultiLine();
    return mMaxLength - (vbLength(Text(), multi) - SelLength());
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

// ---------------------------------------------------------------------------------------------
// ComboBox

ComboBox::ComboBox(QWidget *parent, const QString &name, Style style)
    : Control(ControlKind::ComboBox, parent, name), mCombo(new QComboBox(this)), mStyle(style)
{
    mCombo->setEditable(style == Style::DropDownCombo);
    mCombo->setInsertPolicy(QComboBox::NoInsert);
    connect(mCombo, &QComboBox::activated, this, [this] { emit Click(); });
    setInner(mCombo);
}

QString ComboBox::Text() const
{
    return mCombo->currentText();
}

void ComboBox::setText(const QString &text)
{
    if (mStyle == Style::DropDownList) {
        mCombo->setCurrentIndex(mCombo->findText(text, Qt::MatchFixedString));
        return;
    }
    const int index = mCombo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) {
        mCombo->setCurrentIndex(index);
    } else {
        mCombo->setCurrentIndex(-1);
        mCombo->setEditText(text);
    }
}

void ComboBox::Clear()
{
    mCombo->clear();
    if (mCombo->isEditable())
        mCombo->clearEditText();
    mNewIndex = -1;
}

void ComboBox::AddItem(const QString &text)
{
    // QComboBox selects the first item added to an empty list; the runtime selects nothing.
    const int before = mCombo->currentIndex();
    const QString beforeText = mCombo->currentText();
    mCombo->addItem(text);
    mNewIndex = mCombo->count() - 1;
    if (before == -1 && mCombo->currentIndex() != -1) {
        mCombo->setCurrentIndex(-1);
        if (mCombo->isEditable())
            mCombo->setEditText(beforeText);
    }
}

void ComboBox::AddItem(const QString &text, std::int32_t itemData)
{
    AddItem(text);
    setItemData(mNewIndex, itemData);
}

std::int32_t ComboBox::ItemData(int index) const
{
    if (index < 0 || index >= mCombo->count())
        vb::raise(kInvalidPropertyArrayIndex, QStringLiteral("Invalid property array index"));
    return mCombo->itemData(index).toInt();
}

void ComboBox::setItemData(int index, std::int32_t data)
{
    if (index < 0 || index >= mCombo->count())
        vb::raise(kInvalidPropertyArrayIndex, QStringLiteral("Invalid property array index"));
    mCombo->setItemData(index, data);
}

int ComboBox::ListIndex() const
{
    return mCombo->currentIndex();
}

void ComboBox::setListIndex(int index)
{
    if (index < -1 || index >= mCombo->count())
        vb::raise(vb::err::InvalidPropertyValue);
    mCombo->setCurrentIndex(index);
    emit Click();
}

int ComboBox::ListCount() const
{
    return mCombo->count();
}

QString ComboBox::List(int index) const
{
    if (index < 0 || index >= mCombo->count())
        vb::raise(kInvalidPropertyArrayIndex, QStringLiteral("Invalid property array index"));
    return mCombo->itemText(index);
}

std::optional<TextRoom> ComboBox::textRoom() const
{
    QStyleOptionComboBox option;
    option.initFrom(mCombo);
    option.rect = QRect(QPoint(), size());
    option.editable = mCombo->isEditable();
    option.frame = mCombo->hasFrame();
    const QRect field = mCombo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                        QStyle::SC_ComboBoxEditField, mCombo);
    QStringList texts{Text()};
    for (int i = 0; i < mCombo->count(); ++i)
        texts.append(mCombo->itemText(i));
    const QSize room(field.width() - 2 * kLineEditTextMargin, field.height());
    return TextRoom{texts, room, mCombo->font(), false};
}

// ---------------------------------------------------------------------------------------------
// Label

Label::Label(QWidget *parent, const QString &name, const QString &caption)
    : Control(ControlKind::Label, parent, name), mLabel(new QLabel(caption, this))
{
    mLabel->setTextFormat(Qt::PlainText);
    syncWrap();
    mLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setInner(mLabel);
    setFocusPolicy(Qt::NoFocus);
}

QString Label::Caption() const
{
    return mLabel->text();
}

void Label::setCaption(const QString &caption)
{
    mLabel->setText(caption);
}

void Label::setAlignment(Alignment alignment)
{
    mAlignment = alignment;
    mLabel->setAlignment(horizontalAlignment(alignment) | Qt::AlignTop);
}

void Label::setWordWrap(bool wrap)
{
    mWordWrap = wrap;
    syncWrap();
}

bool Label::wrapsText() const
{
    return mWordWrap && effectiveDesignFont().linesIn(twipsRect().height()) > 1;
}

void Label::syncWrap()
{
    mLabel->setWordWrap(wrapsText());
}

void Label::resizeEvent(QResizeEvent *event)
{
    Control::resizeEvent(event);
    syncWrap();
}

std::optional<TextRoom> Label::textRoom() const
{
    return TextRoom{{Caption()}, size(), mLabel->font(), wrapsText()};
}

// ---------------------------------------------------------------------------------------------
// ListBox

ListBox::ListBox(QWidget *parent, const QString &name)
    : Control(ControlKind::ListBox, parent, name), mList(new QListWidget(this)),
      mBackColor(vbcolor::WindowBackground)
{
    setInner(mList);
}

void ListBox::Clear()
{
    mList->clear();
}

void ListBox::AddItem(const QString &text)
{
    mList->addItem(text);
}

int ListBox::ListCount() const
{
    return mList->count();
}

QString ListBox::List(int index) const
{
    if (index < 0 || index >= mList->count())
        vb::raise(kInvalidPropertyArrayIndex, QStringLiteral("Invalid property array index"));
    return mList->item(index)->text();
}

void ListBox::setBackColor(std::int32_t vbColor)
{
    mBackColor = vbColor;
    applyBase(mList, vbColor);
}

// ---------------------------------------------------------------------------------------------
// CheckBox

CheckBox::CheckBox(QWidget *parent, const QString &name, const QString &caption)
    : Control(ControlKind::CheckBox, parent, name), mCheck(new QCheckBox(caption, this))
{
    // One signal for both the user's click and a value set in code, only on a change.
    connect(mCheck, &QCheckBox::toggled, this, [this] { emit Click(); });
    setInner(mCheck);
}

QString CheckBox::Caption() const
{
    return mCheck->text();
}

void CheckBox::setCaption(const QString &caption)
{
    mCheck->setText(caption);
}

int CheckBox::Value() const
{
    return mCheck->isChecked() ? 1 : 0;
}

void CheckBox::setValue(int value)
{
    if (value != 0 && value != 1)
        vb::raise(vb::err::InvalidPropertyValue);
    mCheck->setChecked(value == 1);
}

std::optional<TextRoom> CheckBox::textRoom() const
{
    return TextRoom{{Caption()},
                    buttonTextRoom(mCheck, size(), QStyle::SE_CheckBoxContents),
                    mCheck->font(),
                    false};
}

CheckBox *makeFocusSink(QWidget *parent, const QString &name, const QString &caption, double left,
                        double top)
{
    auto *sink = new CheckBox(parent, name, caption);
    sink->Move(left, top, 900, 240);
    return sink;
}

// ---------------------------------------------------------------------------------------------
// CommandButton

CommandButton::CommandButton(QWidget *parent, const QString &name, const QString &caption)
    : Control(ControlKind::CommandButton, parent, name), mButton(new QPushButton(caption, this))
{
    mButton->setAutoDefault(false);
    connect(mButton, &QPushButton::clicked, this, [this] { emit Click(); });
    setInner(mButton);
}

QString CommandButton::Caption() const
{
    return mButton->text();
}

void CommandButton::setCaption(const QString &caption)
{
    mButton->setText(caption);
}

bool CommandButton::Default() const
{
    return form() && form()->defaultButton() == this;
}

void CommandButton::setDefault(bool isDefault)
{
    mButton->setDefault(isDefault);
    if (!form())
        return;
    if (isDefault)
        form()->setDefaultButton(this);
    else if (Default())
        form()->setDefaultButton(nullptr);
}

bool CommandButton::Cancel() const
{
    return form() && form()->cancelButton() == this;
}

void CommandButton::setCancel(bool isCancel)
{
    if (!form())
        return;
    if (isCancel)
        form()->setCancelButton(this);
    else if (Cancel())
        form()->setCancelButton(nullptr);
}

void CommandButton::click()
{
    // QAbstractButton::click works on a hidden button too, and does nothing when disabled.
    mButton->click();
}

std::optional<TextRoom> CommandButton::textRoom() const
{
    return TextRoom{{withoutAccelerator(Caption())},
                    buttonTextRoom(mButton, size(), QStyle::SE_PushButtonContents),
                    mButton->font(),
                    false};
}

// ---------------------------------------------------------------------------------------------
// Image, PictureBox

Image::Image(QWidget *parent, const QString &name, ControlKind kind)
    : Control(kind, parent, name), mView(new QLabel(this))
{
    mView->setAlignment(Qt::AlignCenter);
    setInner(mView);
    setFocusPolicy(Qt::NoFocus);
}

void Image::setPicture(const QIcon &picture)
{
    mPicture = picture;
    showPicture();
}

void Image::showPicture()
{
    const QSize size = this->size().isEmpty() ? QSize(32, 32) : this->size();
    mView->setPixmap(mPicture.isNull() ? QPixmap() : mPicture.pixmap(size));
}

void Image::resizeEvent(QResizeEvent *event)
{
    Control::resizeEvent(event);
    showPicture();
}

PictureBox::PictureBox(QWidget *parent, const QString &name)
    : Image(parent, name, ControlKind::PictureBox)
{
}

// ---------------------------------------------------------------------------------------------
// StatusBar

QString Panel::Text() const
{
    return mLabel->text();
}

void Panel::setText(const QString &text)
{
    mLabel->setText(text);
}

StatusBar::StatusBar(QWidget *parent, const QString &name, int panelCount)
    : Control(ControlKind::StatusBar, parent, name)
{
    auto *bar = new QWidget(this);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    mPanels.reserve(static_cast<std::size_t>(std::max(1, panelCount)));
    for (int i = 0; i < std::max(1, panelCount); ++i) {
        auto *label = new QLabel(bar);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        layout->addWidget(label, i == 0 ? 1 : 0);
        mPanels.push_back(Panel(label));
    }
    setInner(bar);
    setFocusPolicy(Qt::NoFocus);
    if (parent) {
        const int h = bar->sizeHint().height();
        setGeometry(0, parent->height() - h, parent->width(), h);
    }
}

Panel &StatusBar::Panels(int index)
{
    if (index < 1 || index > PanelCount())
        vb::raise(kIndexOutOfBounds, QStringLiteral("Index out of bounds"));
    return mPanels[static_cast<std::size_t>(index - 1)];
}

QSize StatusBar::sizeHint() const
{
    // An empty panel asks for less than one with a text: the bar keeps its height when its
    // texts come and go, and the text that comes has its line.
    QSize hint = Control::sizeHint();
    const QLabel *first = mPanels.front().mLabel;
    const QMargins margins = inner()->layout()->contentsMargins();
    const int line = textSize(first->font(), QStringLiteral("X"), false, 0).height() +
                     2 * first->frameWidth() + margins.top() + margins.bottom();
    hint.setHeight(std::max(hint.height(), line));
    return hint;
}

QList<TextRoom> StatusBar::textRooms() const
{
    // The bar's margins, the panels after the first at the widths their texts ask for, and the
    // first panel's frame and indent (a framed label's, half an "x").
    const QLabel *first = mPanels.front().mLabel;
    const QMargins margins = inner()->layout()->contentsMargins();
    int width = this->width() - margins.left() - margins.right();
    for (std::size_t i = 1; i < mPanels.size(); ++i)
        width -= mPanels[i].mLabel->sizeHint().width() + inner()->layout()->spacing();
    const int frame = first->frameWidth();
    const int indent = first->indent() >= 0
                           ? first->indent()
                           : first->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    const QSize room(width - 2 * frame - indent,
                     height() - margins.top() - margins.bottom() - 2 * frame);
    return {TextRoom{{first->text()}, room, first->font(), false}};
}

} // namespace platform
