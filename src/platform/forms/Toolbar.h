#pragma once

// The toolbar control: a row of buttons along the top of its window's client area (Form lays it
// out), each with a key, a tool tip and a picture from the toolbar's image list. Buttons are
// numbered from 1 in the order they were added; a separator is a button of its own.
//
// Contracts:
//  - A click on an enabled button raises ButtonClick with that button; so does click().
//  - The tool tip is shown exactly as set (trailing blanks kept); the button's accessible name is
//    the tool tip without its outer blanks, since the buttons show pictures only.
//  - The buttons never take the keyboard focus: the control with the focus keeps it while a
//    button is clicked. The commands behind them are reached by the keyboard through the menus.
//  - Image: a number or a key of the image list. Setting it raises 35613 when the toolbar has no
//    image list, 35600 for a bad number and 35601 for an unknown key (from the image list).
//  - Buttons(index) raises 35600 "Index out of bounds", Buttons(key) 35601 "Element not found";
//    Add raises 35602 "Key is not unique in collection" for a key another button has.

#include "Control.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QAction;
class QToolBar;
class QToolButton;

namespace platform {

class ImageList;
class Toolbar;

class ToolbarButton : public QObject
{
    Q_OBJECT
public:
    enum class Style { Default = 0, Separator = 3 };

    int Index() const;
    QString Key() const { return mKey; }
    Style style() const { return mStyle; }
    QString ToolTipText() const { return mToolTip; }
    void setToolTipText(const QString &text);
    // The picture's number in the image list, 0 for none.
    int Image() const { return mImage; }
    void setImage(int index);
    void setImage(const QString &key);
    bool Enabled() const { return mEnabled; }
    void setEnabled(bool enabled);
    bool Visible() const { return mVisible; }
    void setVisible(bool visible);

    // Clicks the button as the user would: nothing when it is disabled, hidden or a separator.
    void click();

    Toolbar *toolbar() const { return mToolbar; }
    // The Qt button (nullptr for a separator).
    QToolButton *button() const { return mButton; }

private:
    friend class Toolbar;
    ToolbarButton(Toolbar *toolbar, const QString &key, Style style);
    void showImage();

    Toolbar *mToolbar;
    QString mKey;
    Style mStyle;
    QString mToolTip;
    int mImage = 0;
    bool mEnabled = true;
    bool mVisible = true;
    QToolButton *mButton = nullptr;
    QAction *mSlot = nullptr; // the button's place in the bar
};

class Toolbar : public Control
{
    Q_OBJECT
public:
    Toolbar(QWidget *parent, const QString &name);

    ImageList *imageList() const { return mImages; }
    // Shows the buttons' pictures from this list (by their numbers).
    void setImageList(ImageList *images);

    // Buttons.Add: a new button at the end.
    ToolbarButton *Add(const QString &key = QString(),
                       ToolbarButton::Style style = ToolbarButton::Style::Default);
    int ButtonCount() const { return static_cast<int>(mButtons.size()); }
    ToolbarButton &Buttons(int index);
    ToolbarButton &Buttons(const QString &key);

signals:
    void ButtonClick(platform::ToolbarButton *button);

private:
    friend class ToolbarButton;
    QToolBar *mBar;
    QPointer<ImageList> mImages;
    QList<ToolbarButton *> mButtons;
};

} // namespace platform
