#include "automation/com/DispatchAdapter.h"

#include "automation/AutomationError.h"
#include "automation/com/VariantConversion.h"

#include <map>
#include <mutex>
#include <new>
#include <string>
#include <vector>

namespace automation::com {

// {6F1D7E2A-4C35-4B8E-9E61-2D0A7C5B3F10}
const IID IID_KelvoDispatchAdapter = {0x6f1d7e2a, 0x4c35, 0x4b8e, {0x9e, 0x61, 0x2d, 0x0a, 0x7c, 0x5b, 0x3f, 0x10}};

namespace {

std::atomic<long> liveAdapters{0};

// The counters of the call being served: objects it hands out count their calls there too.
thread_local CallCounters* servingCounters = nullptr;

// One DISPID per member name (any letter case) for the whole process, so a DISPID means the
// same member on every object.
class MemberNames {
public:
    static MemberNames& instance()
    {
        static MemberNames names;
        return names;
    }

    DISPID idOf(std::u16string_view name)
    {
        std::lock_guard lock(mutex_);
        std::u16string lower(name);
        for (char16_t& c : lower)
            if (c >= u'A' && c <= u'Z')
                c = static_cast<char16_t>(c - u'A' + u'a');
        const auto found = ids_.find(lower);
        if (found != ids_.end())
            return found->second;
        const DISPID id = static_cast<DISPID>(names_.size() + 1);
        ids_.emplace(lower, id);
        names_.emplace_back(name);
        return id;
    }

    bool nameOf(DISPID id, std::u16string& name) const
    {
        std::lock_guard lock(mutex_);
        if (id < 1 || static_cast<size_t>(id) > names_.size())
            return false;
        name = names_[static_cast<size_t>(id) - 1];
        return true;
    }

private:
    mutable std::mutex mutex_;
    std::map<std::u16string, DISPID> ids_;
    std::vector<std::u16string> names_;
};

HRESULT fail(EXCEPINFO* exception, int32_t code, const std::u16string& description)
{
    if (exception == nullptr)
        return static_cast<HRESULT>(code);
    *exception = EXCEPINFO{};
    exception->scode = static_cast<SCODE>(code);
    exception->bstrSource = SysAllocString(L"KelvoCAD");
    exception->bstrDescription = toBstr(description);
    return DISP_E_EXCEPTION;
}

class ServingScope {
public:
    explicit ServingScope(CallCounters* counters) : previous_(servingCounters) { servingCounters = counters; }
    ~ServingScope() { servingCounters = previous_; }

private:
    CallCounters* previous_;
};

}  // namespace

DispatchAdapter* DispatchAdapter::create(ObjectRef object, CallCounters* counters)
{
    return new DispatchAdapter(std::move(object), counters ? counters : servingCounters);
}

DispatchAdapter::DispatchAdapter(ObjectRef object, CallCounters* counters)
    : object_(std::move(object)), counters_(counters)
{
    ++liveAdapters;
}

DispatchAdapter::~DispatchAdapter()
{
    --liveAdapters;
}

long DispatchAdapter::liveCount() noexcept
{
    return liveAdapters.load();
}

HRESULT STDMETHODCALLTYPE DispatchAdapter::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_KelvoDispatchAdapter)) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DispatchAdapter::AddRef()
{
    return ++references_;
}

ULONG STDMETHODCALLTYPE DispatchAdapter::Release()
{
    const ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE DispatchAdapter::GetTypeInfoCount(UINT* count)
{
    if (count == nullptr)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DispatchAdapter::GetTypeInfo(UINT, LCID, ITypeInfo** typeInfo)
{
    if (typeInfo)
        *typeInfo = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT STDMETHODCALLTYPE DispatchAdapter::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* dispIds)
{
    if (counters_)
        ++counters_->getIdsOfNames;
    if (names == nullptr || dispIds == nullptr || count == 0)
        return E_INVALIDARG;
    // Whether a member exists shows when it is called: late binding asks the object itself.
    // Named arguments are not part of the object model.
    dispIds[0] = MemberNames::instance().idOf(reinterpret_cast<const char16_t*>(names[0]));
    HRESULT result = S_OK;
    for (UINT i = 1; i < count; ++i) {
        dispIds[i] = DISPID_UNKNOWN;
        result = DISP_E_UNKNOWNNAME;
    }
    return result;
}

HRESULT STDMETHODCALLTYPE DispatchAdapter::Invoke(DISPID dispId, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                                  VARIANT* result, EXCEPINFO* exception, UINT* argumentError)
{
    if (counters_)
        ++counters_->invokes;
    ServingScope serving(counters_);
    std::u16string member;
    if (!MemberNames::instance().nameOf(dispId, member))
        return DISP_E_MEMBERNOTFOUND;
    const UINT total = params ? params->cArgs : 0;
    const UINT named = params ? params->cNamedArgs : 0;
    const bool isPut = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    if (isPut && (named != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT || total < 1))
        return DISP_E_PARAMNOTOPTIONAL;
    if (!isPut && named != 0)
        return DISP_E_NONAMEDARGS;
    try {
        // rgvarg holds the arguments last to first; a put's value is the one named argument,
        // at position 0.
        const UINT first = isPut ? 1 : 0;
        std::vector<Variant> args;
        args.reserve(total - first);
        for (UINT i = total; i-- > first;) {
            try {
                args.push_back(fromComVariant(params->rgvarg[i]));
            } catch (const AutomationError&) {
                if (argumentError)
                    *argumentError = i;
                return DISP_E_TYPEMISMATCH;
            }
        }
        if (isPut) {
            object_->put(member, fromComVariant(params->rgvarg[0]), args);
            return S_OK;
        }
        Variant value;
        if ((flags & DISPATCH_METHOD) && (flags & DISPATCH_PROPERTYGET)) {
            // Script clients cannot tell a property read from a call without arguments and
            // send both flags: a property that exists wins, otherwise it is a method.
            try {
                value = object_->get(member, args);
            } catch (const AutomationError& error) {
                if (error.code() != hr::UnknownName && error.code() != hr::MemberNotFound)
                    throw;
                value = object_->call(member, args);
            }
        } else {
            value = (flags & DISPATCH_METHOD) ? object_->call(member, args) : object_->get(member, args);
        }
        if (result)
            toComVariant(value, result);
        return S_OK;
    } catch (const AutomationError& error) {
        return fail(exception, error.code(), error.description());
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::exception& error) {
        const std::string what = error.what();
        return fail(exception, hr::Fail, std::u16string(what.begin(), what.end()));
    }
}

}  // namespace automation::com
