#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace automation {

// HRESULT-style codes of the failures that occur between KelvoEdit and a CAD application.
// The values are COM's, so an error means the same on every transport.
namespace hr {
inline constexpr int32_t UnknownName = static_cast<int32_t>(0x80020006);      // DISP_E_UNKNOWNNAME
inline constexpr int32_t MemberNotFound = static_cast<int32_t>(0x80020003);   // DISP_E_MEMBERNOTFOUND
inline constexpr int32_t BadParamCount = static_cast<int32_t>(0x8002000E);    // DISP_E_BADPARAMCOUNT
inline constexpr int32_t ParamNotOptional = static_cast<int32_t>(0x8002000F); // DISP_E_PARAMNOTOPTIONAL
inline constexpr int32_t TypeMismatch = static_cast<int32_t>(0x80020005);     // DISP_E_TYPEMISMATCH
inline constexpr int32_t BadIndex = static_cast<int32_t>(0x8002000B);         // DISP_E_BADINDEX
inline constexpr int32_t Overflow = static_cast<int32_t>(0x8002000A);         // DISP_E_OVERFLOW
inline constexpr int32_t Exception = static_cast<int32_t>(0x80020009);        // DISP_E_EXCEPTION
inline constexpr int32_t InvalidClassString = static_cast<int32_t>(0x800401F3); // CO_E_CLASSSTRING
inline constexpr int32_t NotRunning = static_cast<int32_t>(0x800401E3);       // MK_E_UNAVAILABLE
inline constexpr int32_t NoInterface = static_cast<int32_t>(0x80004002);      // E_NOINTERFACE
inline constexpr int32_t CallRejected = static_cast<int32_t>(0x80010001);     // RPC_E_CALL_REJECTED
inline constexpr int32_t ServerFault = static_cast<int32_t>(0x80010105);      // RPC_E_SERVERFAULT
inline constexpr int32_t Disconnected = static_cast<int32_t>(0x80010108);     // RPC_E_DISCONNECTED
inline constexpr int32_t InvalidArg = static_cast<int32_t>(0x80070057);       // E_INVALIDARG
inline constexpr int32_t Fail = static_cast<int32_t>(0x80004005);             // E_FAIL
}  // namespace hr

// Every failed Automation call, whatever the transport: the code and the server's own words.
class AutomationError : public std::runtime_error {
public:
    AutomationError(int32_t code, std::u16string description);

    int32_t code() const noexcept { return code_; }
    const std::u16string& description() const noexcept { return description_; }

private:
    int32_t code_;
    std::u16string description_;
};

}  // namespace automation
