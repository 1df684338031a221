#include "automation/com/ActiveObjectRegistration.h"

#include <objbase.h>
#include <oleauto.h>

#include <cwchar>
#include <cwctype>

namespace automation::com {

namespace {

std::wstring classesKey(const std::wstring& progId)
{
    return L"Software\\Classes\\" + progId;
}

// What the class registry resolves the ProgID to now, if anything.
bool resolvedClass(const std::wstring& progId, CLSID& classId)
{
    return SUCCEEDED(CLSIDFromProgID(progId.c_str(), &classId));
}

bool writeProgId(HKEY root, const std::wstring& progId, const CLSID& classId)
{
    wchar_t classText[64] = {};
    StringFromGUID2(classId, classText, 64);
    const std::wstring key = classesKey(progId) + L"\\CLSID";
    HKEY handle = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(classText),
                                       static_cast<DWORD>((wcslen(classText) + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

}  // namespace

CLSID classIdForProgId(std::wstring_view progId)
{
    // FNV-1a over the lower-case name, spread over the id's variable part; the fixed part
    // marks the id as this program's.
    uint64_t hash = 1469598103934665603ull;
    for (wchar_t c : progId) {
        hash ^= static_cast<uint64_t>(std::towlower(c));
        hash *= 1099511628211ull;
    }
    CLSID id{0x0b7c55e0, 0x6a2d, 0x4f0e, {}};
    for (int i = 0; i < 8; ++i)
        id.Data4[i] = static_cast<unsigned char>(hash >> (8 * i));
    id.Data4[0] = static_cast<unsigned char>((id.Data4[0] & 0x3F) | 0x80);  // RFC 4122 variant
    return id;
}

ActiveObjectRegistration::Result ActiveObjectRegistration::serve(const std::wstring& progId, IUnknown* object)
{
    revoke();
    const CLSID ours = classIdForProgId(progId);
    CLSID current{};
    if (resolvedClass(progId, current)) {
        if (!IsEqualCLSID(current, ours))
            return Result::TakenByAnotherProgram;
    } else {
        if (writeProgId(HKEY_CURRENT_USER, progId, ours) && resolvedClass(progId, current) &&
            IsEqualCLSID(current, ours)) {
            createdIn_ = HKEY_CURRENT_USER;
        } else {
            RegDeleteTreeW(HKEY_CURRENT_USER, classesKey(progId).c_str());
            if (!writeProgId(HKEY_LOCAL_MACHINE, progId, ours) || !resolvedClass(progId, current) ||
                !IsEqualCLSID(current, ours)) {
                RegDeleteTreeW(HKEY_LOCAL_MACHINE, classesKey(progId).c_str());
                return Result::RegistryRefused;
            }
            createdIn_ = HKEY_LOCAL_MACHINE;
        }
    }
    progId_ = progId;
    if (FAILED(RegisterActiveObject(object, ours, ACTIVEOBJECT_STRONG, &cookie_))) {
        cookie_ = 0;
        revoke();
        return Result::TableRefused;
    }
    return Result::Served;
}

void ActiveObjectRegistration::revoke()
{
    if (cookie_)
        RevokeActiveObject(cookie_, nullptr);
    cookie_ = 0;
    if (createdIn_)
        RegDeleteTreeW(createdIn_, classesKey(progId_).c_str());
    createdIn_ = nullptr;
    progId_.clear();
}

const wchar_t* ActiveObjectRegistration::describe(Result result)
{
    switch (result) {
    case Result::Served:
        return L"served";
    case Result::TakenByAnotherProgram:
        return L"another program has registered this ProgID";
    case Result::RegistryRefused:
        return L"the class registry refused the ProgID";
    case Result::TableRefused:
        return L"the running object table refused the object";
    }
    return L"";
}

}  // namespace automation::com
