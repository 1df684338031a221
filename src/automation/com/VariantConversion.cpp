#include "automation/com/VariantConversion.h"

#include "automation/AutomationError.h"
#include "automation/com/ComVariant.h"
#include "automation/com/DispatchAdapter.h"
#include "automation/com/DispatchProxy.h"

#include <wrl/client.h>

#include <cmath>
#include <vector>

namespace automation::com {

using Microsoft::WRL::ComPtr;

namespace {

Variant fromDispatch(IDispatch* dispatch)
{
    if (dispatch == nullptr)
        return Variant(ObjectRef());
    // One of our own objects served in this process: hand back the object itself.
    DispatchAdapter* adapter = nullptr;
    if (SUCCEEDED(dispatch->QueryInterface(IID_KelvoDispatchAdapter, reinterpret_cast<void**>(&adapter))) && adapter) {
        ObjectRef object = adapter->object();
        adapter->Release();
        return Variant(std::move(object));
    }
    return Variant(ObjectRef(std::make_shared<DispatchProxy>(ComPtr<IDispatch>(dispatch))));
}

// Releases the SAFEARRAY's data access however the conversion ends.
class ArrayAccess {
public:
    ArrayAccess(SAFEARRAY* array, void** data) : array_(array)
    {
        if (FAILED(SafeArrayAccessData(array, data)))
            throw AutomationError(hr::TypeMismatch, u"array not accessible");
    }
    ~ArrayAccess() { SafeArrayUnaccessData(array_); }
    ArrayAccess(const ArrayAccess&) = delete;
    ArrayAccess& operator=(const ArrayAccess&) = delete;

private:
    SAFEARRAY* array_;
};

Variant fromSafeArray(SAFEARRAY* array, VARTYPE elementType)
{
    if (array == nullptr)
        return Variant::variantArray({});
    if (SafeArrayGetDim(array) != 1)
        throw AutomationError(hr::TypeMismatch, u"only one-dimensional arrays are supported");
    LONG lower = 0;
    LONG upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    const size_t count = upper >= lower ? static_cast<size_t>(upper - lower + 1) : 0;
    void* data = nullptr;
    ArrayAccess access(array, &data);
    switch (elementType) {
    case VT_I2: {
        const auto* values = static_cast<const SHORT*>(data);
        return Variant::int16Array(std::vector<int16_t>(values, values + count));
    }
    case VT_R8: {
        const auto* values = static_cast<const double*>(data);
        return Variant::doubleArray(std::vector<double>(values, values + count));
    }
    case VT_VARIANT: {
        const auto* values = static_cast<const VARIANT*>(data);
        std::vector<Variant> elements;
        elements.reserve(count);
        for (size_t i = 0; i < count; ++i)
            elements.push_back(fromComVariant(values[i]));
        return Variant::variantArray(std::move(elements));
    }
    case VT_DISPATCH: {
        auto* const* values = static_cast<IDispatch* const*>(data);
        std::vector<ObjectRef> objects;
        objects.reserve(count);
        for (size_t i = 0; i < count; ++i)
            objects.push_back(fromDispatch(values[i]).toObject());
        return Variant::objectArray(std::move(objects));
    }
    default:
        throw AutomationError(hr::TypeMismatch, u"unsupported array element type");
    }
}

Variant fromNumber(const VARIANT& value)
{
    ComVariant converted;
    if (SUCCEEDED(VariantChangeType(converted.put(), const_cast<VARIANT*>(&value), 0, VT_I4)) && value.vt != VT_R4 && value.vt != VT_CY &&
        value.vt != VT_DATE && value.vt != VT_DECIMAL)
        return Variant(static_cast<int32_t>(converted.get().lVal));
    if (SUCCEEDED(VariantChangeType(converted.put(), const_cast<VARIANT*>(&value), 0, VT_R8)))
        return Variant(converted.get().dblVal);
    throw AutomationError(hr::TypeMismatch, u"unsupported number type");
}

template <class Element>
SAFEARRAY* makeArray(VARTYPE type, const std::vector<Variant>& elements, Element (*convert)(const Variant&))
{
    SAFEARRAY* array = SafeArrayCreateVector(type, 0, static_cast<ULONG>(elements.size()));
    if (array == nullptr)
        throw AutomationError(hr::Fail, u"out of memory");
    void* data = nullptr;
    {
        ArrayAccess access(array, &data);
        auto* values = static_cast<Element*>(data);
        for (size_t i = 0; i < elements.size(); ++i)
            values[i] = convert(elements[i]);
    }
    return array;
}

IDispatch* dispatchOf(const ObjectRef& object)
{
    if (!object)
        return nullptr;
    if (auto* proxy = dynamic_cast<DispatchProxy*>(object.get())) {
        proxy->dispatch()->AddRef();
        return proxy->dispatch();
    }
    return DispatchAdapter::create(object);
}

}  // namespace

std::u16string fromBstr(BSTR text)
{
    if (text == nullptr)
        return {};
    return std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
}

BSTR toBstr(std::u16string_view text)
{
    return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
}

Variant fromComVariant(const VARIANT& value)
{
    if (value.vt & VT_BYREF) {
        ComVariant direct;
        if (FAILED(VariantCopyInd(direct.put(), const_cast<VARIANT*>(&value))))
            throw AutomationError(hr::TypeMismatch, u"unreadable reference argument");
        return fromComVariant(direct.get());
    }
    if (value.vt & VT_ARRAY)
        return fromSafeArray(value.parray, static_cast<VARTYPE>(value.vt & VT_TYPEMASK));
    switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return Variant();
    case VT_ERROR:
        if (value.scode == DISP_E_PARAMNOTFOUND)
            return Variant::omitted();
        return Variant(static_cast<int32_t>(value.scode));
    case VT_BOOL:
        return Variant(value.boolVal != VARIANT_FALSE);
    case VT_I2:
        return Variant(static_cast<int16_t>(value.iVal));
    case VT_I4:
        return Variant(static_cast<int32_t>(value.lVal));
    case VT_R8:
        return Variant(value.dblVal);
    case VT_BSTR:
        return Variant(fromBstr(value.bstrVal));
    case VT_DISPATCH:
        return fromDispatch(value.pdispVal);
    case VT_UNKNOWN: {
        if (value.punkVal == nullptr)
            return Variant(ObjectRef());
        ComPtr<IDispatch> dispatch;
        if (FAILED(value.punkVal->QueryInterface(IID_PPV_ARGS(&dispatch))))
            throw AutomationError(hr::NoInterface, u"object without Automation interface");
        return fromDispatch(dispatch.Get());
    }
    default:
        return fromNumber(value);
    }
}

void toComVariant(const Variant& value, VARIANT* out)
{
    VariantInit(out);
    switch (value.type()) {
    case VariantType::Empty:
        return;
    case VariantType::Omitted:
        out->vt = VT_ERROR;
        out->scode = DISP_E_PARAMNOTFOUND;
        return;
    case VariantType::Bool:
        out->vt = VT_BOOL;
        out->boolVal = value.boolValue() ? VARIANT_TRUE : VARIANT_FALSE;
        return;
    case VariantType::Int16:
        out->vt = VT_I2;
        out->iVal = value.int16Value();
        return;
    case VariantType::Int32:
        out->vt = VT_I4;
        out->lVal = value.int32Value();
        return;
    case VariantType::Double:
        out->vt = VT_R8;
        out->dblVal = value.doubleValue();
        return;
    case VariantType::String:
        out->bstrVal = toBstr(value.stringValue());
        out->vt = VT_BSTR;
        return;
    case VariantType::Object:
        out->pdispVal = dispatchOf(value.objectValue());
        out->vt = VT_DISPATCH;
        return;
    case VariantType::Array:
        break;
    }
    const std::vector<Variant> elements = value.elements();
    switch (value.arrayType()) {
    case ArrayType::Int16:
        out->parray = makeArray<SHORT>(VT_I2, elements, [](const Variant& v) { return static_cast<SHORT>(v.toInt16()); });
        out->vt = VT_ARRAY | VT_I2;
        return;
    case ArrayType::Double:
        out->parray = makeArray<double>(VT_R8, elements, [](const Variant& v) { return v.toDouble(); });
        out->vt = VT_ARRAY | VT_R8;
        return;
    case ArrayType::Object:
        out->parray = makeArray<IDispatch*>(VT_DISPATCH, elements,
                                            [](const Variant& v) { return dispatchOf(v.toObject()); });
        out->vt = VT_ARRAY | VT_DISPATCH;
        return;
    case ArrayType::Variant: {
        SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(elements.size()));
        if (array == nullptr)
            throw AutomationError(hr::Fail, u"out of memory");
        // Owned by out from here on, so a failing element leaves nothing behind.
        out->parray = array;
        out->vt = VT_ARRAY | VT_VARIANT;
        void* data = nullptr;
        ArrayAccess access(array, &data);
        auto* values = static_cast<VARIANT*>(data);
        for (size_t i = 0; i < elements.size(); ++i)
            toComVariant(elements[i], &values[i]);
        return;
    }
    }
}

}  // namespace automation::com
