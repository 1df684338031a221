#include "app/TMessageFilter.h"

#include <gtest/gtest.h>

#include <objbase.h>

namespace {

using app::TMessageFilter;
using Microsoft::WRL::ComPtr;

// The answers COM gets from the filter. Wine never hands a server's retry-later to a message
// filter, so the policy is checked by calling the filter as COM would.
TEST(TMessageFilter, AnswersAsTheRetryPolicySays)
{
    ComPtr<TMessageFilter> filter = TMessageFilter::Create();
    struct RejectCase {
        DWORD rejectType;
        DWORD expected;
    };
    const RejectCase cases[] = {
        {SERVERCALL_RETRYLATER, 1000},
        {SERVERCALL_REJECTED, static_cast<DWORD>(-1)},
        {SERVERCALL_ISHANDLED, static_cast<DWORD>(-1)},
        {7, static_cast<DWORD>(-1)},
    };
    for (const RejectCase& c : cases) {
        SCOPED_TRACE(c.rejectType);
        // However long the call has already waited, a busy server is tried again.
        for (DWORD waited : {0ul, 60'000ul, 0xFFFFFFF0ul})
            EXPECT_EQ(filter->RetryRejectedCall(nullptr, waited, c.rejectType), c.expected);
    }
    for (DWORD callType : {CALLTYPE_TOPLEVEL, CALLTYPE_NESTED, CALLTYPE_ASYNC, CALLTYPE_TOPLEVEL_CALLPENDING,
                           CALLTYPE_ASYNC_CALLPENDING}) {
        SCOPED_TRACE(callType);
        EXPECT_EQ(filter->HandleInComingCall(callType, nullptr, 0, nullptr), static_cast<DWORD>(SERVERCALL_ISHANDLED));
    }
    for (DWORD pendingType : {PENDINGTYPE_TOPLEVEL, PENDINGTYPE_NESTED})
        EXPECT_EQ(filter->MessagePending(nullptr, 5000, pendingType), static_cast<DWORD>(PENDINGMSG_WAITNOPROCESS));
}

// A filter that only counts its references, to see what the message filter does with the
// filter it replaces.
class RecordingFilter final : public IMessageFilter {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMessageFilter)) {
            *object = static_cast<IMessageFilter*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override { return 0; }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return 0; }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return 0; }

    ULONG references = 1;  // the test's own
};

class Apartment : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
    void TearDown() override { CoUninitialize(); }

    // The thread's filter right now, put back at once.
    static IMessageFilter* currentFilter()
    {
        IMessageFilter* current = nullptr;
        CoRegisterMessageFilter(nullptr, &current);
        IMessageFilter* none = nullptr;
        CoRegisterMessageFilter(current, &none);
        if (current)
            current->Release();
        return current;
    }
};

TEST_F(Apartment, RegisterKeepsThePreviousFilterAndRevokePutsItBack)
{
    RecordingFilter previous;
    IMessageFilter* nothing = nullptr;
    ASSERT_EQ(CoRegisterMessageFilter(&previous, &nothing), S_OK);
    EXPECT_EQ(nothing, nullptr);
    EXPECT_EQ(previous.references, 2u);

    ComPtr<TMessageFilter> filter = TMessageFilter::Create();
    ASSERT_EQ(filter->RegisterFilter(), S_OK);
    EXPECT_EQ(currentFilter(), filter.Get());
    // COM's reference to the previous filter now belongs to FOldFilter: no reference is lost.
    EXPECT_EQ(previous.references, 2u);
    // One reference is ours, one COM's.
    EXPECT_EQ(filter->AddRef(), 3u);
    filter->Release();

    ASSERT_EQ(filter->RevokeFilter(), S_OK);
    EXPECT_EQ(currentFilter(), &previous);
    EXPECT_EQ(previous.references, 2u);
    // COM's reference came back and was dropped: only ours is left, so releasing it ends the
    // filter's life.
    EXPECT_EQ(filter->AddRef(), 2u);
    filter->Release();

    CoRegisterMessageFilter(nullptr, &nothing);
    ASSERT_EQ(nothing, &previous);
    nothing->Release();
    EXPECT_EQ(previous.references, 1u);
}

TEST_F(Apartment, WithoutAPreviousFilterRevokeLeavesNone)
{
    ComPtr<TMessageFilter> filter = TMessageFilter::Create();
    ASSERT_EQ(filter->RegisterFilter(), S_OK);
    EXPECT_EQ(filter->RegisterFilter(), S_OK);  // a second registration changes nothing
    EXPECT_EQ(currentFilter(), filter.Get());
    ASSERT_EQ(filter->RevokeFilter(), S_OK);
    EXPECT_EQ(currentFilter(), nullptr);
    EXPECT_EQ(filter->AddRef(), 2u);
    filter->Release();
}

}  // namespace
