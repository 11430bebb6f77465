// The form utilities of module MainCode_QW: centring, status-bar text, clearing input controls
// and the apostrophe replacement before SQL is joined. Each walks the window's controls by
// index, re-reading the count, since the controls' own event handlers run inside the walk.

#include "ErrorProtocol.h"
#include "Globals.h"
#include "MainCode_QW.h"

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/WindowLifetime.h"
#include "platform/services/Services.h"
#include "platform/vb/Conversions.h"

using platform::CheckBox;
using platform::ComboBox;
using platform::Control;
using platform::ControlKind;
using platform::Label;
using platform::ListBox;
using platform::TextBox;

namespace {

constexpr std::int32_t kReadOnlyTextBoxColor = 0xC0C0C0;
constexpr std::int32_t kReadOnlyListBoxColor = 0xC0FFFF;
// Code 146 of the ANSI code page (Windows-1252): the right single quotation mark.
constexpr char16_t kApostropheReplacement = 0x2019;

Control *controlAt(platform::Form *form, int index)
{
    const auto &controls = core::object(form).Controls();
    if (index < 0 || index >= controls.size())
        vb::raise(vb::err::SubscriptOutOfRange);
    // A gone window's controls raise 91 here, as its members do (ControlRef.h).
    return platform::reach(controls.at(index));
}

int controlCount(platform::Form *form)
{
    return static_cast<int>(core::object(form).Controls().size());
}

// Mid(Tag, 3, 1), lower-cased, is "d".
bool isReadOnlyTag(const QString &tag)
{
    return tag.size() >= 3 && tag.at(2).toLower() == QLatin1Char('d');
}

std::int32_t enabledColor()
{
    return vb::CLng(vb::Variant(gstrEnabledColor));
}

} // namespace

void CenterForm(platform::Form *argForm)
{
    core::Procedure p(QStringLiteral("CenterForm"));
    // The halves are single-precision and the difference is assigned as it is: a window larger
    // than the screen gets a negative position.
    p([&] {
        const float screenHalf =
            static_cast<float>(platform::services().screen->widthTwips()) / 2.0f;
        platform::Form &form = core::object(argForm);
        form.setLeft(screenHalf - static_cast<float>(form.Width()) / 2.0f);
    });
    p([&] {
        const float screenHalf =
            static_cast<float>(platform::services().screen->heightTwips()) / 2.0f;
        platform::Form &form = core::object(argForm);
        form.setTop(screenHalf - static_cast<float>(form.Height()) / 2.0f);
    });
}

void SetStatBar(QObject *argStatusBar, const QString &argText, short argPanel)
{
    core::Procedure p(QStringLiteral("MainCode.SetStatBar"));
    p([&] {
        if (!argStatusBar)
            vb::raise(vb::err::ObjectVariableNotSet);
        auto *bar = qobject_cast<platform::StatusBar *>(argStatusBar);
        if (!bar)
            vb::raise(438, QStringLiteral("Object doesn't support this property or method"));
        bar->Panels(argPanel).setText(argText);
    });
}

void ClearDataFields(platform::Form *argForm)
{
    core::Procedure p(QStringLiteral("ClearDataFields"), core::ErrorVariant::Silent);
    int count = 0;
    p([&] { count = controlCount(argForm); });
    for (int i = 0; i < count; ++i) {
        p([&] {
            Control *control = controlAt(argForm, i);
            switch (control->kind()) {
            case ControlKind::TextBox:
                static_cast<TextBox *>(control)->setText(QString());
                break;
            case ControlKind::ComboBox:
                static_cast<ComboBox *>(control)->Clear();
                break;
            case ControlKind::Label: {
                auto *label = static_cast<Label *>(control);
                const QString tag = label->Tag.toUpper();
                if (tag == QLatin1String("ID"))
                    label->setCaption(QStringLiteral("-1"));
                else if (tag == QLatin1String("DATA"))
                    label->setCaption(QString());
                break;
            }
            case ControlKind::CheckBox:
                static_cast<CheckBox *>(control)->setValue(0);
                break;
            default:
                break;
            }
        });
        p([&] { count = controlCount(argForm); });
    }
}

void ClearSpecificDataFields(platform::Form *argForm, const QString &argGroup)
{
    core::Procedure p(QStringLiteral("ClearSpecificDataFields"));
    int count = 0;
    p([&] { count = controlCount(argForm); });
    for (int i = 0; p.ok() && i < count; ++i) {
        Control *control = nullptr;
        bool inGroup = false;
        p([&] {
            control = controlAt(argForm, i);
            inGroup = control->DataMember.toLower() == argGroup.toLower();
        });
        if (!control || !inGroup)
            continue;

        // The five checks are independent of each other; each statement is one step.
        if (control->kind() == ControlKind::TextBox) {
            auto *txt = static_cast<TextBox *>(control);
            p([&] { txt->setText(QString()); });
            bool readOnly = false;
            p([&] { readOnly = isReadOnlyTag(txt->Tag); });
            if (readOnly) {
                p([&] { txt->setBackColor(kReadOnlyTextBoxColor); }); // Locked stays as it is
            } else {
                p([&] { txt->setLocked(false); });
                p([&] { txt->setBackColor(enabledColor()); });
            }
        }
        if (control->kind() == ControlKind::ComboBox) {
            p([&] { static_cast<ComboBox *>(control)->Clear(); });
        }
        if (control->kind() == ControlKind::Label) {
            auto *label = static_cast<Label *>(control);
            p([&] {
                const QString tag = label->Tag.toLower();
                if (tag == QLatin1String("id"))
                    label->setCaption(QStringLiteral("-1"));
                else if (tag == QLatin1String("data"))
                    label->setCaption(QString());
            });
        }
        if (control->kind() == ControlKind::ListBox) {
            auto *list = static_cast<ListBox *>(control);
            p([&] { list->Clear(); });
            bool readOnly = false;
            p([&] { readOnly = isReadOnlyTag(list->Tag); });
            if (readOnly)
                p([&] { list->setBackColor(kReadOnlyListBoxColor); });
            else
                p([&] { list->setBackColor(enabledColor()); });
        }
        if (control->kind() == ControlKind::CheckBox) {
            p([&] { static_cast<CheckBox *>(control)->setValue(0); });
        }
        p([&] { count = controlCount(argForm); });
    }
}

void ApostropheParseOut(platform::Form *argForm)
{
    core::Procedure p(QStringLiteral("modMain.ApostropheParseOut"));
    int count = 0;
    p([&] { count = controlCount(argForm); });
    for (int i = 0; p.ok() && i < count; ++i) {
        p([&] {
            Control *control = controlAt(argForm, i);
            if (control->kind() != ControlKind::TextBox)
                return;
            auto *txt = static_cast<TextBox *>(control);
            QString text = txt->Text();
            text.replace(QLatin1Char('\''), QChar(kApostropheReplacement));
            txt->setText(text);
        });
        p([&] { count = controlCount(argForm); });
    }
}
