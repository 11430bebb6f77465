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

QString StatusBar::panelTexts() const
{
    QStringList texts;
    for (const Panel &panel : mPanels)
        if (!panel.Text().isEmpty())
            texts << panel.Text();
    return texts.join(QLatin1Char(' '));
}

} // namespace platform
