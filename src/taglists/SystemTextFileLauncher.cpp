#include "taglists/SystemTextFileLauncher.h"

#include <QWidget>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#else
#include <QDesktopServices>
#include <QString>
#include <QUrl>
#endif

namespace taglists {

void SystemTextFileLauncher::open(const std::filesystem::path& path)
{
#ifdef _WIN32
    // The program neither waits for the editor nor looks at the result.
    const HWND owner = owner_ ? reinterpret_cast<HWND>(owner_->winId()) : nullptr;
    ShellExecuteW(owner, L"open", L"Notepad", path.wstring().c_str(), nullptr, SW_SHOWNORMAL);
#else
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdU16String(path.u16string())));
#endif
}

}  // namespace taglists
