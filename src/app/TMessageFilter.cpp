#include "app/TMessageFilter.h"

namespace app {

Microsoft::WRL::ComPtr<TMessageFilter> TMessageFilter::Create()
{
    // Adopts the new object's reference (mingw-w64's ComPtr::Attach would add another).
    Microsoft::WRL::ComPtr<TMessageFilter> filter;
    *filter.ReleaseAndGetAddressOf() = new TMessageFilter();
    return filter;
}

HRESULT TMessageFilter::RegisterFilter()
{
    if (registered_)
        return S_OK;
    IMessageFilter* previous = nullptr;
    const HRESULT result = CoRegisterMessageFilter(this, &previous);
    if (FAILED(result))
        return result;
    // COM hands over its reference to the previous filter.
    *FOldFilter.ReleaseAndGetAddressOf() = previous;
    registered_ = true;
    return S_OK;
}

HRESULT TMessageFilter::RevokeFilter()
{
    if (!registered_)
        return S_OK;
    IMessageFilter* current = nullptr;
    const HRESULT result = CoRegisterMessageFilter(FOldFilter.Get(), &current);
    if (FAILED(result))
        return result;
    // COM took its own reference to the old filter; ours is no longer needed.
    FOldFilter.Reset();
    registered_ = false;
    if (current)
        current->Release();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TMessageFilter::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMessageFilter)) {
        *object = static_cast<IMessageFilter*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TMessageFilter::AddRef()
{
    return ++references_;
}

ULONG STDMETHODCALLTYPE TMessageFilter::Release()
{
    const ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

DWORD STDMETHODCALLTYPE TMessageFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO)
{
    return SERVERCALL_ISHANDLED;
}

DWORD STDMETHODCALLTYPE TMessageFilter::RetryRejectedCall(HTASK, DWORD, DWORD dwRejectType)
{
    // No limit on the retries or the total time: a busy CAD application is waited for.
    if (dwRejectType == SERVERCALL_RETRYLATER)
        return kRetryDelayMilliseconds;
    return static_cast<DWORD>(-1);
}

DWORD STDMETHODCALLTYPE TMessageFilter::MessagePending(HTASK, DWORD, DWORD)
{
    return PENDINGMSG_WAITNOPROCESS;
}

}  // namespace app
