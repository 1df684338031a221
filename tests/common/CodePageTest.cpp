#include "common/CodePage.h"

#include <gtest/gtest.h>

namespace {

using common::decodeCodePage;
using common::encodeCodePage;

struct CodePageCase {
    const char* name;
    int codePage;
    std::string bytes;
    std::u16string text;
};

class CodePageRoundTrip : public ::testing::TestWithParam<CodePageCase> {};

TEST_P(CodePageRoundTrip, DecodesAndEncodesTheSameBytes)
{
    const CodePageCase& c = GetParam();
    EXPECT_EQ(decodeCodePage(c.bytes, c.codePage), c.text);
    const auto encoded = encodeCodePage(c.text, c.codePage);
    ASSERT_TRUE(encoded.has_value());
    EXPECT_EQ(*encoded, c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CodePageRoundTrip,
    ::testing::Values(
        CodePageCase{"Empty", 932, "", u""},
        CodePageCase{"Ascii", 932, "PIN1,IOADRS", u"PIN1,IOADRS"},
        // Backslash and tilde stay ASCII in the Windows form of Shift_JIS.
        CodePageCase{"BackslashAndTilde", 932, "C:\\a~b", u"C:\\a~b"},
        CodePageCase{"Kanji", 932, "\x8B\x40\x8A\xED\x96\xBC", u"機器名"},
        CodePageCase{"FullWidthDigitAndKatakana", 932, "\x83\x52\x83\x81\x83\x93\x83\x67\x82\x50", u"コメント１"},
        CodePageCase{"HalfWidthKatakana", 932, "\xB1\xB2", u"ｱｲ"},
        CodePageCase{"NecSpecialCharacters", 932, "\x87\x40\x87\x54", u"①Ⅰ"},
        CodePageCase{"WesternCodePage", 1252, "caf\xE9", u"café"},
        CodePageCase{"Utf8", 65001, "\xE7\xB7\x9A", u"線"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CodePage, BytesWithoutACharacterBecomeReplacementCharacters)
{
    // A lead byte at the end of the text has no trail byte.
    EXPECT_EQ(decodeCodePage("A\x82", 932), u"A\uFFFD");
    // 0x82 0x20 is no character; the space after it is kept.
    const std::u16string broken = decodeCodePage("\x82 B", 932);
    EXPECT_EQ(broken.front(), u'\uFFFD');
    EXPECT_EQ(broken.substr(broken.size() - 2), u" B");
}

TEST(CodePage, TextOutsideTheCodePageIsNotEncoded)
{
    // No best-fit substitutes: e-acute and the yen sign are not silently turned into 'e' or '\\'.
    const std::u16string unmappable[] = {u"caf\u00E9", u"\u00A5", u"a\U0001F600", std::u16string(u"x\xD800y", 3),
                                         // Characters that are invisible are still characters.
                                         u"keis\u00AD", u"a\u200Bb", u"\uFEFF", u"\u845B\U000E0100"};
    for (size_t i = 0; i < std::size(unmappable); ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(encodeCodePage(unmappable[i], 932).has_value());
    }
    EXPECT_FALSE(encodeCodePage(u"線", 1252).has_value());
}

TEST(CodePage, PlatformWithoutAnsiCodePageUsesJapanese)
{
#ifndef _WIN32
    EXPECT_EQ(common::ansiCodePage(), 932);
#else
    EXPECT_GT(common::ansiCodePage(), 0);
#endif
}

}  // namespace
