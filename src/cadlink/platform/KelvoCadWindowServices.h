#pragma once

#include "automation/Variant.h"
#include "cadlink/WindowServices.h"

#include <functional>
#include <optional>
#include <span>
#include <string>

namespace automation::socket {
class SocketRunningObjects;
}

namespace cadlink::platform {

// The window services with KelvoCAD as the drawing host. KelvoEdit cannot reach another
// program's windows on this platform, so every step on a window of the host is a request
// to the host, sent on a connection of its own to the server of the target ProgID; steps on
// KelvoEdit's own windows are done here. The requests need no object of the host's, so
// they are answered even while the host is busy with a pick.
//
// Like the window functions they stand for, these never throw: a host that is not
// running, or that has gone, answers as a window that does not exist would (false, 0,
// nothing drawn).
class KelvoCadWindowServices : public WindowServices {
public:
    using ProgIdSource = std::function<std::u16string()>;

    // targetProgId is asked at every request, so a change of target CAD takes effect at once.
    KelvoCadWindowServices(automation::socket::SocketRunningObjects& runningObjects, ProgIdSource targetProgId);

    // Only KelvoEdit's own windows can be looked up by title here: the window system offers
    // no list of another program's windows.
    bool topLevelWindowExists(std::u16string_view title) override;
    bool isIconic(WindowHandle window) override;
    void openIcon(WindowHandle window) override;
    bool setForegroundWindow(WindowHandle window) override;
    WindowHandle foregroundWindow() override;
    void sendEscape() override;
    void sleep(int milliseconds) override;

    // Own windows share one thread; the host's windows belong to another one (0: unknown).
    uint32_t windowThread(WindowHandle window) override;
    // The window system decides who has the input; there is nothing to attach.
    void attachThreadInput(uint32_t from, uint32_t to, bool attach) override;
    void bringWindowToTop(WindowHandle window) override;

    void drawMarker(WindowHandle window, const MarkerPoint* points, int count, int penWidth, uint32_t rgb,
                    bool xorMode) override;

    static constexpr uint32_t ownThread = 1;

private:
    // The host's answer, or nothing when there is no host to ask or the request failed.
    std::optional<automation::Variant> askHost(std::u16string_view service, std::span<const automation::Variant> args);
    std::optional<automation::Variant> askHostAbout(std::u16string_view service, WindowHandle window);
    // The host's window when the host says it is the active one, else 0.
    WindowHandle hostForegroundWindow();

    automation::socket::SocketRunningObjects& runningObjects_;
    ProgIdSource targetProgId_;
};

}  // namespace cadlink::platform
