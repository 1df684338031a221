#include "kelvocad/app/CadAutomationHost.h"

#include "automation/socket/RunningObjectDirectory.h"
#include "automation/socket/SocketServer.h"
#include "kelvocad/app/CadMainWindow.h"
#include "kelvocad/app/DrawingView.h"
#include "kelvocad/app/WindowPicker.h"
#include "kelvocad/app/WindowServiceHandlers.h"
#include "kelvocad/objects/CadSession.h"

namespace kelvocad {

CadAutomationHost::CadAutomationHost(std::shared_ptr<CadSession> session, CadMainWindow* window)
    : session_(std::move(session)),
      window_(window),
      root_(session_->application()),
      services_(std::make_unique<WindowServiceHandlers>(window))
{
}

CadAutomationHost::~CadAutomationHost()
{
    close();
}

void CadAutomationHost::serve(const automation::socket::RunningObjectDirectory& directory, const QStringList& progIds)
{
    directory.ensurePrivate();
    std::weak_ptr<WindowPicker> picker = window_->picker();
    try {
        for (const QString& progId : progIds) {
            auto server = std::make_unique<automation::socket::SocketServer>(root_);
            server->setBusyPredicate([picker] {
                const auto current = picker.lock();
                return current && current->isPicking();
            });
            WindowServiceHandlers* services = services_.get();
            for (const auto& name : WindowServiceHandlers::names())
                server->setServiceHandler(name, [services, name](std::span<const automation::Variant> args) {
                    return services->handle(name, args);
                });
            installStatistics(*server);
            server->serve(directory, progId.toStdU16String());
            servers_.push_back(std::move(server));
        }
    } catch (...) {
        close();
        throw;
    }
}

void CadAutomationHost::installStatistics(automation::socket::SocketServer& server)
{
    WindowServiceHandlers* services = services_.get();
    DrawingView* view = window_->view();
    server.setServiceHandler(u"Statistics", [&server, services, view](std::span<const automation::Variant>) {
        return automation::Variant::doubleArray({static_cast<double>(server.memberAccessCount()),
                                                 static_cast<double>(server.exportedObjectCount()),
                                                 static_cast<double>(server.busyReplyCount()),
                                                 static_cast<double>(services->requestCount()),
                                                 static_cast<double>(view->takeLongestRepaintMs())});
    });
}

void CadAutomationHost::close()
{
    for (auto& server : servers_)
        server->close();
    servers_.clear();
}

}  // namespace kelvocad
