#include "StatusBar.h"

#include "Accessibility.h"

#include "platform/vb/RuntimeError.h"

#include <QHBoxLayout>
#include <QLabel>

namespace platform {

namespace {

constexpr int kIndexOutOfBounds = 35600;

} // namespace

QString Panel::Text() const
{
    return mLabel->text();
}

void Panel::setText(const QString &text)
{
    const QString before = mBar->panelTexts();
    mLabel->setText(text);
    notifyTextChanged(mBar, before, mBar->panelTexts());
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
        mPanels.push_back(Panel(this, label));
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

QString StatusBar::panelTexts() const
{
    QStringList texts;
    for (const Panel &panel : mPanels)
        if (!panel.Text().isEmpty())
            texts << panel.Text();
    return texts.join(QLatin1Char(' '));
}

} // namespace platform
