#pragma once

// A small toolkit class that hands a web address or a mail recipient to the shell. The caller
// sets the owner window's handle, an address or a recipient, and then an action word: assigning
// "url" (any case) opens the address, "email" a new mail to the recipient; any other word does
// nothing more. Nothing in the program uses it; the pages it opens go through OpenWebsite and
// the about window.
//
// Each property takes a plain value or a reference to an object. A reference is read when the
// value is used: a text box or combo box gives its Text, a label its Caption, a check box its
// Value; any other object raises 438, and a reference to an object that is gone raises 91.
// Assigning a reference to prpAction only stores it. The property procedures trap nothing.
// GoOnline and SendEmail report their errors through the error dialog ("cHttp.GoOnline",
// "SendEmail").

#include "platform/vb/Variant.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <variant>

class cInternet
{
public:
    // A property's value: a copy of a plain value, or the reference that was assigned.
    using Value = std::variant<vb::Variant, QPointer<QObject>>;

    // The owner window's handle (its hWnd number); Empty gives no owner.
    Value prpHwnd() const { return mvarHwnd; }
    void setPrpHwnd(const vb::Variant &value) { mvarHwnd = value; }
    void setPrpHwnd(QObject *object) { mvarHwnd = QPointer<QObject>(object); }

    Value prpAction() const { return mvarAction; }
    void setPrpAction(const vb::Variant &value);
    void setPrpAction(QObject *object) { mvarAction = QPointer<QObject>(object); }

    Value prpURL() const { return mvarURL; }
    void setPrpURL(const vb::Variant &value) { mvarURL = value; }
    void setPrpURL(QObject *object) { mvarURL = QPointer<QObject>(object); }

    Value prpMailTo() const { return mvarMailTo; }
    void setPrpMailTo(const vb::Variant &value) { mvarMailTo = value; }
    void setPrpMailTo(QObject *object) { mvarMailTo = QPointer<QObject>(object); }

    void GoOnline();
    void SendEmail();

private:
    void openThroughShell(const QString &procedure, const std::function<QString()> &target);

    Value mvarMailTo;
    Value mvarURL;
    Value mvarAction;
    Value mvarHwnd;
};
