#include "app/NotepadLauncher.h"

#include <windows.h>
#include <shellapi.h>

namespace app {

void NotepadLauncher::open(const std::filesystem::path& path)
{
    launch(owner_, path);
}

bool NotepadLauncher::launch(intptr_t ownerWindow, const std::filesystem::path& path)
{
    // Notepad splits its command line at blanks unless the path is quoted.
    const std::wstring parameter = L"\"" + path.wstring() + L"\"";
    const HINSTANCE result = ShellExecuteW(reinterpret_cast<HWND>(ownerWindow), L"open", L"Notepad",
                                           parameter.c_str(), nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace app
