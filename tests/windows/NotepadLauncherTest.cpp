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

// Notepad comes up on the list file, named by its full path, whatever the path holds: unquoted,
// a blank would split it, and no shell may read `;`, `&`, `^`, `$()` or quotes in it. The
// launcher returns without waiting for Notepad.
TEST(NotepadLauncher, OpensTheListFileInNotepad)
{
    struct Case {
        const wchar_t* folder;
        const wchar_t* stem;  // what Notepad's title shows of the file
    } cases[] = {
        {L"tag lists", L"KelvoEditTagList"},
        {L"a;b & c ^d", L"List $(x) 'q' %PATH%"},
        {L"図面 フォルダ", L"タグ 一覧"},
    };
    testing_support::TemporaryFolder folder;
    for (const Case& c : cases) {
        const auto path = folder.path() / c.folder / (std::wstring(c.stem) + L".txt");
        SCOPED_TRACE(&c - cases);
        std::filesystem::create_directories(path.parent_path());
        testing_support::writeBytes(path, "NAME:Device\r\n");

        ASSERT_TRUE(app::NotepadLauncher::launch(0, path));

        // Notepad starts in its own process; its window appears within a few seconds. This is
        // a wait for an event, not a timing check.
        FoundWindow search{c.stem};
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
}

}  // namespace
