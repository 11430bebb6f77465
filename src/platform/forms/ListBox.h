#pragma once

#include "Control.h"

#include <cstdint>

class QListWidget;

namespace platform {

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

} // namespace platform
