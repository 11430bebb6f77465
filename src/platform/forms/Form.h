#pragma once

// The base of every window of the program: a top-level widget whose name is its objectName
// ("frmEventNotice"). Contracts:
//  - Forms() lists the loaded windows in load order. A Form enters it when it is constructed and
//    leaves it when it is unloaded (Unload, the close box) or destroyed, whichever comes first.
//  - Left, Top, Width and Height are the outer window in the screen's twips (Twips.h converts);
//    ScaleWidth/ScaleHeight and setClientSize the client area in the design's twips, which the
//    layout scale turns into pixels as it does the controls' (DesignFont.h). The menu bar
//    (Menu.h) lies above the client area, as the system's does: the controls' positions count
//    from below it, and a bar that appears or goes keeps both the client area's size and the
//    controls' places.
//  - Aligned controls lie inside the client area: toolbars along its top, one below the other,
//    status bars along its bottom, each as wide as the window. The window places its other
//    controls between them.
//  - The window is fitted to the desktop's font (DesignFont.h) before Form_Load, before every
//    show, and when the desktop's font changes.
//  - Load() runs Form_Load() once; Show() and ShowModal() load the window first. ShowModal
//    returns when the window has been unloaded, running a local event loop meanwhile.
//  - Unload() runs Form_Unload(cancel) (a non-zero cancel keeps the window), hides the window,
//    silences it (its timers, its focus), removes it from Forms(), emits Unloaded and deletes
//    it later: only once no procedure of it can still be running (WindowLifetime.h), so it is
//    safe from the window's own handlers and from a procedure that waits on a box. The close
//    box goes the same way, except that a disabled window refuses it: no Form_Unload, the
//    window stays.
//  - Controls() lists the window's controls in the order they were created (registered); each
//    Control registers itself with the Form it is created in, containers included.
//  - A command button marked Default is clicked by Enter, one marked Cancel by Esc, wherever the
//    focus is inside the window and whether or not the button can be seen (hidden, or placed
//    outside the client area); a disabled button is not clicked. Enter on a focused command
//    button clicks that button instead. The keys then reach no control's KeyDown/KeyPress.

#include "DesignFont.h"

#include <QIcon>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QWidget>

#include <cstdint>

class QEventLoop;
class QMenuBar;
class QShortcut;

namespace platform {

class Control;
class CommandButton;
class Menu;

class Form : public QWidget
{
    Q_OBJECT
public:
    explicit Form(const QString &name, QWidget *parent = nullptr);
    ~Form() override;

    QString Name() const { return objectName(); }

    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void setLeft(double twips);
    void setTop(double twips);
    void setWidth(double twips);
    void setHeight(double twips);
    void Move(double left, double top);
    double ScaleWidth() const;
    double ScaleHeight() const;
    void setClientSize(double widthTwips, double heightTwips);

    // The font the window was laid out for (8-point regular unless set).
    DesignFont designFont() const { return mDesignFont; }
    void setDesignFont(const DesignFont &font);
    // Desktop points per design point, as the last fit mapped them (before any fit: the
    // desktop's font size over the design's).
    double designFontRatio() const;
    void setDesignFontRatio(double ratio) { mFontRatio = ratio; }
    // Client pixels per design pixel (1 until a fit enlarges the layout). Setting it lays the
    // client area and every control out again at their twips.
    double layoutScale() const { return mScale; }
    void setLayoutScale(double scale);
    // Design twips inside the client area <-> pixels, through the layout scale.
    int clientPixelsX(double twips) const;
    int clientPixelsY(double twips) const;
    double clientTwipsX(int pixels) const;
    double clientTwipsY(int pixels) const;

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString &caption) { setWindowTitle(caption); }
    QIcon Icon() const { return windowIcon(); }
    void setIcon(const QIcon &icon) { setWindowIcon(icon); }

    bool Visible() const { return isVisible(); }
    bool Enabled() const { return isEnabled(); }

    // The window's handle (services/WindowHandles.h), the same for the window's whole life.
    std::int32_t hWnd();

    void Load();
    bool isLoaded() const { return mLoaded; }
    void Show();
    void ShowModal();
    // Returns false when Form_Unload cancelled.
    bool Unload();
    bool isUnloaded() const { return mUnloaded; }
    // Fits the window to the desktop's font before it shows, however it is shown.
    void setVisible(bool visible) override;

    // Stays above the other windows; position and size are kept.
    void setTopmost(bool topmost);
    bool isTopmost() const;
    // Raises the window and asks for the keyboard focus.
    void bringToForeground();

    const QList<Control *> &Controls() const { return mControls; }
    Control *control(const QString &name) const;

    // The menu bar's menus, in order; the bar is made with the first one.
    Menu *addMenu(const QString &name, const QString &caption);
    const QList<Menu *> &Menus() const { return mMenus; }
    // Any menu or item of the window's menus by name (without regard to case), or nullptr.
    Menu *menu(const QString &name) const;
    QMenuBar *menuBar() const { return mMenuBar; }
    // Shows a submenu as a pop-up menu at the mouse (Menu.h: the pop-up runner), hidden or not.
    // Returns when the user has chosen an item or dismissed the menu; an item or a menu without
    // items shows nothing, and so does a pop-up asked for while another is open.
    void PopupMenu(Menu *menu);
    // The top of the client area in the widget, in pixels: the height of the menu bar.
    int clientTop() const { return mClientTop; }
    // Places the menu bar and the aligned controls again; an aligned control whose height
    // changed calls it.
    void layoutBars();
    // The control with the keyboard focus, when the focus is inside this window.
    Control *ActiveControl() const;

    void registerControl(Control *control);
    void unregisterControl(Control *control);
    void setDefaultButton(CommandButton *button);
    void setCancelButton(CommandButton *button);
    CommandButton *defaultButton() const { return mDefault; }
    CommandButton *cancelButton() const { return mCancel; }
    // Clicks the Default (Enter) or Cancel (Esc) button; true when the key was used.
    bool handleDialogKey(int qtKey);

signals:
    void Unloaded();

protected:
    virtual void Form_Load() {}
    virtual void Form_Unload(int &cancel) { Q_UNUSED(cancel); }

    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;

private:
    friend class Menu;
    void ensureShortcuts();
    void menuBarChanged();

    QList<Control *> mControls;
    QList<Menu *> mMenus;
    QMenuBar *mMenuBar = nullptr;
    int mClientTop = 0;
    CommandButton *mDefault = nullptr;
    CommandButton *mCancel = nullptr;
    QShortcut *mEscShortcut = nullptr;
    QShortcut *mReturnShortcut = nullptr;
    QShortcut *mEnterShortcut = nullptr;
    QEventLoop *mModalLoop = nullptr;
    QSizeF mClientTwips; // as last set; read back while the client area keeps its pixels
    DesignFont mDesignFont;
    double mFontRatio = 0; // 0: no fit yet
    double mScale = 1.0;
    bool mLoaded = false;
    bool mLoading = false;
    bool mUnloaded = false;
    bool mUnloading = false;
};

// The loaded windows, in load order (the runtime's Forms collection, indexed from 0).
const QList<Form *> &Forms();

// The active window, when it is one of the program's forms, and its active control.
Form *ActiveForm();
Control *ActiveControl();

// The control a widget belongs to (the widget itself or one of its ancestors), or nullptr.
Control *controlOf(QWidget *widget);

} // namespace platform
