#include "app/ProfileFile.h"

#include "common/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <variant>
#include <vector>

namespace {

namespace fs = std::filesystem;
using app::ProfileFile;
using testing_support::readBytes;
using testing_support::TemporaryFolder;
using testing_support::writeBytes;

std::wstring wide(std::u16string_view text)
{
    return std::wstring(text.begin(), text.end());
}

// The settings' own room for a value: 2047 characters and the terminator.
std::u16string win32Read(const fs::path& path, std::u16string_view section, std::u16string_view key,
                         std::u16string_view defaultValue)
{
    wchar_t buffer[2048];
    const DWORD length = GetPrivateProfileStringW(wide(section).c_str(), wide(key).c_str(), wide(defaultValue).c_str(),
                                                  buffer, 2048, path.wstring().c_str());
    return std::u16string(buffer, buffer + length);
}

void win32Write(const fs::path& path, std::u16string_view section, std::u16string_view key, std::u16string_view value)
{
    ASSERT_TRUE(WritePrivateProfileStringW(wide(section).c_str(), wide(key).c_str(), wide(value).c_str(),
                                           path.wstring().c_str()));
}

struct Write {
    std::u16string section, key, value;
};
struct Read {
    std::u16string section, key, defaultValue;
};
using Step = std::variant<Write, Read>;

struct ProfileScript {
    const char* name;
    std::string initialBytes;  // empty: no file
    std::vector<Step> steps;
};

std::string utf16le(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// The settings' keys in the order the program writes them at close.
std::vector<Step> settingsWrite()
{
    return {Write{u"KelvoEdit", u"Left", u"312"},
            Write{u"KelvoEdit", u"Top", u"-40"},
            Write{u"Target", u"ProgID", u"BricscadApp.AcadApplication"},
            Write{u"KelvoEdit", u"Sort", u"1"},
            Write{u"KelvoEdit", u"AttTag", u"JCMNT1:コメント１"},
            Write{u"KelvoEdit", u"AttTagIndex2", u"0"},
            Write{u"KelvoEdit", u"Cursor", u"1"},
            Write{u"KelvoEdit", u"AttTagIndex1", u"-1"},
            Read{u"KelvoEdit", u"AttTag", u""},
            Read{u"KelvoEdit", u"Left", u"7"},
            Read{u"Target", u"ProgID", u""}};
}

class ProfileAgainstWin32 : public ::testing::TestWithParam<ProfileScript> {};

// The same calls on our settings file and on the Windows profile functions leave the same
// bytes on disk after every write and read the same values.
TEST_P(ProfileAgainstWin32, SameCallsGiveTheSameBytes)
{
    ASSERT_EQ(GetACP(), 932u) << "the Windows suite runs under a Japanese locale (scripts/windows-tests.sh)";
    const ProfileScript& script = GetParam();
    TemporaryFolder folder;
    const fs::path ours = folder / "ours.ini";
    const fs::path theirs = folder / "theirs.ini";
    if (!script.initialBytes.empty()) {
        writeBytes(ours, script.initialBytes);
        writeBytes(theirs, script.initialBytes);
    }
    ProfileFile file(ours);
    int stepNumber = 0;
    for (const Step& step : script.steps) {
        SCOPED_TRACE("step " + std::to_string(++stepNumber));
        if (const Write* write = std::get_if<Write>(&step)) {
            file.writeString(write->section, write->key, write->value);
            win32Write(theirs, write->section, write->key, write->value);
            ASSERT_EQ(readBytes(ours), readBytes(theirs));
        } else {
            const Read& read = std::get<Read>(step);
            EXPECT_EQ(file.readString(read.section, read.key, read.defaultValue),
                      win32Read(theirs, read.section, read.key, read.defaultValue));
        }
    }
}

const std::u16string kLongValue = [] {
    std::u16string value;
    for (int i = 0; i < 3000; ++i)
        value += static_cast<char16_t>(i % 2 ? u'あ' : u'A' + i % 26);
    return value;
}();

INSTANTIATE_TEST_SUITE_P(
    Scripts, ProfileAgainstWin32,
    testing::Values(
        ProfileScript{"NewFileInTheAnsiCodePage", "", settingsWrite()},
        ProfileScript{"Utf16FileStaysUtf16", utf16le(u"[KelvoEdit]\r\nLeft=5\r\n"), settingsWrite()},
        ProfileScript{"MissingSectionAndKey",
                      "; kept\r\n[Other]\r\nA=1\r\n",
                      {Read{u"KelvoEdit", u"Left", u"160"}, Read{u"Other", u"B", u"x"},
                       Write{u"KelvoEdit", u"Left", u"160"}, Write{u"Other", u"B", u"2"},
                       Read{u"other", u"b", u""}}},
        // No blank lines here: Wine drops them when it rewrites a file, Windows keeps them, and
        // so does ProfileFile (the app suite checks every other line stays byte for byte).
        ProfileScript{"ExistingKeysInOtherCaseAndSpacing",
                      "[kelvoedit]\r\n  left = 100  \r\nSORT=0\r\n[Target]\r\nProgID=\"Quoted\"\r\n",
                      {Read{u"KelvoEdit", u"Left", u""}, Read{u"Target", u"ProgID", u""},
                       Write{u"KelvoEdit", u"Left", u"101"}, Write{u"KelvoEdit", u"Sort", u"1"},
                       Write{u"Target", u"ProgID", u"nanoCAD.Application"}}},
        ProfileScript{"LongValuesAreCutAt2047Characters",
                      "",
                      {Write{u"KelvoEdit", u"AttTag", kLongValue}, Read{u"KelvoEdit", u"AttTag", u""},
                       Write{u"KelvoEdit", u"AttTag", kLongValue.substr(0, 2047)},
                       Read{u"KelvoEdit", u"AttTag", u""}}}),
    [](const testing::TestParamInfo<ProfileScript>& info) { return std::string(info.param.name); });

// Numbers the profile functions wrote are read back by the settings' rules, hexadecimal included.
TEST(ProfileNumbers, ReadsWhatTheProfileFunctionsWrote)
{
    TemporaryFolder folder;
    const fs::path path = folder / "KelvoEdit.ini";
    struct NumberCase {
        std::u16string text;
        int32_t expected;
    };
    const NumberCase cases[] = {
        {u"0x1", 1}, {u"0X1f", 31}, {u"0x", -7}, {u"12", 12}, {u"-3", -3}, {u"abc", -7}, {u"0xFFFFFFFF", -1},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        win32Write(path, u"KelvoEdit", u"Sentou", c.text);
        EXPECT_EQ(ProfileFile(path).readInt(u"KelvoEdit", u"Sentou", -7), c.expected);
    }
}

}  // namespace
