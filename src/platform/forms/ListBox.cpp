#include "ListBox.h"

#include "ControlSupport.h"

#include "platform/vb/RuntimeError.h"

#include <QListWidget>

namespace platform {

using namespace detail;

ListBox::ListBox(QWidget *parent, const QString &name)
    : Control(ControlKind::ListBox, parent, name), mList(new QListWidget(this)),
      mBackColor(vbcolor::WindowBackground)
{
    setInner(mList);
}

void ListBox::Clear()
{
    mList->clear();
}

void ListBox::AddItem(const QString &text)
{
    mList->addItem(text);
}

int ListBox::ListCount() const
{
    return mList->count();
}

QString ListBox::List(int index) const
{
    if (index < 0 || index >= mList->count())
        vb::raise(kInvalidPropertyArrayIndex, QStringLiteral("Invalid property array index"));
    return mList->item(index)->text();
}

void ListBox::setBackColor(std::int32_t vbColor)
{
    mBackColor = vbColor;
    applyBase(mList, vbColor);
}

} // namespace platform
