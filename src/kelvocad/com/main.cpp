// kelvocad-com: KelvoCAD's object model over the built-in sample drawing, served over COM
// from the running object table under a ProgID, for the Windows tests. No window: picks are
// planned by the test through the control object "<ProgID>.Control".
//
//   kelvocad-com [--progid ProgID]      (default KelvoCAD.Application)

#include "automation/com/DispatchAdapter.h"
#include "kelvocad/com/TestControlObject.h"
#include "kelvocad/objects/CadSession.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

// {0B7C55E1-6A2D-4F0E-8C3B-5B1E7A9D4C21}: the application's class.
const CLSID kApplicationClass = {0x0b7c55e1, 0x6a2d, 0x4f0e, {0x8c, 0x3b, 0x5b, 0x1e, 0x7a, 0x9d, 0x4c, 0x21}};
// {0B7C55E2-6A2D-4F0E-8C3B-5B1E7A9D4C21}: the test control object's class.
const CLSID kControlClass = {0x0b7c55e2, 0x6a2d, 0x4f0e, {0x8c, 0x3b, 0x5b, 0x1e, 0x7a, 0x9d, 0x4c, 0x21}};

// The ProgID names the class in the machine's class registry (HKEY_CLASSES_ROOT, written
// through HKLM\Software\Classes: Wine ignores the per-user classes).
bool registerProgId(const std::wstring& progId, const CLSID& classId)
{
    wchar_t classText[64] = {};
    StringFromGUID2(classId, classText, 64);
    const std::wstring key = L"Software\\Classes\\" + progId + L"\\CLSID";
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(classText),
                                       static_cast<DWORD>((wcslen(classText) + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

}  // namespace

int main()
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring progId = L"KelvoCAD.Application";
    for (int i = 1; i + 1 < argc; ++i)
        if (std::wstring(argv[i]) == L"--progid")
            progId = argv[i + 1];
    LocalFree(argv);

    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 2;
    if (!registerProgId(progId, kApplicationClass) || !registerProgId(progId + L".Control", kControlClass)) {
        std::fprintf(stderr, "kelvocad-com: cannot register the ProgID\n");
        CoUninitialize();
        return 3;
    }

    auto session = kelvocad::CadSession::create();
    automation::com::CallCounters counters;
    IDispatch* application = automation::com::DispatchAdapter::create(session->application(), &counters);
    IDispatch* control =
        automation::com::DispatchAdapter::create(std::make_shared<kelvocad::TestControlObject>(session, counters));

    DWORD applicationCookie = 0;
    DWORD controlCookie = 0;
    const bool announced =
        SUCCEEDED(RegisterActiveObject(application, kApplicationClass, ACTIVEOBJECT_STRONG, &applicationCookie)) &&
        SUCCEEDED(RegisterActiveObject(control, kControlClass, ACTIVEOBJECT_STRONG, &controlCookie));

    if (announced) {
        // Incoming calls arrive as window messages of this apartment.
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (controlCookie)
        RevokeActiveObject(controlCookie, nullptr);
    if (applicationCookie)
        RevokeActiveObject(applicationCookie, nullptr);
    control->Release();
    application->Release();
    CoUninitialize();
    return announced ? 0 : 4;
}
