#include "ComboBox.h"

#include "ControlSupport.h"

#include "platform/vb/RuntimeError.h"

#include <QComboBox>

namespace platform {

using namespace detail;

ComboBox::ComboBox(QWidget *parent, const QString &name, Style style)
    : Control(ControlKind::ComboBox, parent, name), mCombo(new QComboBox(this)), mStyle(style)
{
    mCombo->setEditable(style == Style::DropDownCombo);
    mCombo->setInsertPolicy(QComboBox::NoInsert);
    connect(mCombo, &QComboBox::activated, this, [this] { emit Click(); });
    setInner(mCombo);
}

QString ComboBox::Text() const
{
    return mCombo->currentText();
}

void ComboBox::setText(const QString &text)
{
    if (mStyle == Style::DropDownList) {
        mCombo->setCurrentIndex(mCombo->findText(text, Qt::MatchFixedString));
        return;
    }
    const int index = mCombo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) {
        mCombo->setCurrentIndex(index);
    } else {
        mCombo->setCurrentIndex(-1);
        mCombo->setEditText(text);
    }
}

void ComboBox::Clear()
{
    mCombo->clear();
    if (mCombo->isEditable())
        mCombo->clearEditText();
    mNewIndex = -1;
}

void ComboBox::AddItem(const QString &text)
{
    // QComboBox selects the first item added to an empty list; the runtime selects nothing.
    const int before = mCombo->currentIndex();
    const QString beforeText = mCombo->currentText();
    mCombo->addItem(text);
    mNewIndex = mCombo->count() - 1;
    if (before == -1 && mCombo->currentIndex() != -1) {
        mCombo->setCurrentIndex(-1);
        if (mCombo->isEditable())
            mCombo->setEditText(beforeText);
    }
}

void ComboBox::AddItem(const QString &text, std::int32_t itemData)
{
    AddItem(text);
    setItemData(mNewIndex, itemData);
}

std::int32_t ComboBox::ItemData(int index) const
{
    if (index < 0 || index >= mCombo->count())
        vb::raise(kInvalidPropertyArrayIndex, QStringLiteral("Invalid property array index"));
    return mCombo->itemData(index).toInt();
}

void ComboBox::setItemData(int index, std::int32_t data)
{
    if (index < 0 || index >= mCombo->count())
        vb::raise(kInvalidPropertyArrayIndex, QStringLiteral("Invalid property array index"));
    mCombo->setItemData(index, data);
}

int ComboBox::ListIndex() const
{
    return mCombo->currentIndex();
}

void ComboBox::setListIndex(int index)
{
    if (index < -1 || index >= mCombo->count())
        vb::raise(vb::err::InvalidPropertyValue);
    mCombo->setCurrentIndex(index);
    emit Click();
}

int ComboBox::ListCount() const
{
    return mCombo->count();
}

QString ComboBox::List(int index) const
{
    if (index < 0 || index >= mCombo->count())
        vb::raise(kInvalidPropertyArrayIndex, QStringLiteral("Invalid property array index"));
    return mCombo->itemText(index);
}

std::optional<TextRoom> ComboBox::textRoom() const
{
    QStyleOptionComboBox option;
    option.initFrom(mCombo);
    option.rect = QRect(QPoint(), size());
    option.editable = mCombo->isEditable();
    option.frame = mCombo->hasFrame();
    const QRect field = mCombo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                        QStyle::SC_ComboBoxEditField, mCombo);
    QStringList texts{Text()};
    for (int i = 0; i < mCombo->count(); ++i)
        texts.append(mCombo->itemText(i));
    const QSize room(field.width() - 2 * kLineEditTextMargin, field.height());
    return TextRoom{texts, room, mCombo->font(), false};
}

} // namespace platform
