// A file error on Windows shows the path as Windows writes it and the system's reason in the
// user's language, readable: the reason comes in the ANSI code page from the C++ library,
// which on a Japanese system is not UTF-8.
#include "common/AtomicFile.h"
#include "common/FileError.h"
#include "common/Utf.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(FileErrorWin32, NamesThePathWithBackslashesAndGivesTheSystemsReasonInUtf8)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const fs::path folder = fs::path(temp) / (L"kelvo-file-error-" + std::to_wstring(GetCurrentProcessId()));
    fs::create_directories(folder / L"kelvoedit.ini");  // a folder where the file should be
    const fs::path target = fs::path(folder.generic_wstring()) / L"kelvoedit.ini";  // written with slashes
    std::string message;
    try {
        common::writeFileAtomically(target, "x");
    } catch (const common::FileError& error) {
        message = error.what();
    }
    fs::remove_all(folder);
    ASSERT_FALSE(message.empty()) << "the write did not fail";
    const std::u16string text = common::fromUtf8(message);
    EXPECT_TRUE(common::isWellFormedUtf16(text));
    const std::wstring shown = folder.wstring() + L"\\kelvoedit.ini";  // GetTempPathW gives backslashes
    EXPECT_EQ(text.rfind(std::u16string(shown.begin(), shown.end()), 0), 0u) << message;
    EXPECT_EQ(text.find(u'/'), std::u16string::npos) << message;
    // Under a Japanese locale the reason is Japanese ("アクセスが拒否されました。" or the like).
    if (GetACP() == 932) {
        EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x3040 && c <= 0x30FF; }))
            << message;
    }
}

}  // namespace
