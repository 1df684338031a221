#include "app/ProfileFile.h"

#include "common/FileError.h"
#include "common/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using app::ProfileFile;
using testing_support::readBytes;
using testing_support::TemporaryFolder;
using testing_support::writeBytes;

// "JCMNT1:コメント１" in code page 932.
const std::string kCommentTagSjis = "JCMNT1:\x83\x52\x83\x81\x83\x93\x83\x67\x82\x50";

std::string utf16le(std::u16string_view text, bool bom = true)
{
    std::string bytes = bom ? "\xFF\xFE" : "";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

class ProfileFileTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    fs::path path = folder / "KelvoEdit.ini";
    ProfileFile file{path};
};

TEST_F(ProfileFileTest, NewFileIsWrittenInTheAnsiCodePage)
{
    file.writeString(u"KelvoEdit", u"AttTag", u"JCMNT1:コメント１");
    file.writeInt(u"KelvoEdit", u"Left", -12);
    file.writeString(u"Target", u"ProgID", u"BricscadApp.AcadApplication");
    file.writeBool(u"KelvoEdit", u"Sort", true);
    file.writeBool(u"KelvoEdit", u"Sentou", false);

    EXPECT_EQ(readBytes(path), "[KelvoEdit]\r\nAttTag=" + kCommentTagSjis +
                                   "\r\nLeft=-12\r\nSort=1\r\nSentou=0\r\n"
                                   "[Target]\r\nProgID=BricscadApp.AcadApplication\r\n");
    EXPECT_EQ(file.readString(u"KelvoEdit", u"AttTag", u""), u"JCMNT1:コメント１");
}

TEST_F(ProfileFileTest, WritingAKeyKeepsEveryOtherLineByteForByte)
{
    // Comments, blank lines, unknown keys, LF and CR LF line ends, a code-page-932 character
    // that does not survive decoding and encoding (NEC-selected 0xED40), a stray byte, and a
    // last line without line end.
    const std::string before =
        "; settings\n"
        "[KelvoEdit]\r\n"
        "  Left = 100  \r\n"
        "Unknown=\xED\x40 \x82\r\n"
        "\r\n"
        "[Other]\n"
        "Left=7\n"
        "[Target]\r\n"
        "ProgID=Old.Application";
    writeBytes(path, before);

    file.writeInt(u"KelvoEdit", u"Left", 250);
    EXPECT_EQ(readBytes(path),
              "; settings\n"
              "[KelvoEdit]\r\n"
              "Left=250\r\n"
              "Unknown=\xED\x40 \x82\r\n"
              "\r\n"
              "[Other]\n"
              "Left=7\n"
              "[Target]\r\n"
              "ProgID=Old.Application");

    file.writeString(u"Target", u"ProgID", u"New.Application");
    file.writeInt(u"KelvoEdit", u"Top", 5);  // new key: after the section's last line, before the blank line
    file.writeString(u"Added", u"Key", u"v");  // new section at the end
    EXPECT_EQ(readBytes(path),
              "; settings\n"
              "[KelvoEdit]\r\n"
              "Left=250\r\n"
              "Unknown=\xED\x40 \x82\r\n"
              "Top=5\n"
              "\r\n"
              "[Other]\n"
              "Left=7\n"
              "[Target]\r\n"
              "ProgID=New.Application\n"
              "[Added]\n"
              "Key=v\n");
}

TEST_F(ProfileFileTest, NamesMatchRegardlessOfCaseAndTheFirstOneCounts)
{
    writeBytes(path,
               "[kelvoedit]\r\nLEFT=1\r\nleft=2\r\n"
               "[KELVOEDIT]\r\nTop=3\r\n");
    EXPECT_EQ(file.readInt(u"KelvoEdit", u"Left", 0), 1);
    // Only the first section of a name is looked at.
    EXPECT_EQ(file.readInt(u"KelvoEdit", u"Top", -1), -1);

    file.writeInt(u"KelvoEdit", u"left", 9);
    file.writeInt(u"KelvoEdit", u"Top", 4);
    EXPECT_EQ(readBytes(path),
              "[kelvoedit]\r\nLEFT=9\r\nleft=2\r\nTop=4\r\n"
              "[KELVOEDIT]\r\nTop=3\r\n");
}

TEST_F(ProfileFileTest, ValuesAreReadAsTheProfileFunctionsReturnThem)
{
    struct Case {
        const char* line;
        std::u16string expected;
    };
    const Case cases[] = {
        {"Key=  padded value \t", u"padded value"},
        {"Key=\"quoted \"", u"quoted "},
        {"Key='single'", u"single"},
        {"Key=\"\"\"twice\"\"\"", u"\"\"twice\"\""},  // one pair only
        {"Key=\"unbalanced", u"\"unbalanced"},
        {"Key=\"mixed'", u"\"mixed'"},
        {"Key=\"", u"\""},
        {"Key=a=b", u"a=b"},
        {"Key=", u""},
        {" Key =x", u"x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        writeBytes(path, std::string("[S]\r\n") + c.line + "\r\n");
        EXPECT_EQ(file.readString(u"S", u"Key", u"default"), c.expected);
    }
}

TEST_F(ProfileFileTest, MissingValuesGiveTheDefault)
{
    EXPECT_EQ(file.readString(u"S", u"Key", u"default"), u"default");
    writeBytes(path, "Key=outside any section\r\n[S]\r\nOther=1\r\nKey\r\n[T]\r\nKey=elsewhere\r\n");
    EXPECT_EQ(file.readString(u"S", u"Key", u"default"), u"default");
    EXPECT_EQ(file.readString(u"Missing", u"Key", u"default"), u"default");
}

TEST_F(ProfileFileTest, ValuesAreCutAt2047Characters)
{
    const std::string exact(2047, 'a');
    const std::string longer = std::string(2047, 'b') + "cdef";
    writeBytes(path, "[S]\r\nExact=" + exact + "\r\nLonger=" + longer + "\r\n");
    EXPECT_EQ(file.readString(u"S", u"Exact", u""), std::u16string(2047, u'a'));
    EXPECT_EQ(file.readString(u"S", u"Longer", u""), std::u16string(2047, u'b'));
    EXPECT_EQ(file.readString(u"S", u"Missing", std::u16string(3000, u'd')), std::u16string(2047, u'd'));
}

TEST(ProfileInt, ParsesDecimalAndHexadecimal)
{
    struct Case {
        std::u16string text;
        int32_t expected;
    };
    const int32_t d = -77;
    const Case cases[] = {
        {u"0x1", 1},        {u"0X1F", 31},       {u"0xffffffff", -1},  {u"0x100000000", d},
        {u"0x", d},         {u"0xg", d},         {u"0x-1", d},         {u"12", 12},
        {u"-12", -12},      {u"+5", 5},          {u"007", 7},          {u"2147483647", 2147483647},
        {u"-2147483648", INT32_MIN},             {u"2147483648", d},   {u"-2147483649", d},
        {u"yes", d},        {u"abc", d},         {u"12abc", d},        {u"", d},
        {u"-", d},          {u"1 2", d},         {u"１２", d},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        EXPECT_EQ(app::parseProfileInt(c.text, d), c.expected);
    }
}

TEST_F(ProfileFileTest, IntegersAndBooleansComeFromTheTrimmedValue)
{
    writeBytes(path, "[KelvoEdit]\r\nSentou=0x1\r\nSort=yes\r\nLeft=abc\r\nTop= 42 \r\nZero=0\r\nQuoted=\"3\"\r\n");
    EXPECT_TRUE(file.readBool(u"KelvoEdit", u"Sentou", false));
    EXPECT_TRUE(file.readBool(u"KelvoEdit", u"Sort", true));
    EXPECT_FALSE(file.readBool(u"KelvoEdit", u"Sort", false));
    EXPECT_EQ(file.readInt(u"KelvoEdit", u"Left", 123), 123);
    EXPECT_EQ(file.readInt(u"KelvoEdit", u"Top", 0), 42);
    EXPECT_FALSE(file.readBool(u"KelvoEdit", u"Zero", true));
    EXPECT_EQ(file.readInt(u"KelvoEdit", u"Quoted", 0), 3);
}

TEST_F(ProfileFileTest, Utf16FileStaysUtf16)
{
    const std::string before = utf16le(u"[KelvoEdit]\r\nAttTag=線番\r\n; コメント\r\n[Target]\r\nProgID=X\r\n");
    writeBytes(path, before);
    EXPECT_EQ(file.readString(u"KelvoEdit", u"AttTag", u""), u"線番");

    file.writeString(u"KelvoEdit", u"AttTag", u"機器😀");
    file.writeInt(u"KelvoEdit", u"Left", 3);
    EXPECT_EQ(readBytes(path),
              utf16le(u"[KelvoEdit]\r\nAttTag=機器😀\r\n; コメント\r\nLeft=3\r\n[Target]\r\nProgID=X\r\n"));
    EXPECT_EQ(file.readString(u"KelvoEdit", u"AttTag", u""), u"機器😀");
}

TEST_F(ProfileFileTest, BigEndianUtf16FileStaysBigEndian)
{
    const std::string header("\xFE\xFF" "\0[" "\0S" "\0]" "\0\r" "\0\n" "\0K" "\0=", 16);
    writeBytes(path, header + std::string("\0" "0", 2));
    EXPECT_EQ(file.readInt(u"S", u"K", -1), 0);
    file.writeString(u"S", u"K", u"\u7DDA");
    EXPECT_EQ(readBytes(path), header + "\x7D\xDA");
}

TEST_F(ProfileFileTest, ValueOutsideTheAnsiCodePageTurnsTheFileIntoUtf16)
{
    writeBytes(path, "; \x83\x52\x83\x81\x83\x93\x83\x67\n[KelvoEdit]\nAttTag=old\n");
    file.writeString(u"KelvoEdit", u"AttTag", u"Café №");
    EXPECT_EQ(readBytes(path), utf16le(u"; コメント\n[KelvoEdit]\nAttTag=Café №\n"));
    EXPECT_EQ(file.readString(u"KelvoEdit", u"AttTag", u""), u"Café №");
}

TEST_F(ProfileFileTest, LineBreaksInAValueCannotAddKeys)
{
    file.writeString(u"KelvoEdit", u"AttTag", u"a\r\n[Target]\r\nProgID=Evil");
    EXPECT_EQ(readBytes(path), "[KelvoEdit]\r\nAttTag=a  [Target]  ProgID=Evil\r\n");
    EXPECT_EQ(file.readString(u"Target", u"ProgID", u"default"), u"default");
}

TEST_F(ProfileFileTest, UnreadableFileReadsDefaultsAndRefusesWrites)
{
    fs::create_directory(path);
    EXPECT_EQ(file.readInt(u"KelvoEdit", u"Left", 5), 5);
    EXPECT_THROW(file.writeInt(u"KelvoEdit", u"Left", 1), common::FileError);
    EXPECT_TRUE(fs::is_directory(path));
}

}  // namespace
