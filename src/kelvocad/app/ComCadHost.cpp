#include "kelvocad/app/ComCadHost.h"

#include "automation/AutomationError.h"
#include "automation/com/ActiveObjectRegistration.h"
#include "automation/com/DispatchAdapter.h"
#include "kelvocad/app/CadMainWindow.h"
#include "kelvocad/app/WindowPicker.h"
#include "kelvocad/app/WindowServiceHandlers.h"
#include "kelvocad/com/TestControlObject.h"
#include "kelvocad/objects/CadSession.h"

#include <objbase.h>
#include <wrl/client.h>

#include <algorithm>
#include <atomic>

namespace kelvocad {

using automation::Variant;
using Microsoft::WRL::ComPtr;
using Registration = automation::com::ActiveObjectRegistration;

namespace {

// The window services by name, then what the headless server's control object answers
// (the drawing's TEXT handles, the call counts, Quit).
class ControlObject final : public automation::Object {
public:
    ControlObject(std::shared_ptr<CadSession> session, std::shared_ptr<WindowServiceHandlers> services,
                  const automation::com::CallCounters& counters)
        : services_(std::move(services)), fallback_(std::move(session), counters)
    {
    }

    Variant get(std::u16string_view member, std::span<const Variant> args) override
    {
        return fallback_.get(member, args);
    }
    void put(std::u16string_view member, const Variant& value, std::span<const Variant> args) override
    {
        fallback_.put(member, value, args);
    }
    Variant call(std::u16string_view member, std::span<const Variant> args) override
    {
        const auto& names = WindowServiceHandlers::names();
        const bool service = std::any_of(names.begin(), names.end(), [member](const std::u16string& name) {
            return automation::memberNameEquals(member, name);
        });
        return service ? services_->handle(member, args) : fallback_.call(member, args);
    }

private:
    // Shared: a client may hold this object after the host has gone.
    std::shared_ptr<WindowServiceHandlers> services_;
    TestControlObject fallback_;
};

// Turns callers of the drawing away while the user picks, as a CAD does; the control
// objects stay reachable, so a pick can be cancelled from outside.
class BusyWhilePicking final : public IMessageFilter {
public:
    explicit BusyWhilePicking(std::weak_ptr<WindowPicker> picker) : picker_(std::move(picker)) {}

    void exempt(IUnknown* object) { exempt_.push_back(object); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMessageFilter)) {
            *object = static_cast<IMessageFilter*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO info) override
    {
        const auto picker = picker_.lock();
        if (!picker || !picker->isPicking())
            return SERVERCALL_ISHANDLED;
        if (info && std::find(exempt_.begin(), exempt_.end(), info->pUnk) != exempt_.end())
            return SERVERCALL_ISHANDLED;
        return SERVERCALL_RETRYLATER;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return static_cast<DWORD>(-1); }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }

private:
    std::atomic<ULONG> references_{1};
    std::weak_ptr<WindowPicker> picker_;
    std::vector<IUnknown*> exempt_;
};

}  // namespace

struct ComCadHost::State {
    std::shared_ptr<CadSession> session;
    CadMainWindow* window = nullptr;
    std::shared_ptr<WindowServiceHandlers> services;
    // Outlives every adapter that counts into it: the program ends after the host.
    automation::com::CallCounters counters;
    ComPtr<IDispatch> application;
    ComPtr<IDispatch> control;
    ComPtr<IMessageFilter> filter;
    ComPtr<IMessageFilter> previousFilter;
    std::vector<std::unique_ptr<Registration>> registrations;
};

ComCadHost::ComCadHost(std::shared_ptr<CadSession> session, CadMainWindow* window) : state_(std::make_unique<State>())
{
    state_->session = std::move(session);
    state_->window = window;
    state_->services = std::make_shared<WindowServiceHandlers>(window);
}

ComCadHost::~ComCadHost()
{
    close();
}

QStringList ComCadHost::serve(const QStringList& progIds, QStringList* skipped)
{
    State& s = *state_;
    *s.application.ReleaseAndGetAddressOf() =
        automation::com::DispatchAdapter::create(s.session->application(), &s.counters);
    *s.control.ReleaseAndGetAddressOf() = automation::com::DispatchAdapter::create(
        std::make_shared<ControlObject>(s.session, s.services, s.counters));

    auto* filter = new BusyWhilePicking(s.window->picker());
    ComPtr<IUnknown> controlIdentity;
    s.control.As(&controlIdentity);
    filter->exempt(controlIdentity.Get());
    s.filter.Attach(filter);
    CoRegisterMessageFilter(s.filter.Get(), s.previousFilter.ReleaseAndGetAddressOf());

    QStringList served;
    for (const QString& progId : progIds) {
        const std::wstring name = progId.toStdWString();
        auto application = std::make_unique<Registration>();
        auto control = std::make_unique<Registration>();
        auto result = application->serve(name, s.application.Get());
        if (result == Registration::Result::Served)
            result = control->serve(name + L".Control", s.control.Get());
        if (result != Registration::Result::Served) {
            if (skipped)
                *skipped << progId + QStringLiteral(": ") + QString::fromWCharArray(Registration::describe(result));
            continue;
        }
        s.registrations.push_back(std::move(application));
        s.registrations.push_back(std::move(control));
        served << progId;
    }
    return served;
}

void ComCadHost::close()
{
    State& s = *state_;
    s.registrations.clear();
    if (s.filter) {
        ComPtr<IMessageFilter> ours;
        CoRegisterMessageFilter(s.previousFilter.Get(), ours.ReleaseAndGetAddressOf());
        s.previousFilter.Reset();
        s.filter.Reset();
    }
    s.control.Reset();
    s.application.Reset();
}

}  // namespace kelvocad
