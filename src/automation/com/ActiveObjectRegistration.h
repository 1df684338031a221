#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace automation::com {

// A class id that belongs to one ProgID: the same name (in any letter case) always gives
// the same id, and different names give different ids.
CLSID classIdForProgId(std::wstring_view progId);

// Serves one object in the running object table under a ProgID for the registration's
// lifetime. The ProgID is entered in the class registry only when it is not there yet, in
// the user's classes (a machine-wide entry needs an administrator), or, where the system
// reads only machine-wide classes (Wine), there; an entry it made is removed again at the
// end, so a CAD installed later finds its ProgID free. A ProgID that another program has
// registered under its own class is left alone and not served.
class ActiveObjectRegistration {
public:
    ActiveObjectRegistration() = default;
    ActiveObjectRegistration(const ActiveObjectRegistration&) = delete;
    ActiveObjectRegistration& operator=(const ActiveObjectRegistration&) = delete;
    ~ActiveObjectRegistration() { revoke(); }

    enum class Result { Served, TakenByAnotherProgram, RegistryRefused, TableRefused };
    Result serve(const std::wstring& progId, IUnknown* object);
    void revoke();

    static const wchar_t* describe(Result result);

private:
    std::wstring progId_;
    HKEY createdIn_ = nullptr;
    DWORD cookie_ = 0;
};

}  // namespace automation::com
