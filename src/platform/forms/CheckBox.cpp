#include "CheckBox.h"

#include "ControlSupport.h"

#include "platform/vb/RuntimeError.h"

#include <QCheckBox>

namespace platform {

using namespace detail;

CheckBox::CheckBox(QWidget *parent, const QString &name, const QString &caption)
    : Control(ControlKind::CheckBox, parent, name), mCheck(new QCheckBox(caption, this))
{
    // One signal for both the user's click and a value set in code, only on a change.
    connect(mCheck, &QCheckBox::toggled, this, [this] { emit Click(); });
    setInner(mCheck);
}

QString CheckBox::Caption() const
{
    return mCheck->text();
}

void CheckBox::setCaption(const QString &caption)
{
    mCheck->setText(caption);
}

int CheckBox::Value() const
{
    return mCheck->isChecked() ? 1 : 0;
}

void CheckBox::setValue(int value)
{
    if (value != 0 && value != 1)
        vb::raise(vb::err::InvalidPropertyValue);
    mCheck->setChecked(value == 1);
}

std::optional<TextRoom> CheckBox::textRoom() const
{
    return TextRoom{{Caption()},
                    buttonTextRoom(mCheck, size(), QStyle::SE_CheckBoxContents),
                    mCheck->font(),
                    false};
}

CheckBox *makeFocusSink(QWidget *parent, const QString &name, const QString &caption, double left,
                        double top)
{
    auto *sink = new CheckBox(parent, name, caption);
    sink->Move(left, top, 900, 240);
    return sink;
}

} // namespace platform
