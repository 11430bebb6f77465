#include "cInternet.h"

#include "core/ErrorProtocol.h"

#include "platform/forms/Controls.h"
#include "platform/services/Services.h"
#include "platform/services/WindowHandles.h"
#include "platform/vb/Conversions.h"
#include "platform/vb/RuntimeError.h"

#include <QWidget>

namespace {

constexpr int kShowNormal = 1;
constexpr int kObjectDoesNotSupport = 438;

// The value a property stands for at this moment: a reference gives its object's default
// property.
vb::Variant valueOf(const cInternet::Value &value)
{
    if (const auto *plain = std::get_if<vb::Variant>(&value))
        return *plain;
    QObject *object = std::get<QPointer<QObject>>(value).data();
    if (!object)
        vb::raise(vb::err::ObjectVariableNotSet);
    if (auto *text = qobject_cast<platform::TextBox *>(object))
        return text->Text();
    if (auto *combo = qobject_cast<platform::ComboBox *>(object))
        return combo->Text();
    if (auto *label = qobject_cast<platform::Label *>(object))
        return label->Caption();
    if (auto *check = qobject_cast<platform::CheckBox *>(object))
        return static_cast<std::int16_t>(check->Value());
    vb::raise(kObjectDoesNotSupport,
              QStringLiteral("Object doesn't support this property or method"));
}

// Text joined with "&": Null counts as nothing.
QString joinText(const vb::Variant &value)
{
    return value.isNull() ? QString() : vb::CStr(value);
}

} // namespace

void cInternet::setPrpAction(const vb::Variant &value)
{
    mvarAction = value;
    // Null lower-cases to Null, which equals no word.
    if (value.isNull())
        return;
    const QString word = vb::CStr(value).toLower();
    if (word == QLatin1String("email"))
        SendEmail();
    else if (word == QLatin1String("url"))
        GoOnline();
}

void cInternet::GoOnline()
{
    openThroughShell(QStringLiteral("cHttp.GoOnline"),
                     [this] { return vb::CStr(valueOf(mvarURL)); });
}

void cInternet::SendEmail()
{
    openThroughShell(QStringLiteral("SendEmail"),
                     [this] { return QStringLiteral("mailto:") + joinText(valueOf(mvarMailTo)); });
}

void cInternet::openThroughShell(const QString &procedure, const std::function<QString()> &target)
{
    core::Procedure p(procedure);
    QString text;
    p([&] { text = target(); });
    p([&] {
        const std::int32_t handle = vb::CLng(valueOf(mvarHwnd));
        QWidget *owner = platform::windowFromHandle(handle);
        platform::ShellService *shell = platform::services().shell;
        if (!shell)
            vb::raise(vb::err::ObjectVariableNotSet);
        // The shell's answer is not looked at.
        shell->shellExecute(owner, QStringLiteral("open"), text, QString(), QString(), kShowNormal);
    });
}
