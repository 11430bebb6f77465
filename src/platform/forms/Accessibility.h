#pragma once

// What the desktop's accessibility interface (a screen reader) is told about the program's
// windows, beyond what the toolkit tells by itself:
//  - every window (Form, and the help viewer) is a frame, or a dialog while it is modal, and is
//    named by its caption also while it is minimised;
//  - a status bar is a status bar whose name and text are its panels' texts; a change of a
//    panel is reported as a change of both;
//  - a control that lies wholly outside its container's visible area (a focus sink, a cancel
//    button placed below the window for its Esc key) is not presented: it is not showing and its
//    container does not list it. It keeps its work in the program.
// installAccessibility() sets this up; the first Form or Control made calls it.

class QObject;
class QString;

namespace platform {

class Control;
class Label;

void installAccessibility();

// `label` names `field`: screen readers read the label's caption as the field's name, and the
// label's access key (after "&") puts the focus into the field.
void labelFor(Label *label, Control *field);

// Whether `control` lies wholly outside the visible area of the widget it is placed in.
bool liesOutsideItsWindow(const Control *control);

// Called when a control has been placed: whether it is presented may have changed.
void controlPlaced(Control *control);

// Tells the accessibility interface that `object`'s name and text changed from `before`.
void notifyTextChanged(QObject *object, const QString &before, const QString &after);

} // namespace platform
