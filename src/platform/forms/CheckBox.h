#pragma once

#include "Control.h"

class QCheckBox;

namespace platform {

class CheckBox : public Control
{
    Q_OBJECT
public:
    CheckBox(QWidget *parent, const QString &name, const QString &caption = QString());

    QString Caption() const;
    void setCaption(const QString &caption);
    // 0 unchecked, 1 checked. Setting a different value fires Click, as a user click does.
    int Value() const;
    void setValue(int value);

    std::optional<TextRoom> textRoom() const override;

signals:
    void Click();

private:
    QCheckBox *mCheck;
};

// The off-window focus sink: a check box that is visible and enabled but lies outside the
// window (-5000, -5000 twips unless given otherwise), so that focus passed to it shows nowhere.
CheckBox *makeFocusSink(QWidget *parent, const QString &name = QStringLiteral("chkDummy"),
                        const QString &caption = QString(), double left = -5000,
                        double top = -5000);

} // namespace platform
