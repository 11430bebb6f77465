#include "WindowTimer.h"

#include "Form.h"

#include <QPointer>
#include <QScopeGuard>

#include <memory>

namespace platform {

void connectTimer(QTimer *timer, Form *window, std::function<void()> handler)
{
    auto running = std::make_shared<bool>(false);
    QObject::connect(timer, &QTimer::timeout, window,
                     [running, handler = std::move(handler), window = QPointer<Form>(window)] {
                         // Held here: the connection may go with the window inside the tick.
                         const std::shared_ptr<bool> busy = running;
                         if (*busy || !window || !window->isLoaded())
                             return;
                         *busy = true;
                         const auto done = qScopeGuard([busy] { *busy = false; });
                         const std::function<void()> tick = handler;
                         tick();
                     });
}

} // namespace platform
