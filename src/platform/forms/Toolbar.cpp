#include "Toolbar.h"

#include "Form.h"
#include "ImageList.h"

#include "platform/vb/RuntimeError.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>

namespace platform {

namespace {
constexpr int kIndexOutOfBounds = 35600;
constexpr int kElementNotFound = 35601;
constexpr int kKeyNotUnique = 35602;
constexpr int kImageListNotInitialized = 35613;
constexpr int kPictureSize = 16;
} // namespace

// ---- Button ---------------------------------------------------------------------------------

ToolbarButton::ToolbarButton(Toolbar *toolbar, const QString &key, Style style)
    : QObject(toolbar), mToolbar(toolbar), mKey(key), mStyle(style)
{
    setObjectName(key);
    if (style == Style::Separator) {
        mSlot = toolbar->mBar->addSeparator();
        return;
    }
    mButton = new QToolButton(toolbar->mBar);
    mButton->setObjectName(key);
    mButton->setAutoRaise(true);
    mButton->setFocusPolicy(Qt::NoFocus);
    mButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    mButton->setIconSize(QSize(kPictureSize, kPictureSize));
    connect(mButton, &QToolButton::clicked, this, &ToolbarButton::click);
    mSlot = toolbar->mBar->addWidget(mButton);
}

int ToolbarButton::Index() const
{
    return static_cast<int>(mToolbar->mButtons.indexOf(const_cast<ToolbarButton *>(this))) + 1;
}

void ToolbarButton::setToolTipText(const QString &text)
{
    mToolTip = text;
    if (!mButton)
        return;
    mButton->setToolTip(text);
    mButton->setAccessibleName(text.trimmed());
}

void ToolbarButton::setImage(int index)
{
    ImageList *images = mToolbar->imageList();
    if (!images)
        vb::raise(kImageListNotInitialized,
                  QStringLiteral("ImageList must be initialized before it can be used"));
    if (index != 0)
        images->ListImages(index); // raises for a bad number
    mImage = index;
    showImage();
}

void ToolbarButton::setImage(const QString &key)
{
    ImageList *images = mToolbar->imageList();
    if (!images)
        vb::raise(kImageListNotInitialized,
                  QStringLiteral("ImageList must be initialized before it can be used"));
    images->ListImages(key); // raises for an unknown key
    mImage = images->IndexOf(key);
    showImage();
}

void ToolbarButton::showImage()
{
    if (!mButton)
        return;
    ImageList *images = mToolbar->imageList();
    const bool has = images && mImage >= 1 && mImage <= images->Count();
    mButton->setIcon(has ? images->ListImages(mImage) : QIcon());
}

void ToolbarButton::setEnabled(bool enabled)
{
    mEnabled = enabled;
    if (mButton)
        mButton->setEnabled(enabled);
}

void ToolbarButton::setVisible(bool visible)
{
    mVisible = visible;
    mSlot->setVisible(visible);
}

void ToolbarButton::click()
{
    if (!mButton || !mEnabled || !mVisible)
        return;
    emit mToolbar->ButtonClick(this);
}

// ---- Toolbar --------------------------------------------------------------------------------

Toolbar::Toolbar(QWidget *parent, const QString &name)
    : Control(ControlKind::Toolbar, parent, name), mBar(new QToolBar(this))
{
    mBar->setObjectName(name);
    // Its name in the program means nothing to a person.
    mBar->setAccessibleName(QStringLiteral("Toolbar"));
    mBar->setMovable(false);
    mBar->setFloatable(false);
    mBar->setIconSize(QSize(kPictureSize, kPictureSize));
    mBar->setFocusPolicy(Qt::NoFocus);
    setInner(mBar);
    setFocusPolicy(Qt::NoFocus);
}

void Toolbar::setImageList(ImageList *images)
{
    mImages = images;
    for (ToolbarButton *button : std::as_const(mButtons))
        button->showImage();
}

ToolbarButton *Toolbar::Add(const QString &key, ToolbarButton::Style style)
{
    if (!key.isEmpty() && std::any_of(mButtons.cbegin(), mButtons.cend(),
                                      [&key](ToolbarButton *b) { return b->Key() == key; }))
        vb::raise(kKeyNotUnique, QStringLiteral("Key is not unique in collection"));
    auto *button = new ToolbarButton(this, key, style);
    mButtons.append(button);
    if (form())
        form()->layoutBars(); // the first button sets the bar's height
    return button;
}

ToolbarButton &Toolbar::Buttons(int index)
{
    if (index < 1 || index > ButtonCount())
        vb::raise(kIndexOutOfBounds, QStringLiteral("Index out of bounds"));
    return *mButtons.at(index - 1);
}

ToolbarButton &Toolbar::Buttons(const QString &key)
{
    for (ToolbarButton *button : std::as_const(mButtons))
        if (!key.isEmpty() && button->Key() == key)
            return *button;
    vb::raise(kElementNotFound, QStringLiteral("Element not found"));
}

} // namespace platform
