#include "Control.h"

#include "Accessibility.h"
#include "Form.h"
#include "Twips.h"

#include <QKeyEvent>

namespace platform {

namespace {

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
    installAccessibility();
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
    const bool wasOutside = liesOutsideItsWindow(this);
    setGeometry(pixelsOf(twips));
    if (wasOutside != liesOutsideItsWindow(this))
        controlPlaced(this);
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

} // namespace platform
