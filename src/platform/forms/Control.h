#pragma once

// The intrinsic controls the program's windows are built from. Each is a thin QWidget around one
// Qt widget (the inner widget, which takes the focus for it), carrying the design-time Tag and
// DataMember texts and its kind. Positions and sizes are in twips relative to the control's
// container, converted through the form's layout scale (DesignFont.h); they read back as they
// were set as long as the control has not been moved in pixels since. A Control registers with
// the Form it is created in (Form::Controls()).
//
// Fonts: a control uses its window's font unless it has a design font of its own
// (setDesignFont), which the window layer maps to the desktop's font as it maps the window's.
// Each kind that draws a text in a box of fixed size says where (textRoom, or textRooms for a
// kind with several boxes), so that the window can be made to fit it.
//
// Key filters: KeyDown(keyCode, shift) comes first for every key (the runtime's key codes: 38 Up,
// 40 Down, 65.. letters; shift bits 1 Shift, 2 Ctrl, 4 Alt), then KeyPress(keyAscii) for a key
// that produces a character (printable characters, 8 Backspace, 13 Enter, Ctrl+letter 1..26).
// A handler that sets the code to 0 discards the key: a key without a character is discarded by
// KeyDown alone, a key with a character by KeyPress alone (as the runtime does).
//
// DblClick fires for a double-click of any mouse button on the control.
//
// Each kind has its file (TextBox.h, ComboBox.h, ...); Controls.h includes the intrinsic ones.

#include "DesignFont.h"

#include <QList>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <optional>

namespace platform {

class Form;

enum class ControlKind {
    TextBox,
    ComboBox,
    Label,
    ListBox,
    CheckBox,
    CommandButton,
    Image,
    PictureBox,
    StatusBar,
    ListView,
    TabControl,
    MonthView,
    DTPicker,
    Frame,
    Toolbar,
};

// The runtime's Alignment values.
enum class Alignment { Left = 0, Right = 1, Center = 2 };
Qt::Alignment horizontalAlignment(Alignment alignment);

class Control : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Tag MEMBER Tag)
    Q_PROPERTY(QString DataMember MEMBER DataMember)
public:
    ~Control() override;

    ControlKind kind() const { return mKind; }
    QString Name() const { return objectName(); }
    Form *form() const { return mForm; }

    QString Tag;
    QString DataMember;

    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void setLeft(double twips);
    void setTop(double twips);
    void setWidth(double twips);
    void setHeight(double twips);
    void Move(double left, double top, double width, double height);
    // Left, Top, Width and Height together, in twips.
    QRectF twipsRect() const;
    // Puts the control at a rectangle in twips, through the form's present layout scale.
    void place(const QRectF &twips);

    // The control's own design font; without one it follows its window's.
    std::optional<DesignFont> designFont() const { return mDesignFont; }
    void setDesignFont(const DesignFont &font);
    // The design font the control is drawn in: its own, or its window's.
    DesignFont effectiveDesignFont() const;
    // Gives the control its own design font mapped by `ratio` (desktop points per design point);
    // nothing for a control that follows its window's.
    void applyDesignFont(double ratio);

    // The text the control draws in a box of fixed size; nothing for kinds whose texts have room
    // of their own (list boxes, pictures) and for boxes that scroll.
    virtual std::optional<TextRoom> textRoom() const { return std::nullopt; }
    // Every box of fixed size the control draws a text in: its textRoom, or, for a kind with
    // several (a list's headers and columns, a calendar's cells, tabs, status panels), each.
    virtual QList<TextRoom> textRooms() const
    {
        if (std::optional<TextRoom> room = textRoom())
            return {*room};
        return {};
    }
    // The window's layout scale changed from `before`: a kind that sizes parts of itself in
    // twips (a list's columns) sizes them again.
    virtual void layoutScaleChanged(double before) { Q_UNUSED(before); }

    bool Visible() const { return !isHidden(); }
    bool Enabled() const { return isEnabled(); }
    void SetFocus();

    QWidget *inner() const { return mInner; }
    QSize sizeHint() const override;

signals:
    void GotFocus();
    void LostFocus();
    void KeyDown(int &keyCode, int shift);
    void KeyPress(int &keyAscii);
    void DblClick();

protected:
    Control(ControlKind kind, QWidget *parent, const QString &name);
    // The widget that does the work: it fills the control and receives its focus and keys.
    void setInner(QWidget *inner);
    // Whether a typed character may go in (MaxLength); asked after KeyPress let it through.
    virtual bool acceptTyped(int keyAscii);
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class Form;
    // Where the client area starts in the parent, in pixels: below the menu bar for a control
    // placed on the window itself.
    int originY() const;
    QRect pixelsOf(const QRectF &twips) const;

    ControlKind mKind;
    Form *mForm = nullptr;
    QWidget *mInner = nullptr;
    QRectF mTwips; // as last placed; read back while the pixels are still where it put them
    std::optional<DesignFont> mDesignFont;
};

} // namespace platform
