#pragma once

// Windows only: the COM message filter of the user-interface thread.

#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

#include <atomic>

namespace app {

// Keeps Automation calls to the CAD application patient: a call the server turns away as
// busy (retry later) is sent again every second for as long as it takes; any other
// rejection cancels it; while a call waits, no window message of ours is dispatched.
class TMessageFilter final : public IMessageFilter {
public:
    static constexpr DWORD kRetryDelayMilliseconds = 1000;

    // A new filter with one reference, held by the returned pointer.
    static Microsoft::WRL::ComPtr<TMessageFilter> Create();

    // Installs this filter on the calling thread, keeping the one it replaces in FOldFilter.
    HRESULT RegisterFilter();
    // Puts FOldFilter back and drops the reference to this filter that COM hands back.
    HRESULT RevokeFilter();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IMessageFilter
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD dwCallType, HTASK htaskCaller, DWORD dwTickCount,
                                               LPINTERFACEINFO lpInterfaceInfo) override;
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK htaskCallee, DWORD dwTickCount, DWORD dwRejectType) override;
    DWORD STDMETHODCALLTYPE MessagePending(HTASK htaskCallee, DWORD dwTickCount, DWORD dwPendingType) override;

private:
    TMessageFilter() = default;
    ~TMessageFilter() = default;

    std::atomic<ULONG> references_{1};
    Microsoft::WRL::ComPtr<IMessageFilter> FOldFilter;
    bool registered_ = false;
};

}  // namespace app
