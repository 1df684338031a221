#include "app/InstanceMarkerWindow.h"
#include "app/SingleInstanceLock.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>

namespace {

// A running instance owns a hidden top-level window of class TKelvoMainForm; a second start
// finds it by that class alone and ends.
TEST(SingleInstance, FoundByTheWindowClassWhileTheMarkerWindowLives)
{
    ASSERT_EQ(FindWindowW(L"TKelvoMainForm", nullptr), nullptr);
    app::SingleInstanceLock before;
    EXPECT_TRUE(before.tryAcquire());
    {
        app::InstanceMarkerWindow marker;
        const HWND found = FindWindowW(L"TKelvoMainForm", nullptr);
        ASSERT_NE(found, nullptr);
        EXPECT_FALSE(IsWindowVisible(found));
        EXPECT_EQ(GetParent(found), nullptr);

        app::SingleInstanceLock second;
        EXPECT_FALSE(second.tryAcquire());
    }
    app::SingleInstanceLock after;
    EXPECT_TRUE(after.tryAcquire());
}

// Another process sees the marker too: FindWindowW looks at every top-level window of the
// desktop. The child is a second copy of this program that only looks.
TEST(SingleInstance, AnotherProcessFindsTheMarker)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    auto runProbe = [&]() -> std::optional<DWORD> {
        std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --probe-single-instance";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process))
            return std::nullopt;
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return code;
    };
    EXPECT_EQ(runProbe(), std::optional<DWORD>(0));  // 0: no instance found
    app::InstanceMarkerWindow marker;
    EXPECT_EQ(runProbe(), std::optional<DWORD>(1));
}

// The probe: exit code 1 when an instance runs. It runs before any test when the argument is
// given, from a static initialiser, so that it needs no test main of its own.
const bool probed = [] {
    const wchar_t* commandLine = GetCommandLineW();
    if (wcsstr(commandLine, L"--probe-single-instance") != nullptr) {
        app::SingleInstanceLock lock;
        ExitProcess(lock.tryAcquire() ? 0 : 1);
    }
    return false;
}();

}  // namespace
