#pragma once

#include "Control.h"

#include <cstdint>

class QComboBox;

namespace platform {

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

} // namespace platform
