#pragma once

// The main window opens the entry editor late-bound, without depending on the editor's layer:
// the program's main() fills this hook with a function that returns the one default instance of
// the editor, creating it when first used (again after an unload, which deletes the window).
// See frmEditor.h for the members the main window sets and the wait.

#include <functional>

namespace platform {
class Form;
}

namespace core {

std::function<platform::Form *()> &editorInstanceHook();

// The editor's default instance; nullptr when the hook is not set.
platform::Form *editorInstance();

} // namespace core
