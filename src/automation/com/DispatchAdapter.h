#pragma once

#include "automation/Object.h"

#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <cstdint>

namespace automation::com {

// What a server counts of the calls that reach it: the round trips of name lookups and of
// member calls, separately.
struct CallCounters {
    std::atomic<uint64_t> getIdsOfNames{0};
    std::atomic<uint64_t> invokes{0};
};

// {6F1D7E2A-4C35-4B8E-9E61-2D0A7C5B3F10}: asked of an IDispatch to tell our own adapters
// from anybody else's objects inside one process.
extern const IID IID_KelvoDispatchAdapter;

// IDispatch over any automation::Object: the server side of the COM transport. Member names
// get process-wide DISPIDs (names match regardless of case); arguments arrive in reverse
// order as COM passes them; a property put brings its value as the named argument
// DISPID_PROPERTYPUT; an AutomationError goes back as DISP_E_EXCEPTION with its code and
// description in the EXCEPINFO.
class DispatchAdapter final : public IDispatch {
public:
    // A new adapter with one reference, owned by the caller.
    static DispatchAdapter* create(ObjectRef object, CallCounters* counters = nullptr);

    const ObjectRef& object() const noexcept { return object_; }

    // Adapters alive in this process: the server's count of objects handed out and not yet
    // released by their clients.
    static long liveCount() noexcept;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** typeInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* dispIds) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispId, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

private:
    DispatchAdapter(ObjectRef object, CallCounters* counters);
    ~DispatchAdapter();

    std::atomic<ULONG> references_{1};
    ObjectRef object_;
    CallCounters* counters_;
};

}  // namespace automation::com
