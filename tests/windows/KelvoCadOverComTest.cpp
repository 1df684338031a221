#include "app/TMessageFilter.h"
#include "automation/AutomationError.h"
#include "automation/com/ComRunningObjects.h"
#include "cadlink/CadConnection.h"
#include "cadlink/platform/Win32WindowServices.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <functional>
#include <string>

namespace {

using automation::AutomationError;
using automation::ObjectRef;
using automation::Variant;
namespace hr = automation::hr;

constexpr char16_t kProgId[] = u"Kelvo.TestCad";
constexpr char16_t kControlProgId[] = u"Kelvo.TestCad.Control";

int32_t errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const AutomationError& error) {
        return error.code();
    }
    return 0;
}

// One kelvocad-com process for the suite, attached by ProgID through the running object table,
// with KelvoEdit's message filter on this thread as in the program.
class KelvoCadOverCom : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        filter = app::TMessageFilter::Create();
        ASSERT_EQ(filter->RegisterFilter(), S_OK);

        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring folder(self);
        folder.resize(folder.find_last_of(L"\\/") + 1);
        std::wstring commandLine = L"\"" + folder + L"kelvocad-com.exe\" --progid Kelvo.TestCad";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &server));
        // Wait for the server to announce itself (an event, not a timing check).
        automation::com::ComRunningObjects table;
        for (int attempt = 0; attempt < 600; ++attempt) {
            try {
                if (table.isRunning(kProgId) && table.isRunning(kControlProgId))
                    break;
            } catch (const AutomationError&) {
                // Not registered yet.
            }
            ASSERT_EQ(WaitForSingleObject(server.hProcess, 50), static_cast<DWORD>(WAIT_TIMEOUT))
                << "kelvocad-com ended early";
        }
        control = table.activeObject(kControlProgId);
    }

    static void TearDownTestSuite()
    {
        if (control) {
            try {
                control->call(u"Quit");
            } catch (const AutomationError&) {
            }
            control.reset();
        }
        if (server.hProcess) {
            if (WaitForSingleObject(server.hProcess, 30000) != WAIT_OBJECT_0)
                TerminateProcess(server.hProcess, 1);
            CloseHandle(server.hThread);
            CloseHandle(server.hProcess);
        }
        if (filter)
            filter->RevokeFilter();
        filter.Reset();
        CoUninitialize();
    }

    void SetUp() override
    {
        ASSERT_TRUE(control) << "kelvocad-com did not start";
        baseline = control->get(u"LiveObjects").toInt();
    }
    void TearDown() override
    {
        // Every object this test obtained has been released on the server.
        if (control)
            EXPECT_EQ(control->get(u"LiveObjects").toInt(), baseline);
    }

    ObjectRef application() { return table.activeObject(kProgId); }
    std::u16string textHandle(size_t index) { return control->get(u"TextHandles").at(index).toString(); }

    static inline PROCESS_INFORMATION server{};
    static inline Microsoft::WRL::ComPtr<app::TMessageFilter> filter;
    static inline ObjectRef control;
    automation::com::ComRunningObjects table;
    int32_t baseline = 0;
};

TEST_F(KelvoCadOverCom, AttachesByProgIdAndTellsUnknownOnesApart)
{
    EXPECT_TRUE(table.isRunning(kProgId));
    EXPECT_EQ(errorOf([&] { table.isRunning(u"Kelvo.NobodyRegisteredThis"); }), hr::InvalidClassString);
    EXPECT_EQ(errorOf([&] { table.activeObject(u"Kelvo.NobodyRegisteredThis"); }), hr::InvalidClassString);

    ObjectRef app = application();
    ObjectRef document = app->get(u"ActiveDocument").toObject();
    ASSERT_TRUE(document);
    EXPECT_EQ(document->get(u"SelectionSets").toObject()->get(u"Count").toInt(), 0);
    const Variant screen = document->call(u"GetVariable", {Variant(u"SCREENSIZE")});
    ASSERT_TRUE(screen.isArray());
    EXPECT_GT(screen.doubleAt(0), 0.0);
}

TEST_F(KelvoCadOverCom, TextsAreReadAndWrittenByHandle)
{
    ObjectRef document = application()->get(u"ActiveDocument").toObject();
    const std::u16string handle = textHandle(0);
    ObjectRef text = document->call(u"HandleToObject", {Variant(handle)}).toObject();
    EXPECT_EQ(text->get(u"Handle").toString(), handle);
    const std::u16string before = text->get(u"TextString").toString();

    text->put(u"TextString", Variant(u"新しい文字列"));
    EXPECT_EQ(text->get(u"textstring").toString(), u"新しい文字列");
    text->put(u"InsertionPoint", Variant::point(12.5, -3.0));
    const Variant point = text->get(u"InsertionPoint");
    EXPECT_EQ(point.arrayType(), automation::ArrayType::Double);
    EXPECT_EQ(point.arraySize(), 3u);
    EXPECT_EQ(point.doubleAt(0), 12.5);
    EXPECT_EQ(point.doubleAt(1), -3.0);
    text->put(u"TextString", Variant(before));

    // A handle that names nothing fails with the server's error and words.
    try {
        document->call(u"HandleToObject", {Variant(u"FFFFF")});
        ADD_FAILURE() << "no error";
    } catch (const AutomationError& error) {
        EXPECT_NE(error.code(), 0);
        EXPECT_FALSE(error.description().empty());
    }
    EXPECT_NE(errorOf([&] { text->get(u"NoSuchMember"); }), 0);
}

// A pick planned through the control object, with a filter of 16-bit group codes and variant
// values, as the TEXT acquisition sends it.
TEST_F(KelvoCadOverCom, PicksByScriptThroughSelectOnScreen)
{
    const std::u16string first = textHandle(0);
    const std::u16string second = textHandle(3);
    control->call(u"NextPickReturns", {Variant::variantArray({Variant(first), Variant(second)})});

    ObjectRef document = application()->get(u"ActiveDocument").toObject();
    ObjectRef sets = document->get(u"SelectionSets").toObject();
    ObjectRef set = sets->call(u"Add", {Variant(u"SSTEMP")}).toObject();
    set->call(u"SelectOnScreen", {Variant::int16Array({0}), Variant::variantArray({Variant(u"TEXT")})});
    ASSERT_EQ(set->get(u"Count").toInt(), 2);
    EXPECT_EQ(set->call(u"Item", {Variant(int32_t{0})}).toObject()->get(u"Handle").toString(), first);
    EXPECT_EQ(set->call(u"Item", {Variant(int32_t{1})}).toObject()->get(u"Handle").toString(), second);

    control->call(u"NextPickIsCancelled");
    set->call(u"Clear");
    // A cancelled pick may fail the call; either way nothing is selected.
    errorOf([&] { set->call(u"SelectOnScreen", {Variant::int16Array({0}), Variant::variantArray({Variant(u"TEXT")})}); });
    EXPECT_EQ(set->get(u"Count").toInt(), 0);
    set->call(u"Delete");
}

// The DISPID of a member is asked for once: a repeated member costs one round trip.
TEST_F(KelvoCadOverCom, RepeatedMembersCostOneRoundTrip)
{
    ObjectRef document = application()->get(u"ActiveDocument").toObject();
    ObjectRef text = document->call(u"HandleToObject", {Variant(textHandle(1))}).toObject();
    text->get(u"TextString");
    const Variant before = control->get(u"RoundTrips");
    for (int i = 0; i < 10; ++i)
        text->get(u"TextString");
    const Variant after = control->get(u"RoundTrips");
    EXPECT_EQ(after.at(0).toInt() - before.at(0).toInt(), 0) << "names looked up again";
    EXPECT_EQ(after.at(1).toInt() - before.at(1).toInt(), 10);
}

// The connection operations on the Windows platform: the running test through the running
// object table, the work selection set and the locked layers over COM, and the nanoCAD test
// by window title.
TEST_F(KelvoCadOverCom, ConnectionOperationsOverCom)
{
    struct NoWindow final : cadlink::OwnWindow {
        cadlink::WindowHandle handle() const override { return 0; }
        void minimize() override {}
        void showNormal() override {}
    } ownWindow;
    cadlink::platform::Win32WindowServices windows;
    cadlink::CadLink link{table, windows, ownWindow, kProgId};
    EXPECT_TRUE(cadlink::IsCadRunning(link));
    cadlink::CadLink unknown{table, windows, ownWindow, u"Kelvo.NobodyRegisteredThis"};
    EXPECT_EQ(errorOf([&] { cadlink::IsCadRunning(unknown); }), hr::InvalidClassString);
    cadlink::CadLink nano{table, windows, ownWindow, u"nanoCAD.Application"};
    EXPECT_FALSE(cadlink::IsCadRunning(nano));

    ObjectRef app = cadlink::getApplication(link);
    ObjectRef document = app->get(u"ActiveDocument").toObject();
    ObjectRef set = cadlink::AcquireWorkSelectionSet(*document);
    ASSERT_TRUE(set);
    ObjectRef again = cadlink::AcquireWorkSelectionSet(*document);
    ASSERT_TRUE(again);
    EXPECT_EQ(document->get(u"SelectionSets").toObject()->get(u"Count").toInt(), 1);
    cadlink::disposeWorkSelectionSet(again);
    cadlink::disposeWorkSelectionSet(set);

    const std::u16string locked = cadlink::lockedLayerList(*document);
    EXPECT_EQ(locked, u"\tTITLE BLOCK\t");
    EXPECT_FALSE(cadlink::isOnLockedLayer(locked, u"TITLE"));
}

}  // namespace
