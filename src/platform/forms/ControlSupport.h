#pragma once

// What several control kinds share inside the window layer; not for the program's windows.

#include "VbColor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPalette>
#include <QSize>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

#include <cstdint>

namespace platform::detail {

constexpr int kInvalidPropertyArrayIndex = 381;

// What QLineEdit keeps free on either side of its text, in pixels.
constexpr int kLineEditTextMargin = 2;

inline void applyBase(QWidget *widget, std::int32_t vbColor)
{
    QPalette pal = widget->palette();
    const QPalette standard = QApplication::palette(widget);
    pal.setColor(QPalette::Base, colorFromVb(vbColor, standard));
    widget->setPalette(pal);
}

// The rectangle a button-like widget draws its caption in, at the size `size`.
inline QSize buttonTextRoom(const QAbstractButton *button, const QSize &size,
                            QStyle::SubElement element)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = QRect(QPoint(), size);
    option.text = button->text();
    return button->style()->subElementRect(element, &option, button).size();
}

} // namespace platform::detail
