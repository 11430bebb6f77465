#pragma once

// The pop-up notice of one coming event. DisplayEvent sets the six public members and shows the
// window modeless; its load fills the fields, centres it, shifts it 250 twips right and down
// per open notice (itself included) and keeps it above every other window. Display only: the
// user reads it and closes it (OK, Esc, the close box); closing asks and writes nothing.
// Open notices are found among platform::Forms() by the name "frmeventnotice" (any case) and
// told apart by mlngVemoId.

#include "platform/forms/ControlRef.h"
#include "platform/forms/Form.h"
#include "platform/vb/Variant.h"

#include <QIcon>
#include <QString>

#include <array>
#include <cstdint>

namespace platform {
class CheckBox;
class ComboBox;
class CommandButton;
class Image;
class Label;
class TextBox;
} // namespace platform

class frmEventNotice : public platform::Form
{
    Q_OBJECT
public:
    explicit frmEventNotice(QWidget *parent = nullptr);

    QString mstrName;
    QString mstrEventName;
    vb::Variant mdtEventDate;
    QString mstrNotes;
    std::int32_t mlngVemoId = 0;
    std::int32_t mlngDaysTil = 0;

    // No effect; returns Empty.
    vb::Variant ResetTime();

    // The background of the display fields: light yellow (red 255, green 255, blue 192).
    static constexpr std::int32_t kFieldColor = 0x00C0FFFF;
    static constexpr double kCascadeStep = 250; // twips per open notice
    static constexpr double kClientWidth = 3735;
    static constexpr double kClientHeight = 2565;

    // lbl1 is a control array, indexed as the design numbers it: 0 "Event Date:", 1 "Event:",
    // 2 "Name:", 3 "Note:", 4 "Show again:", 5 "Days til:".
    std::array<platform::ControlRef<platform::Label>, 6> lbl1{};
    platform::ControlRef<platform::TextBox> txtName;
    platform::ControlRef<platform::TextBox> txtEventType;
    platform::ControlRef<platform::TextBox> txtDate;
    platform::ControlRef<platform::TextBox> txtDaysTil;
    platform::ControlRef<platform::TextBox> txtNote;
    platform::ControlRef<platform::Label> lblId;
    platform::ControlRef<platform::CommandButton> cmdOK;
    platform::ControlRef<platform::CommandButton> cmdCancel;
    platform::ControlRef<platform::ComboBox> cbo1;
    platform::ControlRef<platform::CheckBox> chkDummy;
    // 0 birthday, 1 anniversary, 2 holiday, 3 event, 4 reminder.
    std::array<platform::ControlRef<platform::Image>, 5> img1{};

    // The window's own icon, kept for event types outside the five.
    static QIcon ownIcon();
    // The picture of img1(index).
    static QIcon eventTypeIcon(int index);

protected:
    void Form_Load() override;

private:
    void SetFormProperties();

    bool mblnChanged = false;
};
