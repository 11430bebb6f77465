#pragma once

#include "Control.h"

#include <QPointer>

class QLabel;

namespace platform {

class Label : public Control
{
    Q_OBJECT
public:
    Label(QWidget *parent, const QString &name, const QString &caption = QString());

    QString Caption() const;
    void setCaption(const QString &caption);
    Alignment alignment() const { return mAlignment; }
    void setAlignment(Alignment alignment);
    // The runtime's property. A label whose box holds one line of its design font is not
    // wrapped on the screen whatever it says (DesignFont.h).
    bool WordWrap() const { return mWordWrap; }
    void setWordWrap(bool wrap);
    // Whether the caption is wrapped on the screen.
    bool wrapsText() const;

    std::optional<TextRoom> textRoom() const override;

    // The field the label names for screen readers (labelFor): the name follows the caption.
    Control *namedField() const { return mNamedField; }
    void setNamedField(Control *field) { mNamedField = field; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void syncWrap();

    QLabel *mLabel;
    QPointer<Control> mNamedField;
    Alignment mAlignment = Alignment::Left;
    bool mWordWrap = true;
};

} // namespace platform
