#include "automation/AutomationError.h"
#include "automation/com/DispatchAdapter.h"
#include "automation/com/DispatchProxy.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <string>

namespace {

using namespace std::string_literals;
using automation::AutomationError;
using automation::ObjectRef;
using automation::Variant;
using automation::com::DispatchAdapter;
using automation::com::DispatchProxy;
namespace hr = automation::hr;

// A server object that answers with what it got, so every value crosses VARIANT twice.
class EchoObject final : public automation::Object {
public:
    Variant get(std::u16string_view member, std::span<const Variant> args) override
    {
        if (automation::memberNameEquals(member, u"Value") && args.empty())
            return value;
        if (automation::memberNameEquals(member, u"Echo") && args.size() == 1)
            return args[0];
        throw AutomationError(hr::UnknownName, u"no property " + std::u16string(member));
    }
    void put(std::u16string_view member, const Variant& newValue, std::span<const Variant> args) override
    {
        if (!automation::memberNameEquals(member, u"Value"))
            throw AutomationError(hr::UnknownName, u"no property " + std::u16string(member));
        value = newValue;
        putArguments = args.size();
    }
    Variant call(std::u16string_view member, std::span<const Variant> args) override
    {
        if (automation::memberNameEquals(member, u"Arguments"))
            return Variant::variantArray(std::vector<Variant>(args.begin(), args.end()));
        if (automation::memberNameEquals(member, u"Fail") && args.size() == 2)
            throw AutomationError(args[0].toInt(), args[1].toString());
        throw AutomationError(hr::UnknownName, u"no method " + std::u16string(member));
    }

    Variant value;
    size_t putArguments = 0;
};

class ComTransport : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        baseline = DispatchAdapter::liveCount();
        echo = std::make_shared<EchoObject>();
        Microsoft::WRL::ComPtr<IDispatch> adapter;
        *adapter.ReleaseAndGetAddressOf() = DispatchAdapter::create(echo);
        proxy = std::make_shared<DispatchProxy>(adapter);
    }
    void TearDown() override
    {
        proxy.reset();
        EXPECT_EQ(DispatchAdapter::liveCount(), baseline) << "an adapter was not released";
        CoUninitialize();
    }

    long baseline = 0;
    std::shared_ptr<EchoObject> echo;
    ObjectRef proxy;
};

// Every kind of value goes out as a VARIANT and comes back the same.
TEST_F(ComTransport, ValuesOfEveryKindMakeTheRoundTrip)
{
    const Variant values[] = {
        Variant(),
        Variant(true),
        Variant(false),
        Variant(int16_t{-32768}),
        Variant(int32_t{2147483647}),
        Variant(-0.125),
        Variant(u""),
        Variant(u"文字列\u0000NUL\U0001F600"s),
        Variant::int16Array({0, 1, 10, 40, -1}),
        Variant::doubleArray({1.5, -2.25, 0.0}),
        Variant::point(10.0, 20.0),
        Variant::variantArray({Variant(u"TEXT"), Variant(int16_t{1}), Variant(2.5), Variant::int16Array({66})}),
        Variant::variantArray({}),
    };
    for (const Variant& value : values) {
        const std::u16string description = automation::describe(value);
        SCOPED_TRACE(std::string(description.begin(), description.end()));
        const Variant back = proxy->get(u"Echo", value);
        EXPECT_EQ(back.type(), value.type());
        EXPECT_EQ(back, value);
        if (value.isArray())
            EXPECT_EQ(back.arrayType(), value.arrayType());
    }
}

// Arguments keep their order (COM passes them reversed), omitted ones arrive as omitted, and
// a put brings its value apart from its arguments.
TEST_F(ComTransport, ArgumentsOmittedArgumentsAndPut)
{
    const Variant args[] = {Variant(int32_t{5}), Variant::omitted(), Variant::omitted(), Variant(u"last")};
    const Variant got = proxy->call(u"Arguments", args);
    ASSERT_EQ(got.arraySize(), 4u);
    EXPECT_EQ(got.at(0), Variant(int32_t{5}));
    EXPECT_TRUE(got.at(1).isOmitted());
    EXPECT_TRUE(got.at(2).isOmitted());
    EXPECT_EQ(got.at(3), Variant(u"last"));

    proxy->put(u"value", Variant(u"new text"));
    EXPECT_EQ(echo->value, Variant(u"new text"));
    EXPECT_EQ(echo->putArguments, 0u);
    EXPECT_EQ(proxy->get(u"VALUE"), Variant(u"new text"));
}

// A script client sends property reads and calls alike with both flags: a property is read,
// anything else called.
TEST_F(ComTransport, ReadOrCallWhenTheClientSendsBothFlags)
{
    echo->value = Variant(int32_t{42});
    Microsoft::WRL::ComPtr<IDispatch> adapter;
    *adapter.ReleaseAndGetAddressOf() = DispatchAdapter::create(echo);
    auto invokeBoth = [&](const wchar_t* name, VARIANT* result) {
        std::wstring text(name);
        LPOLESTR names[] = {text.data()};
        DISPID id = DISPID_UNKNOWN;
        EXPECT_EQ(adapter->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
        DISPPARAMS none{};
        EXCEPINFO exception{};
        const HRESULT status = adapter->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                               &none, result, &exception, nullptr);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrSource);
        return status;
    };
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(invokeBoth(L"value", &result), S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 42);
    VariantClear(&result);
    ASSERT_EQ(invokeBoth(L"Arguments", &result), S_OK);
    EXPECT_EQ(result.vt, VT_ARRAY | VT_VARIANT);
    VariantClear(&result);
    EXPECT_EQ(invokeBoth(L"Nothing", &result), DISP_E_EXCEPTION);
}

// A server's failure reaches the caller with its code and its own words.
TEST_F(ComTransport, ServerErrorsKeepCodeAndDescription)
{
    const struct {
        int32_t code;
        std::u16string description;
    } cases[] = {
        {hr::BadIndex, u"index out of range"},
        {hr::Fail, u"エラー"},
        {static_cast<int32_t>(0x80040201), u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        try {
            proxy->call(u"Fail", {Variant(c.code), Variant(c.description)});
            ADD_FAILURE() << "no error";
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.code(), c.code);
            EXPECT_EQ(error.description(), c.description);
        }
    }
    try {
        proxy->get(u"Missing");
        ADD_FAILURE() << "no error";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.code(), hr::UnknownName);
    }
}

// Objects handed to the server come back as the same object; the server holds no adapter
// once the client has let go (checked in TearDown).
TEST_F(ComTransport, ObjectsComeBackAsThemselvesAndAreReleased)
{
    auto inner = std::make_shared<EchoObject>();
    const Variant back = proxy->get(u"Echo", Variant(ObjectRef(inner)));
    EXPECT_EQ(back.toObject(), inner);
    const Variant array = proxy->get(u"Echo", Variant::objectArray({inner, inner}));
    EXPECT_EQ(array.arrayType(), automation::ArrayType::Object);
    EXPECT_EQ(array.at(1).toObject(), inner);
    EXPECT_EQ(proxy->get(u"Echo", Variant(ObjectRef())).toObject(), nullptr);
}

}  // namespace
