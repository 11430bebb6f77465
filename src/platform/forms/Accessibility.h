#pragma once

namespace platform {

class Control;
class Label;

// `label` names `field`: screen readers read the label's caption as the field's name, and the
// label's access key (after "&") puts the focus into the field.
void labelFor(Label *label, Control *field);

} // namespace platform
