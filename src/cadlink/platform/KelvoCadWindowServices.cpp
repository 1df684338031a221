#include "cadlink/platform/KelvoCadWindowServices.h"

#include "automation/AutomationError.h"
#include "automation/socket/SocketClient.h"
#include "automation/socket/SocketRunningObjects.h"
#include "automation/socket/WindowService.h"
#include "cadlink/platform/LocalWindowHandles.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <chrono>
#include <thread>
#include <vector>

namespace cadlink::platform {

using automation::Variant;
namespace windowservice = automation::socket::windowservice;

KelvoCadWindowServices::KelvoCadWindowServices(automation::socket::SocketRunningObjects& runningObjects, ProgIdSource targetProgId)
    : runningObjects_(runningObjects), targetProgId_(std::move(targetProgId))
{
}

std::optional<Variant> KelvoCadWindowServices::askHost(std::u16string_view service, std::span<const Variant> args)
{
    try {
        const auto& directory = runningObjects_.directory();
        const std::u16string progId = targetProgId_();
        if (!directory.isRegistered(progId))
            return std::nullopt;
        const auto client = automation::socket::SocketClient::connect(directory.socketPath(progId));
        return client->service(service, args);
    } catch (const automation::AutomationError&) {
        return std::nullopt;
    }
}

std::optional<Variant> KelvoCadWindowServices::askHostAbout(std::u16string_view service, WindowHandle window)
{
    const Variant args[] = {Variant(static_cast<int32_t>(window))};
    return askHost(service, args);
}

bool KelvoCadWindowServices::topLevelWindowExists(std::u16string_view title)
{
    const QString wanted = QString::fromUtf16(title.data(), static_cast<qsizetype>(title.size()));
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowTitle() == wanted)
            return true;
    }
    return false;
}

bool KelvoCadWindowServices::isIconic(WindowHandle window)
{
    if (isLocalHandle(window)) {
        const QWidget* own = localWindow(window);
        return own && own->isMinimized();
    }
    const auto answer = askHostAbout(windowservice::isIconic, window);
    return answer && answer->toBool();
}

void KelvoCadWindowServices::openIcon(WindowHandle window)
{
    if (isLocalHandle(window)) {
        if (QWidget* own = localWindow(window); own && own->isMinimized())
            own->showNormal();
        return;
    }
    askHostAbout(windowservice::openIcon, window);
}

bool KelvoCadWindowServices::setForegroundWindow(WindowHandle window)
{
    if (isLocalHandle(window)) {
        QWidget* own = localWindow(window);
        if (!own)
            return false;
        own->raise();
        own->activateWindow();
        return true;
    }
    const auto answer = askHostAbout(windowservice::setForegroundWindow, window);
    return answer && answer->toBool();
}

WindowHandle KelvoCadWindowServices::hostForegroundWindow()
{
    const auto answer = askHost(windowservice::foregroundWindow, std::span<const Variant>{});
    try {
        return answer ? answer->toInt() : 0;
    } catch (const automation::AutomationError&) {
        return 0;
    }
}

WindowHandle KelvoCadWindowServices::foregroundWindow()
{
    // The host is asked first: it has waited for its own activation, while this program
    // learns that it lost the keyboard only from events it does not handle mid-operation.
    if (const WindowHandle host = hostForegroundWindow())
        return host;
    if (const QWidget* active = QApplication::activeWindow())
        return localHandle(*active);
    return 0;
}

void KelvoCadWindowServices::sendEscape()
{
    // The key goes to whichever window has the keyboard: the host's, or else one of ours.
    if (hostForegroundWindow()) {
        askHost(windowservice::escape, std::span<const Variant>{});
        return;
    }
    if (QWidget* active = QApplication::activeWindow()) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : active;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    }
}

void KelvoCadWindowServices::sleep(int milliseconds)
{
    // A plain wait: nothing of the program's own may run meanwhile.
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

uint32_t KelvoCadWindowServices::windowThread(WindowHandle window)
{
    return isLocalHandle(window) && localWindow(window) ? ownThread : 0;
}

void KelvoCadWindowServices::attachThreadInput(uint32_t, uint32_t, bool) {}

void KelvoCadWindowServices::bringWindowToTop(WindowHandle window)
{
    if (isLocalHandle(window)) {
        if (QWidget* own = localWindow(window)) {
            own->raise();
            own->activateWindow();
        }
        return;
    }
    askHostAbout(windowservice::bringToFront, window);
}

void KelvoCadWindowServices::drawMarker(WindowHandle window, const MarkerPoint* points, int count, int penWidth,
                                        uint32_t rgb, bool xorMode)
{
    if (isLocalHandle(window) || count < 2)
        return;
    std::vector<Variant> coordinates;
    coordinates.reserve(static_cast<size_t>(count) * 2);
    for (int i = 0; i < count; ++i) {
        coordinates.emplace_back(static_cast<int32_t>(points[i].x));
        coordinates.emplace_back(static_cast<int32_t>(points[i].y));
    }
    const Variant args[] = {Variant(static_cast<int32_t>(window)), Variant::variantArray(std::move(coordinates)),
                            Variant(static_cast<int32_t>(penWidth)), Variant(static_cast<int32_t>(rgb)),
                            Variant(xorMode)};
    askHost(windowservice::drawMarker, args);
}

}  // namespace cadlink::platform
