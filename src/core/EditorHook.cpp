#include "EditorHook.h"

namespace core {

std::function<platform::Form *()> &editorInstanceHook()
{
    static std::function<platform::Form *()> hook;
    return hook;
}

platform::Form *editorInstance()
{
    const auto &hook = editorInstanceHook();
    return hook ? hook() : nullptr;
}

} // namespace core
