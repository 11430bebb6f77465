#include "Form.h"

#include "Accessibility.h"
#include "Controls.h"
#include "DesignFont.h"
#include "Menu.h"
#include "Twips.h"
#include "WindowLifetime.h"

#include "platform/services/WindowHandles.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QEventLoop>
#include <QMenuBar>
#include <QPointer>
#include <QScopeGuard>
#include <QShortcut>

namespace platform {

namespace {
QList<Form *> &formList()
{
    static QList<Form *> forms;
    return forms;
}
} // namespace

const QList<Form *> &Forms()
{
    return formList();
}

Form *ActiveForm()
{
    return qobject_cast<Form *>(QApplication::activeWindow());
}

Control *ActiveControl()
{
    Form *form = ActiveForm();
    return form ? form->ActiveControl() : nullptr;
}

Control *controlOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        if (auto *control = qobject_cast<Control *>(w))
            return control;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

Form::Form(const QString &name, QWidget *parent) : QWidget(parent, Qt::Window)
{
    installAccessibility();
    setObjectName(name);
    formList().append(this);
}

Form::~Form()
{
    formList().removeAll(this);
    // The controls die with the QWidget base, after this object's own members: cut them loose
    // first so that none reports back to a Form that is no more.
    for (Control *control : std::as_const(mControls))
        control->mForm = nullptr;
    mControls.clear();
    if (mModalLoop)
        mModalLoop->quit();
}

double Form::Left() const
{
    return pixelsToTwipsX(frameGeometry().x());
}

double Form::Top() const
{
    return pixelsToTwipsY(frameGeometry().y());
}

double Form::Width() const
{
    return pixelsToTwipsX(frameGeometry().width());
}

double Form::Height() const
{
    return pixelsToTwipsY(frameGeometry().height());
}

void Form::setLeft(double twips)
{
    move(twipsToPixelsX(twips), frameGeometry().y());
}

void Form::setTop(double twips)
{
    move(frameGeometry().x(), twipsToPixelsY(twips));
}

void Form::setWidth(double twips)
{
    const int frame = frameGeometry().width() - width();
    resize(std::max(0, twipsToPixelsX(twips) - frame), height());
}

void Form::setHeight(double twips)
{
    const int frame = frameGeometry().height() - height();
    resize(width(), std::max(0, twipsToPixelsY(twips) - frame));
}

void Form::Move(double left, double top)
{
    move(twipsToPixelsX(left), twipsToPixelsY(top));
}

double Form::ScaleWidth() const
{
    return width() == clientPixelsX(mClientTwips.width()) ? mClientTwips.width()
                                                          : clientTwipsX(width());
}

double Form::ScaleHeight() const
{
    const int client = height() - mClientTop;
    return client == clientPixelsY(mClientTwips.height()) ? mClientTwips.height()
                                                          : clientTwipsY(client);
}

void Form::setClientSize(double widthTwips, double heightTwips)
{
    mClientTwips = QSizeF(widthTwips, heightTwips);
    resize(clientPixelsX(widthTwips), clientPixelsY(heightTwips) + mClientTop);
}

void Form::setDesignFont(const DesignFont &font)
{
    mDesignFont = font;
}

double Form::designFontRatio() const
{
    return mFontRatio > 0 ? mFontRatio : desktopPointSize() / mDesignFont.pointSize;
}

void Form::setLayoutScale(double scale)
{
    if (scale <= 0 || scale == mScale)
        return;
    // Every rectangle is read in twips at the old scale before any is placed at the new one.
    const QSizeF client(ScaleWidth(), ScaleHeight());
    QList<QRectF> placed;
    placed.reserve(mControls.size());
    for (const Control *control : std::as_const(mControls))
        placed.append(control->twipsRect());
    const double before = mScale;
    mScale = scale;
    for (int i = 0; i < mControls.size(); ++i)
        mControls.at(i)->place(placed.at(i));
    for (Control *control : std::as_const(mControls))
        control->layoutScaleChanged(before);
    setClientSize(client.width(), client.height());
    layoutBars();
}

int Form::clientPixelsX(double twips) const
{
    return twipsToPixelsX(twips * mScale);
}

int Form::clientPixelsY(double twips) const
{
    return twipsToPixelsY(twips * mScale);
}

double Form::clientTwipsX(int pixels) const
{
    return pixelsToTwipsX(pixels) / mScale;
}

double Form::clientTwipsY(int pixels) const
{
    return pixelsToTwipsY(pixels) / mScale;
}

void Form::setVisible(bool visible)
{
    if (visible && !isVisible() && !mUnloaded)
        fitToDesktopFont(*this, FitStart::Continue, FitAnchor::Centre);
    QWidget::setVisible(visible);
}

bool Form::event(QEvent *event)
{
    // Held until no frame of the window can be on the stack (WindowLifetime.h).
    if (event->type() == QEvent::DeferredDelete && !mayDeleteNow(this))
        return true;
    if (event->type() == QEvent::ApplicationFontChange && !mUnloaded)
        fitToDesktopFont(*this, FitStart::Afresh, FitAnchor::Centre);
    return QWidget::event(event);
}

std::int32_t Form::hWnd()
{
    return handleOfWindow(this);
}

void Form::Load()
{
    if (mLoaded || mLoading || mUnloaded)
        return;
    // A load that raised has not loaded the window: the flag goes down on every way out, so that
    // the load can be run again (Retry in the caller's error dialog).
    const auto loadingEnds = qScopeGuard([this] { mLoading = false; });
    mLoading = true;
    // The design's own texts are fitted before the load places the window, so that it is
    // placed at its real size.
    fitToDesktopFont(*this, FitStart::Continue, FitAnchor::TopLeft);
    Form_Load();
    mLoaded = true;
}

void Form::Show()
{
    QPointer<Form> self(this);
    Load();
    if (!self || mUnloaded)
        return;
    show();
}

void Form::ShowModal()
{
    QPointer<Form> self(this);
    Load();
    if (!self || mUnloaded)
        return;
    setWindowModality(Qt::ApplicationModal);
    show();
    QEventLoop loop;
    mModalLoop = &loop;
    loop.exec();
    if (self)
        mModalLoop = nullptr;
}

bool Form::Unload()
{
    if (mUnloaded)
        return true;
    if (mUnloading)
        return false;
    mUnloading = true;
    int cancel = 0;
    Form_Unload(cancel);
    mUnloading = false;
    if (cancel != 0)
        return false;
    mUnloaded = true;
    hide();
    silence(*this);
    formList().removeAll(this);
    emit Unloaded();
    if (mModalLoop)
        mModalLoop->quit();
    deleteLater();
    return true;
}

void Form::closeEvent(QCloseEvent *event)
{
    if (mUnloaded) {
        event->accept();
        return;
    }
    // A disabled window takes no command, and a close request is one: nothing is asked and the
    // window stays (the main window waits so while its editor is open).
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    if (Unload())
        event->accept();
    else
        event->ignore();
}

void Form::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutBars();
}

void Form::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Polished for the screen only now: the bars may have another height than before.
    menuBarChanged();
}

void Form::layoutBars()
{
    if (mMenuBar && !mMenuBar->isHidden())
        mMenuBar->setGeometry(0, 0, width(), mClientTop);
    int top = mClientTop;
    int bottom = height();
    for (Control *control : std::as_const(mControls)) {
        if (control->parentWidget() != this || control->isHidden())
            continue;
        const int h = control->sizeHint().height();
        if (control->kind() == ControlKind::Toolbar) {
            control->setGeometry(0, top, width(), h);
            top += h;
        } else if (control->kind() == ControlKind::StatusBar) {
            bottom -= h;
            control->setGeometry(0, bottom, width(), h);
        }
    }
}

Menu *Form::addMenu(const QString &name, const QString &caption)
{
    if (!mMenuBar) {
        mMenuBar = new QMenuBar(this);
        // In the window, not in a desktop-wide bar: the window's layout counts on its height.
        mMenuBar->setNativeMenuBar(false);
    }
    auto *menu = new Menu(this, nullptr, name, caption, true);
    mMenus.append(menu);
    mMenuBar->addMenu(menu->popup());
    menuBarChanged();
    return menu;
}

namespace {
Menu *findMenu(const QList<Menu *> &menus, const QString &name)
{
    for (Menu *menu : menus) {
        if (menu->Name().compare(name, Qt::CaseInsensitive) == 0)
            return menu;
        if (Menu *found = findMenu(menu->items(), name))
            return found;
    }
    return nullptr;
}
} // namespace

Menu *Form::menu(const QString &name) const
{
    return findMenu(mMenus, name);
}

void Form::menuBarChanged()
{
    // The bar is there while one of its menus can be seen, as the system's is.
    const bool shown = mMenuBar && std::any_of(mMenus.cbegin(), mMenus.cend(),
                                               [](Menu *m) { return m->Visible(); });
    if (mMenuBar) {
        mMenuBar->setVisible(shown);
        mMenuBar->ensurePolished();
    }
    const int top = shown ? mMenuBar->sizeHint().height() : 0;
    const int delta = top - mClientTop;
    if (delta != 0) {
        mClientTop = top;
        // Keep the client area and every control's place in it.
        for (Control *control : std::as_const(mControls))
            if (control->parentWidget() == this)
                control->move(control->x(), control->y() + delta);
        resize(width(), height() + delta);
    }
    layoutBars();
}

void Form::PopupMenu(Menu *menu)
{
    static bool running = false;
    if (!menu || !menu->isSubmenu() || running)
        return;
    running = true;
    struct Reset
    {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{running};
    popupMenuRunner()(*menu, QCursor::pos());
}

void Form::setTopmost(bool topmost)
{
    if (isTopmost() == topmost)
        return;
    // Changing window flags re-creates the native window, which hides it and may forget where
    // it was: put back position, size and visibility.
    const QRect frame = frameGeometry();
    const QSize client = size();
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    resize(client);
    move(frame.topLeft());
    if (wasVisible)
        show();
}

bool Form::isTopmost() const
{
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void Form::bringToForeground()
{
    raise();
    activateWindow();
}

Control *Form::control(const QString &name) const
{
    for (Control *control : mControls)
        if (control->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return control;
    return nullptr;
}

Control *Form::ActiveControl() const
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus || focus->window() != this)
        return nullptr;
    return controlOf(focus);
}

void Form::registerControl(Control *control)
{
    if (!control || mControls.contains(control))
        return;
    if (control->mForm && control->mForm != this)
        control->mForm->unregisterControl(control);
    control->mForm = this;
    mControls.append(control);
    if (control->kind() == ControlKind::StatusBar || control->kind() == ControlKind::Toolbar)
        layoutBars();
}

void Form::unregisterControl(Control *control)
{
    mControls.removeAll(control);
    if (mDefault == control)
        mDefault = nullptr;
    if (mCancel == control)
        mCancel = nullptr;
    if (control && control->mForm == this)
        control->mForm = nullptr;
}

void Form::setDefaultButton(CommandButton *button)
{
    mDefault = button;
    ensureShortcuts();
}

void Form::setCancelButton(CommandButton *button)
{
    mCancel = button;
    ensureShortcuts();
}

bool Form::handleDialogKey(int qtKey)
{
    if (qtKey == Qt::Key_Escape) {
        if (!mCancel || !mCancel->isEnabled())
            return false;
        mCancel->click();
        return true;
    }
    if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter) {
        // A focused command button takes Enter itself.
        if (auto *focused = qobject_cast<CommandButton *>(ActiveControl())) {
            focused->click();
            return true;
        }
        if (!mDefault || !mDefault->isEnabled())
            return false;
        mDefault->click();
        return true;
    }
    return false;
}

void Form::ensureShortcuts()
{
    // Window shortcuts come before the focused widget's own key handling, so Esc and Enter reach
    // the buttons whichever control has the focus. The control's KeyDown never sees them then.
    auto make = [this](QShortcut *&shortcut, Qt::Key key) {
        if (shortcut)
            return;
        shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, key] { handleDialogKey(key); });
    };
    if (mCancel)
        make(mEscShortcut, Qt::Key_Escape);
    if (mDefault) {
        make(mReturnShortcut, Qt::Key_Return);
        make(mEnterShortcut, Qt::Key_Enter);
    }
    if (mEscShortcut)
        mEscShortcut->setEnabled(mCancel != nullptr);
    if (mReturnShortcut)
        mReturnShortcut->setEnabled(mDefault != nullptr);
    if (mEnterShortcut)
        mEnterShortcut->setEnabled(mDefault != nullptr);
}

} // namespace platform
