#include "QtServices.h"

#include "WindowHandles.h"
#include "WindowMessages.h"

#include <QApplication>
#include <QSystemTrayIcon>

namespace platform {

struct QtTray::Placed
{
    NOTIFYICONDATA record;
    std::unique_ptr<QSystemTrayIcon> icon;
    TrayMouseMessages clicks;
};

QtTray::QtTray() = default;
QtTray::~QtTray() = default;

bool QtTray::isSystemTrayAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

QSystemTrayIcon *QtTray::icon(std::int32_t hWnd, std::int32_t uID) const
{
    const auto found = mIcons.find({hWnd, uID});
    return found == mIcons.end() ? nullptr : found->second->icon.get();
}

void QtTray::apply(Placed &placed, const NOTIFYICONDATA &record)
{
    if (record.uFlags & NIF_MESSAGE)
        placed.record.uCallbackMessage = record.uCallbackMessage;
    placed.record.uFlags |= record.uFlags;
    if (record.uFlags & NIF_ICON) {
        placed.record.hIcon = record.hIcon;
        QIcon picture = iconFromHandle(record.hIcon);
        placed.icon->setIcon(picture.isNull() ? QApplication::windowIcon() : picture);
    }
    if (record.uFlags & NIF_TIP) {
        placed.record.szTip = record.szTip;
        placed.icon->setToolTip(record.szTip);
    }
}

bool QtTray::Shell_NotifyIconA(std::uint32_t message, const QByteArray &bytes)
{
    const std::optional<NOTIFYICONDATA> record = NOTIFYICONDATA::fromBytes(bytes);
    if (!record)
        return false;
    const std::pair key(record->hWnd, record->uID);
    const auto found = mIcons.find(key);
    switch (message) {
    case NIM_ADD: {
        if (found != mIcons.end() || !isSystemTrayAvailable())
            return false;
        auto placed = std::make_unique<Placed>();
        placed->record = *record;
        placed->record.uFlags = 0;
        placed->icon = std::make_unique<QSystemTrayIcon>();
        placed->icon->setIcon(QApplication::windowIcon());
        apply(*placed, *record);
        QObject::connect(
            placed->icon.get(), &QSystemTrayIcon::activated, placed->icon.get(),
            [this, key](QSystemTrayIcon::ActivationReason reason) { clicked(key, reason); });
        placed->icon->show();
        mIcons.emplace(key, std::move(placed));
        return true;
    }
    case NIM_MODIFY:
        if (found == mIcons.end())
            return false;
        apply(*found->second, *record);
        return true;
    case NIM_DELETE:
        if (found == mIcons.end())
            return false;
        found->second->icon->hide();
        // The icon may be the sender of the activation being handled: delete it afterwards.
        found->second->icon.release()->deleteLater();
        mIcons.erase(found);
        return true;
    default:
        return false;
    }
}

void QtTray::clicked(std::pair<std::int32_t, std::int32_t> key, int reason)
{
    const auto found = mIcons.find(key);
    if (found == mIcons.end())
        return;
    Placed &placed = *found->second;
    const QList<std::int32_t> messages =
        placed.clicks.translate(static_cast<QSystemTrayIcon::ActivationReason>(reason),
                                services().clock->now(), QApplication::doubleClickInterval());
    if (!(placed.record.uFlags & NIF_MESSAGE))
        return;
    for (std::int32_t mouse : messages)
        PostMessage(placed.record.hWnd, placed.record.uCallbackMessage, placed.record.uID, mouse);
}

} // namespace platform
