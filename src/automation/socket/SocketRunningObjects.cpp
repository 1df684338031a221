#include "automation/socket/SocketRunningObjects.h"

#include "automation/AutomationError.h"
#include "automation/socket/SocketClient.h"

#include <QLocalSocket>

namespace automation::socket {

SocketRunningObjects::SocketRunningObjects(RunningObjectDirectory directory, std::chrono::milliseconds retryInterval)
    : directory_(std::move(directory)), retryInterval_(retryInterval)
{
}

void SocketRunningObjects::requireRegistered(std::u16string_view progId) const
{
    if (!directory_.isRegistered(progId))
        throw AutomationError(hr::InvalidClassString, u"Invalid class string: " + std::u16string(progId));
}

bool SocketRunningObjects::isRunning(std::u16string_view progId)
{
    requireRegistered(progId);
    QLocalSocket probe;
    probe.connectToServer(directory_.socketPath(progId));
    const bool answered = probe.waitForConnected(2000);
    probe.abort();
    return answered;
}

ObjectRef SocketRunningObjects::activeObject(std::u16string_view progId)
{
    requireRegistered(progId);
    const auto client = SocketClient::connect(directory_.socketPath(progId), retryInterval_);
    ObjectRef root = client->rootObject();
    if (!root)
        throw AutomationError(hr::NoInterface, u"The running object offers no Automation interface");
    return root;
}

}  // namespace automation::socket
