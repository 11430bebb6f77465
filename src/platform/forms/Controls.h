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
// Change fires when a text box's text changes, whether typed or set in code; setting the same
// text again fires nothing. DblClick fires for a double-click of any mouse button on the control.

#include "DesignFont.h"

#include "platform/vb/Variant.h"

#include <QIcon>
#include <QList>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

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

class TextBox : public Control
{
    Q_OBJECT
public:
    enum class Lines { Single, Multi };
    TextBox(QWidget *parent, const QString &name, Lines lines = Lines::Single);
    ~TextBox() override;

    bool isMultiLine() const { return mEdit == nullptr; }

    // A multi-line box's text uses CR LF line breaks, and its SelStart/SelLength count them as
    // two characters, as the runtime does.
    QString Text() const;
    void setText(const QString &text);
    int SelStart() const;
    void setSelStart(int start);
    int SelLength() const;
    void setSelLength(int length);
    QString SelText() const;
    void setSelText(const QString &text);

    bool Locked() const;
    void setLocked(bool locked);
    std::int32_t BackColor() const { return mBackColor; }
    void setBackColor(std::int32_t vbColor);
    // 0: no limit. Limits what the user types or pastes; text set in code is kept whole.
    int MaxLength() const { return mMaxLength; }
    void setMaxLength(int maxLength);
    Alignment alignment() const { return mAlignment; }
    void setAlignment(Alignment alignment);
    bool FontBold() const;
    void setFontBold(bool bold);

    // A single-line box, or a multi-line one that holds one line of its design font.
    std::optional<TextRoom> textRoom() const override;

signals:
    void Change();

protected:
    bool acceptTyped(int keyAscii) override;

private:
    friend class MultiLineEdit;
    void innerTextChanged();
    int roomLeft() const;

    QLineEdit *mEdit = nullptr;
    QPlainTextEdit *mMulti = nullptr;
    QString mLastText;
    std::int32_t mBackColor;
    int mMaxLength = 0;
    Alignment mAlignment = Alignment::Left;
};

class ComboBox : public Control
{
    Q_OBJECT
public:
    enum class Style { DropDownCombo = 0, DropDownList = 2 };
    ComboBox(QWidget *parent, const QString &name, Style style = Style::DropDownCombo);

    Style style() const { return mStyle; }
    // Setting Text fires no Click. In a drop-down list it selects the item with that text
    // (none when there is none); in a drop-down combo it sets the edit text, and selects an
    // item whose text is the same.
    QString Text() const;
    void setText(const QString &text);
    void Clear();
    void AddItem(const QString &text);
    void AddItem(const QString &text, std::int32_t itemData);
    int NewIndex() const { return mNewIndex; }
    std::int32_t ItemData(int index) const; // raises 381 for a bad index
    void setItemData(int index, std::int32_t data);
    int ListIndex() const;
    // Fires Click, as the runtime does; -1 selects nothing.
    void setListIndex(int index);
    int ListCount() const;
    QString List(int index) const;

    // Its text and every item: any of them may come to stand in the box.
    std::optional<TextRoom> textRoom() const override;

signals:
    // The user picked an item, or ListIndex was set in code.
    void Click();

private:
    QComboBox *mCombo;
    Style mStyle;
    int mNewIndex = -1;
};

class Label : public Control
{
    Q_OBJECT
public:
    Label(QWidget *parent, const QString &name, const QString &caption = QString());

    QString Caption() const;
    void setCaption(const QString &caption);
    Alignment alignment() const { return mAlignment; }
    void setAlignment(Alignment alignment);
    // The runtime's property. A label whose box holds one line of its design font is not
    // wrapped on the screen whatever it says (DesignFont.h).
    bool WordWrap() const { return mWordWrap; }
    void setWordWrap(bool wrap);
    // Whether the caption is wrapped on the screen.
    bool wrapsText() const;

    std::optional<TextRoom> textRoom() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void syncWrap();

    QLabel *mLabel;
    Alignment mAlignment = Alignment::Left;
    bool mWordWrap = true;
};

class ListBox : public Control
{
    Q_OBJECT
public:
    ListBox(QWidget *parent, const QString &name);

    void Clear();
    void AddItem(const QString &text);
    int ListCount() const;
    QString List(int index) const;
    std::int32_t BackColor() const { return mBackColor; }
    void setBackColor(std::int32_t vbColor);

private:
    QListWidget *mList;
    std::int32_t mBackColor;
};

class CheckBox : public Control
{
    Q_OBJECT
public:
    CheckBox(QWidget *parent, const QString &name, const QString &caption = QString());

    QString Caption() const;
    void setCaption(const QString &caption);
    // 0 unchecked, 1 checked. Setting a different value fires Click, as a user click does.
    int Value() const;
    void setValue(int value);

    std::optional<TextRoom> textRoom() const override;

signals:
    void Click();

private:
    QCheckBox *mCheck;
};

class CommandButton : public Control
{
    Q_OBJECT
public:
    CommandButton(QWidget *parent, const QString &name, const QString &caption = QString());

    // "&" marks the accelerator letter.
    QString Caption() const;
    void setCaption(const QString &caption);
    // The window's Enter and Esc buttons (see Form.h for how they are reached).
    bool Default() const;
    void setDefault(bool isDefault);
    bool Cancel() const;
    void setCancel(bool isCancel);
    // Clicks the button as the user would (nothing when it is disabled).
    void click();

    // The caption as drawn, without its accelerator mark.
    std::optional<TextRoom> textRoom() const override;

signals:
    void Click();

private:
    QPushButton *mButton;
};

// Image and picture box: show a picture; an Image has no focus and no border.
class Image : public Control
{
    Q_OBJECT
public:
    Image(QWidget *parent, const QString &name, ControlKind kind = ControlKind::Image);

    QIcon Picture() const { return mPicture; }
    void setPicture(const QIcon &picture);

protected:
    // The picture is drawn again for the new size (a layout scale enlarges the box).
    void resizeEvent(QResizeEvent *event) override;

private:
    void showPicture();

    QLabel *mView;
    QIcon mPicture;
};

class PictureBox : public Image
{
    Q_OBJECT
public:
    PictureBox(QWidget *parent, const QString &name);
};

class StatusBar;

class Panel
{
public:
    QString Text() const;
    void setText(const QString &text);

private:
    friend class StatusBar;
    explicit Panel(QLabel *label) : mLabel(label) {}
    QLabel *mLabel;
};

// A status bar along the bottom of its window, with panels numbered from 1.
class StatusBar : public Control
{
    Q_OBJECT
public:
    StatusBar(QWidget *parent, const QString &name, int panelCount = 1);

    int PanelCount() const { return static_cast<int>(mPanels.size()); }
    // Raises vb::RuntimeError 35600 "Index out of bounds" for a number it does not have.
    Panel &Panels(int index);

    // The first panel's text, in the room the panels after it leave.
    QList<TextRoom> textRooms() const override;
    // As high as a line of text in a panel, whether the panels hold one or not.
    QSize sizeHint() const override;

private:
    std::vector<Panel> mPanels;
};

// The off-window focus sink: a check box that is visible and enabled but lies outside the
// window (-5000, -5000 twips unless given otherwise), so that focus passed to it shows nowhere.
CheckBox *makeFocusSink(QWidget *parent, const QString &name = QStringLiteral("chkDummy"),
                        const QString &caption = QString(), double left = -5000,
                        double top = -5000);

} // namespace platform
