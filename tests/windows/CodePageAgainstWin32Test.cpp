#include "taglists/ListFile.h"
#include "common/CodePage.h"

#include "common/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

using testing_support::TemporaryFolder;
using testing_support::writeBytes;

std::u16string win32Decode(std::string_view bytes, UINT codePage)
{
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return std::u16string(text.begin(), text.end());
}

struct ListBytes {
    const char* name;
    std::string bytes;  // one line, no line end
    std::string bytesBack = bytes;
};

class ListFileIn932 : public ::testing::TestWithParam<ListBytes> {};

// A tag list without a byte-order mark is read as the system reads its ANSI code page.
TEST_P(ListFileIn932, DecodesAsMultiByteToWideChar)
{
    ASSERT_EQ(GetACP(), 932u) << "the Windows suite runs under a Japanese locale (scripts/windows-tests.sh)";
    EXPECT_EQ(common::ansiCodePage(), 932);
    TemporaryFolder folder;
    const auto path = folder / "KelvoEditTagList.txt";
    writeBytes(path, GetParam().bytes + "\r\n");
    const auto content = taglists::readListFile(path);
    ASSERT_TRUE(content.has_value());
    ASSERT_EQ(content->lines.size(), 1u);
    EXPECT_EQ(content->encoding, taglists::TextEncoding::Ansi);
    EXPECT_EQ(content->lines[0], win32Decode(GetParam().bytes, 932));

    // And it is written back in the same bytes, unless the character has two codes (the IBM
    // extensions that repeat NEC's or JIS's characters): Windows writes the first code.
    taglists::writeListFile(path, content->lines, content->encoding);
    EXPECT_EQ(testing_support::readBytes(path), GetParam().bytesBack + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ListFileIn932,
    testing::Values(ListBytes{"Ascii", "NAME:Device"},
                    // JCMNT1:コメント１
                    ListBytes{"KatakanaAndFullWidthDigit", "JCMNT1:\x83\x52\x83\x81\x83\x93\x83\x67\x82\x50"},
                    // 機器名 (the second byte of 機 is a backslash)
                    ListBytes{"TrailByteIsABackslash", "NAME:\x8B\x40\x8A\xED\x96\xBC"},
                    // ｶﾀｶﾅ in single-byte half-width katakana
                    ListBytes{"HalfWidthKatakana", "\xB6\xC0\xB6\xC5"},
                    // ① and Ⅰ: NEC special characters
                    ListBytes{"NecSpecialCharacters", "\x87\x40\x87\x54"},
                    // ∵ and ￢ as IBM extensions: the same characters as JIS's 0x81E6, 0x81CA
                    ListBytes{"IbmExtensionsWithJisTwins", "\xFA\x5B\xFA\x54", "\x81\xE6\x81\xCA"},
                    // ～ (wave dash as Windows maps it) and －
                    ListBytes{"WaveDashAndMinus", "\x81\x60\x81\x7C"}),
    [](const testing::TestParamInfo<ListBytes>& info) { return std::string(info.param.name); });

// Bytes that are no character: Windows gives its default character, our decoder U+FFFD, so
// that a broken list is visibly broken; the rest of the line is the same.
TEST(CodePage932, BrokenBytesBecomeReplacementCharacters)
{
    const std::string bytes = "A\x82 B\x85\x40";
    const std::u16string ours = common::decodeCodePage(bytes, 932);
    EXPECT_EQ(ours.substr(0, 1), u"A");
    EXPECT_NE(ours.find(u'\uFFFD'), std::u16string::npos);
    EXPECT_NE(ours.find(u" B"), std::u16string::npos);
}

}  // namespace
