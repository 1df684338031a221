#include "app/NotepadLauncher.h"

#include "common/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

struct FoundWindow {
    std::wstring titlePart;
    HWND window = nullptr;
};

BOOL CALLBACK findByTitle(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<FoundWindow*>(parameter);
    wchar_t title[512] = {};
    GetWindowTextW(window, title, 512);
    if (IsWindowVisible(window) && std::wstring(title).find(search->titlePart) != std::wstring::npos) {
        search->window = window;
        return FALSE;
    }
    return TRUE;
}

// Notepad comes up on the tag list, named by its full path with a blank in it (unquoted, it
// would open a file "tag"); the launcher returns without waiting for it.
TEST(NotepadLauncher, OpensTheListFileInNotepad)
{
    testing_support::TemporaryFolder folder;
    const auto path = folder / "tag lists" / "KelvoEditTagList.txt";
    std::filesystem::create_directories(path.parent_path());
    testing_support::writeBytes(path, "NAME:Device\r\n");

    ASSERT_TRUE(app::NotepadLauncher::launch(0, path));

    // Notepad starts in its own process; its window appears within a few seconds. This is a
    // wait for an event, not a timing check.
    FoundWindow search{L"KelvoEditTagList"};
    for (int attempt = 0; attempt < 300 && search.window == nullptr; ++attempt) {
        Sleep(100);
        EnumWindows(findByTitle, reinterpret_cast<LPARAM>(&search));
    }
    ASSERT_NE(search.window, nullptr) << "no Notepad window on the file";

    DWORD processId = 0;
    GetWindowThreadProcessId(search.window, &processId);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    PostMessageW(search.window, WM_CLOSE, 0, 0);
    if (process != nullptr) {
        if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0)
            TerminateProcess(process, 0);
        CloseHandle(process);
    }
}

}  // namespace
