#include "WindowHandles.h"

#include <QObject>
#include <QPointer>

#include <unordered_map>

namespace platform {

namespace {

// One counter for windows and icons, so that a window's handle is never also an icon's. It
// starts well above 0 so that a handle is never mistaken for a small count or a flag value.
std::int32_t gNextHandle = 0x00010000;

struct Tables
{
    std::unordered_map<std::int32_t, QPointer<QWidget>> windows;
    std::unordered_map<const QWidget *, std::int32_t> windowHandles;
    std::unordered_map<std::int32_t, QIcon> icons;
    std::unordered_map<qint64, std::int32_t> iconHandles; // by QIcon::cacheKey
};

Tables &tables()
{
    static Tables t;
    return t;
}

} // namespace

std::int32_t handleOfWindow(QWidget *window)
{
    if (!window)
        return 0;
    Tables &t = tables();
    const auto found = t.windowHandles.find(window);
    if (found != t.windowHandles.end())
        return found->second;
    const std::int32_t handle = gNextHandle++;
    t.windows.emplace(handle, QPointer<QWidget>(window));
    t.windowHandles.emplace(window, handle);
    // The widget's own destroyed signal: by then it is no QWidget any more, so only its address
    // is used to forget it.
    QObject::connect(window, &QObject::destroyed, [window, handle] {
        tables().windowHandles.erase(window);
        tables().windows.erase(handle);
    });
    return handle;
}

QWidget *windowFromHandle(std::int32_t handle)
{
    const auto found = tables().windows.find(handle);
    return found == tables().windows.end() ? nullptr : found->second.data();
}

std::int32_t iconHandle(const QIcon &icon)
{
    if (icon.isNull())
        return 0;
    Tables &t = tables();
    const auto found = t.iconHandles.find(icon.cacheKey());
    if (found != t.iconHandles.end())
        return found->second;
    const std::int32_t handle = gNextHandle++;
    t.icons.emplace(handle, icon);
    t.iconHandles.emplace(icon.cacheKey(), handle);
    return handle;
}

QIcon iconFromHandle(std::int32_t handle)
{
    const auto found = tables().icons.find(handle);
    return found == tables().icons.end() ? QIcon() : found->second;
}

} // namespace platform
