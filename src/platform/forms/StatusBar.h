#pragma once

#include "Control.h"

#include <vector>

class QLabel;

namespace platform {

class StatusBar;

class Panel
{
public:
    QString Text() const;
    void setText(const QString &text);

private:
    friend class StatusBar;
    Panel(StatusBar *bar, QLabel *label) : mBar(bar), mLabel(label) {}
    StatusBar *mBar;
    QLabel *mLabel;
};

// A status bar along the bottom of its window, with panels numbered from 1. The accessibility
// interface reads it as a status bar (Accessibility.h).
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

    // Every panel's text, as a screen reader reads the bar.
    QString panelTexts() const;

private:
    std::vector<Panel> mPanels;
};

} // namespace platform
