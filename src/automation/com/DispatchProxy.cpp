#include "automation/com/DispatchProxy.h"

#include "automation/AutomationError.h"
#include "automation/com/ComVariant.h"
#include "automation/com/DispIdCache.h"
#include "automation/com/VariantConversion.h"

#include <vector>

namespace automation::com {

using Microsoft::WRL::ComPtr;

namespace {

std::u16string lowerAscii(std::u16string_view name)
{
    std::u16string lower(name);
    for (char16_t& c : lower)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    return lower;
}

// The type's identity when the server describes it (its type information's GUID and name),
// empty when it does not: such objects keep their DISPIDs to themselves.
std::u16string typeKeyOf(IDispatch* dispatch)
{
    UINT count = 0;
    if (FAILED(dispatch->GetTypeInfoCount(&count)) || count == 0)
        return {};
    ComPtr<ITypeInfo> typeInfo;
    if (FAILED(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, &typeInfo)) || !typeInfo)
        return {};
    TYPEATTR* attributes = nullptr;
    if (FAILED(typeInfo->GetTypeAttr(&attributes)) || attributes == nullptr)
        return {};
    wchar_t guid[64] = {};
    StringFromGUID2(attributes->guid, guid, 64);
    const bool nilGuid = IsEqualGUID(attributes->guid, GUID_NULL);
    typeInfo->ReleaseTypeAttr(attributes);
    ComBstr name;
    typeInfo->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
    if (nilGuid && name.get() == nullptr)
        return {};
    return std::u16string(reinterpret_cast<const char16_t*>(guid)) + u":" + fromBstr(name.get());
}

AutomationError errorFrom(HRESULT result, EXCEPINFO& exception)
{
    if (result == DISP_E_EXCEPTION) {
        if (exception.pfnDeferredFillIn)
            exception.pfnDeferredFillIn(&exception);
        const std::u16string description = fromBstr(exception.bstrDescription);
        const int32_t code = exception.scode != 0 ? static_cast<int32_t>(exception.scode)
                             : exception.wCode != 0 ? static_cast<int32_t>(0x80040200 + exception.wCode)
                                                    : static_cast<int32_t>(result);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrHelpFile);
        return AutomationError(code, description);
    }
    return AutomationError(static_cast<int32_t>(result), u"");
}

}  // namespace

DispatchProxy::DispatchProxy(ComPtr<IDispatch> dispatch) : dispatch_(std::move(dispatch))
{
    if (!dispatch_)
        throw AutomationError(hr::InvalidArg, u"no object");
}

DISPID DispatchProxy::dispIdOf(std::u16string_view member)
{
    std::u16string lower = lowerAscii(member);
    if (const auto found = dispIds_.find(lower); found != dispIds_.end())
        return found->second;
    if (!typeKeyKnown_) {
        typeKey_ = typeKeyOf(dispatch_.Get());
        typeKeyKnown_ = true;
    }
    if (!typeKey_.empty()) {
        if (const auto shared = DispIdCache::instance().find(typeKey_, lower)) {
            dispIds_.emplace(lower, *shared);
            return *shared;
        }
    }
    std::wstring name(member.begin(), member.end());
    LPOLESTR names[] = {name.data()};
    DISPID dispId = DISPID_UNKNOWN;
    const HRESULT result = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispId);
    if (FAILED(result))
        throw AutomationError(static_cast<int32_t>(result), u"unknown member " + std::u16string(member));
    dispIds_.emplace(lower, dispId);
    if (!typeKey_.empty())
        DispIdCache::instance().store(typeKey_, lower, dispId);
    return dispId;
}

Variant DispatchProxy::invoke(std::u16string_view member, WORD flags, std::span<const Variant> args,
                              const Variant* value)
{
    const DISPID dispId = dispIdOf(member);
    // COM takes the arguments last to first; a put's value comes before them all.
    std::vector<ComVariant> arguments(args.size() + (value ? 1 : 0));
    size_t slot = 0;
    if (value)
        toComVariant(*value, arguments[slot++].put());
    for (size_t i = args.size(); i-- > 0;)
        toComVariant(args[i], arguments[slot++].put());
    std::vector<VARIANT> raw;
    raw.reserve(arguments.size());
    for (ComVariant& argument : arguments)
        raw.push_back(argument.get());

    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    params.rgvarg = raw.empty() ? nullptr : raw.data();
    params.cArgs = static_cast<UINT>(raw.size());
    if (value) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    ComVariant result;
    EXCEPINFO exception{};
    UINT argumentError = 0;
    const HRESULT status = dispatch_->Invoke(dispId, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                             value ? nullptr : result.put(), &exception, &argumentError);
    if (FAILED(status))
        throw errorFrom(status, exception);
    return value ? Variant() : fromComVariant(result.get());
}

Variant DispatchProxy::get(std::u16string_view member, std::span<const Variant> args)
{
    return invoke(member, DISPATCH_PROPERTYGET, args, nullptr);
}

void DispatchProxy::put(std::u16string_view member, const Variant& value, std::span<const Variant> args)
{
    invoke(member, DISPATCH_PROPERTYPUT, args, &value);
}

Variant DispatchProxy::call(std::u16string_view member, std::span<const Variant> args)
{
    return invoke(member, DISPATCH_METHOD, args, nullptr);
}

}  // namespace automation::com
