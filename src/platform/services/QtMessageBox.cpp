#include "QtServices.h"

#include "ArrowWhileAsking.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

namespace platform {

namespace {

// A box that can be made to refuse Esc and its close request. QMessageBox on its own would
// pick an escape button on every box (Abort, No) and answer with it.
class Box : public QMessageBox
{
public:
    bool dismissable = true;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (!dismissable && event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }

    void closeEvent(QCloseEvent *event) override
    {
        if (!dismissable) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }
};

struct ButtonSet
{
    std::vector<QMessageBox::StandardButton> buttons; // in the Windows order
    QMessageBox::StandardButton escape;               // NoButton: cannot be dismissed
};

ButtonSet buttonSet(int buttons)
{
    using B = QMessageBox;
    switch (buttons) {
    case mb::vbOKCancel:
        return {{B::Ok, B::Cancel}, B::Cancel};
    case mb::vbAbortRetryIgnore:
        return {{B::Abort, B::Retry, B::Ignore}, B::NoButton};
    case mb::vbYesNoCancel:
        return {{B::Yes, B::No, B::Cancel}, B::Cancel};
    case mb::vbYesNo:
        return {{B::Yes, B::No}, B::NoButton};
    case mb::vbRetryCancel:
        return {{B::Retry, B::Cancel}, B::Cancel};
    default:
        return {{B::Ok}, B::Ok};
    }
}

QMessageBox::Icon icon(int iconBits)
{
    switch (iconBits) {
    case mb::vbCritical:
        return QMessageBox::Critical;
    case mb::vbQuestion:
        return QMessageBox::Question;
    case mb::vbExclamation:
        return QMessageBox::Warning;
    case mb::vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int answer(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok:
        return mb::OK;
    case QMessageBox::Cancel:
        return mb::Cancel;
    case QMessageBox::Abort:
        return mb::Abort;
    case QMessageBox::Retry:
        return mb::Retry;
    case QMessageBox::Ignore:
        return mb::Ignore;
    case QMessageBox::Yes:
        return mb::Yes;
    case QMessageBox::No:
        return mb::No;
    default:
        return 0;
    }
}

} // namespace

int QtMessageBox::show(const QString &prompt, int style, const QString &title)
{
    const ButtonSet set = buttonSet(style & 0x0F);

    Box box;
    box.setWindowTitle(title);
    box.setIcon(icon(style & 0x70));
    box.setTextFormat(Qt::PlainText);
    QString text = prompt;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(text);
    for (auto b : set.buttons)
        box.addButton(b);

    // The default button is the first one, or the second / third with 256 / 512.
    const std::size_t defaultIndex = (style >> 8) & 0x03;
    box.setDefaultButton(set.buttons[defaultIndex < set.buttons.size() ? defaultIndex : 0]);

    // Before the flags: setting the modality gives the window its default flags again.
    box.setWindowModality(Qt::ApplicationModal);
    if (set.escape == QMessageBox::NoButton) {
        box.dismissable = false;
        box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    } else {
        box.setEscapeButton(set.escape);
    }
    const ArrowWhileAsking arrow;
    box.exec();

    if (QAbstractButton *clicked = box.clickedButton())
        if (int a = answer(box.standardButton(clicked)))
            return a;
    // Only when the box went away without a button (the application quitting under it): the
    // answer that leaves the caller's loop.
    if (set.escape != QMessageBox::NoButton)
        return answer(set.escape);
    return (style & 0x0F) == mb::vbAbortRetryIgnore ? mb::Abort : mb::No;
}

} // namespace platform
