#pragma once

// Change fires when a text box's text changes, whether typed or set in code; setting the same
// text again fires nothing.

#include "Control.h"

#include <cstdint>

class QLineEdit;

namespace platform {

class MultiLineEdit;

class TextBox : public Control
{
    Q_OBJECT
public:
    enum class Lines { Single, Multi };
    TextBox(QWidget *parent, const QString &name, Lines lines = Lines::Single);
    ~TextBox() override;

    bool isMultiLine() const { return mEdit == nullptr; }

    // A multi-line box's text uses CR LF line breaks, and its SelStart/SelLength count them as
    // two characters, as the runtime does. Every other character is kept as given.
    QString Text() const;
    void setText(const QString &text);
    int SelStart() const;
    void setSelStart(int start);
    int SelLength() const;
    void setSelLength(int length);
    QString SelText() const;
    void setSelText(const QString &text);

    bool Locked() const;
    void setLocked(bool locked);
    std::int32_t BackColor() const { return mBackColor; }
    void setBackColor(std::int32_t vbColor);
    // 0: no limit. Limits what the user types or pastes, in characters as TextLimit.h counts
    // them; text set in code is kept whole.
    int MaxLength() const { return mMaxLength; }
    void setMaxLength(int maxLength);
    Alignment alignment() const { return mAlignment; }
    void setAlignment(Alignment alignment);
    bool FontBold() const;
    void setFontBold(bool bold);

    // A single-line box, or a multi-line one that holds one line of its design font.
    std::optional<TextRoom> textRoom() const override;

signals:
    void Change();

protected:
    bool acceptTyped(int keyAscii) override;

private:
    void innerTextChanged();
    int roomLeft() const;

    QLineEdit *mEdit = nullptr;
    MultiLineEdit *mMulti = nullptr;
    QString mLastText;
    std::int32_t mBackColor;
    int mMaxLength = 0;
    Alignment mAlignment = Alignment::Left;
};

} // namespace platform
