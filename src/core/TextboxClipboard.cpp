// The text-box and clipboard helpers of module MainCode_QW. They act on the control with the
// focus in the active window, and exchange plain text with the system clipboard.

#include "ErrorProtocol.h"
#include "MainCode_QW.h"

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/vb/RuntimeError.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

namespace {

constexpr int kObjectDoesNotSupport = 438;

platform::TextBox *activeTextBox()
{
    platform::Control *control = platform::ActiveControl();
    if (control && control->kind() == platform::ControlKind::TextBox)
        return static_cast<platform::TextBox *>(control);
    return nullptr;
}

QClipboard &clipboard()
{
    QClipboard *board = QApplication::clipboard();
    if (!board)
        vb::raise(521, QStringLiteral("Can't open Clipboard"));
    return *board;
}

// Cut and copy share their first three steps; errors go to the caller.
platform::TextBox *copySelection()
{
    platform::TextBox *box = activeTextBox();
    if (!box || box->Text().isEmpty())
        return nullptr;
    clipboard().clear();
    clipboard().setText(box->SelText());
    return box;
}

} // namespace

void SelectAllText()
{
    core::Procedure p(QStringLiteral("SelectAllText"), core::ErrorVariant::Silent);
    platform::Control *control = nullptr;
    p([&] {
        control = platform::ActiveControl();
        if (!control)
            vb::raise(vb::err::ObjectVariableNotSet);
    });
    // No check of the kind: a control without a selection fails both steps, silently.
    auto box = [&]() -> platform::TextBox & {
        if (!control)
            vb::raise(vb::err::ObjectVariableNotSet);
        if (control->kind() != platform::ControlKind::TextBox)
            vb::raise(kObjectDoesNotSupport,
                      QStringLiteral("Object doesn't support this property or method"));
        return *static_cast<platform::TextBox *>(control);
    };
    p([&] { box().setSelStart(0); });
    p([&] { box().setSelLength(static_cast<int>(box().Text().size())); });
}

void CutTextbox()
{
    if (platform::TextBox *box = copySelection())
        box->setSelText(QString());
}

void CopyTextbox()
{
    copySelection();
}

void PasteTextbox()
{
    core::Procedure p(QStringLiteral("PasteTextbox"), core::ErrorVariant::LogAndContinue);
    platform::TextBox *box = activeTextBox();
    if (!box)
        return;
    bool hasText = false;
    p([&] {
        const QMimeData *data = clipboard().mimeData();
        hasText = data && data->hasText();
    });
    if (!hasText)
        return;
    // Counted in full-width integers: the splice holds for texts of any length.
    int n = 0, s = 0, l = 0;
    QString head, tail, pasted;
    p([&] { n = static_cast<int>(box->Text().size()); });
    p([&] { s = box->SelStart(); });
    p([&] { l = box->SelLength(); });
    p([&] { head = box->Text().left(s); });
    p([&] { tail = box->Text().right(std::max(0, n - (s + l))); });
    p([&] { pasted = clipboard().text(); });
    p([&] { box->setText(head + pasted + tail); });
}
