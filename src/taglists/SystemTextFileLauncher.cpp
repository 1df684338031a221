#include "taglists/SystemTextFileLauncher.h"

#include <QWidget>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#else
#include <QFile>
#include <QProcess>
#include <QString>
#endif

namespace taglists {

void SystemTextFileLauncher::open(const std::filesystem::path& path)
{
#ifdef _WIN32
    // The program neither waits for the editor nor looks at the result.
    const HWND owner = owner_ ? reinterpret_cast<HWND>(owner_->winId()) : nullptr;
    // Notepad splits an unquoted parameter at blanks; a Windows path cannot hold a quote.
    const std::wstring parameter = L"\"" + path.wstring() + L"\"";
    ShellExecuteW(owner, L"open", L"Notepad", parameter.c_str(), nullptr, SW_SHOWNORMAL);
#else
    // The path is one element of the program's argument vector: no shell sees it, and the
    // editor gets the file's name rather than a URL it might not understand.
    QProcess::startDetached(QStringLiteral("xdg-open"), {QFile::decodeName(path.c_str())});
#endif
}

}  // namespace taglists
