// kelvocad-com: KelvoCAD's object model over the built-in sample drawing, served over COM
// from the running object table under a ProgID, for the Windows tests. No window: picks are
// planned by the test through the control object "<ProgID>.Control".
//
//   kelvocad-com [--progid ProgID]      (default KelvoCAD.Application)

#include "automation/com/ActiveObjectRegistration.h"
#include "automation/com/DispatchAdapter.h"
#include "kelvocad/com/TestControlObject.h"
#include "kelvocad/objects/CadSession.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <string>

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

    auto session = kelvocad::CadSession::create();
    automation::com::CallCounters counters;
    IDispatch* application = automation::com::DispatchAdapter::create(session->application(), &counters);
    IDispatch* control =
        automation::com::DispatchAdapter::create(std::make_shared<kelvocad::TestControlObject>(session, counters));

    using Registration = automation::com::ActiveObjectRegistration;
    int result = 0;
    {
        Registration applicationEntry;
        Registration controlEntry;
        const auto served = applicationEntry.serve(progId, application);
        const auto controlServed =
            served == Registration::Result::Served ? controlEntry.serve(progId + L".Control", control) : served;
        if (controlServed == Registration::Result::Served) {
            // Incoming calls arrive as window messages of this apartment.
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        } else {
            std::fwprintf(stderr, L"kelvocad-com: %ls: %ls\n", progId.c_str(), Registration::describe(controlServed));
            result = 4;
        }
    }
    control->Release();
    application->Release();
    CoUninitialize();
    return result;
}
