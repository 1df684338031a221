#include "automation/com/ComRunningObjects.h"

#include "automation/AutomationError.h"
#include "automation/com/DispatchProxy.h"

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <string>

namespace automation::com {

using Microsoft::WRL::ComPtr;

namespace {

CLSID classIdOf(std::u16string_view progId)
{
    const std::wstring name(progId.begin(), progId.end());
    CLSID classId{};
    const HRESULT result = CLSIDFromProgID(name.c_str(), &classId);
    if (FAILED(result))
        throw AutomationError(static_cast<int32_t>(result), u"invalid class string " + std::u16string(progId));
    return classId;
}

}  // namespace

bool ComRunningObjects::isRunning(std::u16string_view progId)
{
    const CLSID classId = classIdOf(progId);
    ComPtr<IUnknown> running;
    // The object is released at once: this only asks.
    return SUCCEEDED(GetActiveObject(classId, nullptr, &running)) && running;
}

ObjectRef ComRunningObjects::activeObject(std::u16string_view progId)
{
    const CLSID classId = classIdOf(progId);
    ComPtr<IUnknown> running;
    HRESULT result = GetActiveObject(classId, nullptr, &running);
    if (FAILED(result) || !running)
        throw AutomationError(FAILED(result) ? static_cast<int32_t>(result) : hr::NotRunning,
                              std::u16string(progId) + u" is not running");
    ComPtr<IDispatch> dispatch;
    result = running.As(&dispatch);
    if (FAILED(result))
        throw AutomationError(static_cast<int32_t>(result), u"the running object offers no Automation interface");
    return std::make_shared<DispatchProxy>(std::move(dispatch));
}

}  // namespace automation::com
