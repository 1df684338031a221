#include "CadServer.h"

#include "automation/Variant.h"
#include "automation/socket/SocketClient.h"

namespace bench::e2e {

using automation::Variant;

namespace {

// A drawing of 100,000 entities takes a while to read and to show on a busy machine.
constexpr int startMs = 300000;

}  // namespace

CadServer::CadServer(QString drawingFile) : process_(std::move(drawingFile), startMs) {}

CadServer::~CadServer()
{
    // The connection goes before the program, which then stops without a client left.
    document_.reset();
    control_.reset();
}

bool CadServer::start()
{
    if (!process_.start())
        return false;
    control_ = process_.connect();
    document_ = control_->rootObject()->get(u"ActiveDocument").toObject();
    return true;
}

ServerStatistics CadServer::statistics()
{
    const Variant answer = control_->service(u"Statistics");
    const auto at = [&answer](size_t i) { return static_cast<int64_t>(answer.doubleAt(i)); };
    // A kelvocad from before the repaint figure answers four numbers.
    return {at(0), at(1), at(2), at(3), answer.arraySize() > 4 ? answer.doubleAt(4) : -1.0};
}

void CadServer::planPick(const std::vector<std::u16string>& handles)
{
    std::vector<Variant> elements;
    elements.reserve(handles.size());
    for (const auto& handle : handles)
        elements.emplace_back(handle);
    control_->service(u"NextPickReturns", std::vector{Variant::variantArray(std::move(elements))});
}

}  // namespace bench::e2e
