#include "taglists/ListFile.h"

#include "common/FileError.h"
#include "common/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

namespace fs = std::filesystem;
using taglists::TextEncoding;
using testing_support::readBytes;
using testing_support::TemporaryFolder;
using testing_support::writeBytes;

using Lines = std::vector<std::u16string>;

std::string utf16(std::u16string_view text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

class ListFileTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    fs::path path = folder / "KelvoEditTagList.txt";
};

struct ReadCase {
    const char* name;
    std::string bytes;
    TextEncoding encoding;
    Lines lines;
};

class ListFileRead : public ListFileTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ListFileRead, DecodesByByteOrderMarkAndSplitsAtEveryLineEnd)
{
    writeBytes(path, GetParam().bytes);
    const auto content = taglists::readListFile(path);
    ASSERT_TRUE(content.has_value());
    EXPECT_EQ(content->encoding, GetParam().encoding);
    EXPECT_EQ(content->lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ListFileRead,
    ::testing::Values(
        ReadCase{"ShiftJisWithoutMark", "NAME:\x8B\x40\x8A\xED\x96\xBC\r\nSENBAN:\x90\xFC\x94\xD4\r\n",
                 TextEncoding::Ansi, {u"NAME:機器名", u"SENBAN:線番"}},
        ReadCase{"Utf8Mark", "\xEF\xBB\xBF" "NAME:\xE6\xA9\x9F\xE5\x99\xA8\r\n", TextEncoding::Utf8Bom, {u"NAME:機器"}},
        ReadCase{"Utf16LEMark", utf16(u"線番\r\nB", false), TextEncoding::Utf16LE, {u"線番", u"B"}},
        ReadCase{"Utf16BEMark", utf16(u"線番\r\nB\r\n", true), TextEncoding::Utf16BE, {u"線番", u"B"}},
        ReadCase{"MixedLineEnds", "a\r\nb\nc\rd", TextEncoding::Ansi, {u"a", u"b", u"c", u"d"}},
        ReadCase{"LineFeedThenCarriageReturnIsTwoEnds", "a\n\rb", TextEncoding::Ansi, {u"a", u"", u"b"}},
        ReadCase{"BlankLinesAreLines", "a\r\n\r\n  \r\n", TextEncoding::Ansi, {u"a", u"", u"  "}},
        ReadCase{"EmptyFile", "", TextEncoding::Ansi, {}},
        ReadCase{"OnlyAMark", "\xEF\xBB\xBF", TextEncoding::Utf8Bom, {}},
        ReadCase{"OneEmptyLine", "\r\n", TextEncoding::Ansi, {u""}},
        ReadCase{"BrokenShiftJis", "A\x82", TextEncoding::Ansi, {u"A\uFFFD"}},
        ReadCase{"TabsKept", "BricsCAD V23\tBricscadApp.AcadApplication\r\n", TextEncoding::Ansi,
                 {u"BricsCAD V23\tBricscadApp.AcadApplication"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListFileTest, MissingFileIsNoListAndAFolderIsAnError)
{
    EXPECT_EQ(taglists::readListFile(path), std::nullopt);
    fs::create_directory(path);
    EXPECT_THROW(taglists::readListFile(path), common::FileError);
}

TEST_F(ListFileTest, WritesCrLfAfterEveryLineWithTheEncodingsMark)
{
    const Lines lines{u"線番", u"", u"B"};
    struct Case {
        TextEncoding encoding;
        std::string bytes;
    };
    const Case cases[] = {
        {TextEncoding::Ansi, "\x90\xFC\x94\xD4\r\n\r\nB\r\n"},
        {TextEncoding::Utf8Bom, "\xEF\xBB\xBF\xE7\xB7\x9A\xE7\x95\xAA\r\n\r\nB\r\n"},
        {TextEncoding::Utf16LE, utf16(u"線番\r\n\r\nB\r\n", false)},
        {TextEncoding::Utf16BE, utf16(u"線番\r\n\r\nB\r\n", true)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.encoding));
        EXPECT_EQ(taglists::writeListFile(path, lines, c.encoding), c.encoding);
        EXPECT_EQ(readBytes(path), c.bytes);
        const auto back = taglists::readListFile(path);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->lines, lines);
        EXPECT_EQ(back->encoding, c.encoding);
    }
}

TEST_F(ListFileTest, EmptyListWritesAnEmptyFile)
{
    writeBytes(path, "old\r\n");
    EXPECT_EQ(taglists::writeListFile(path, {}, TextEncoding::Ansi), TextEncoding::Ansi);
    EXPECT_EQ(readBytes(path), "");
    EXPECT_EQ(taglists::readListFile(path)->lines, Lines{});
}

TEST_F(ListFileTest, ListIsWrittenBackInTheEncodingItWasReadIn)
{
    const std::string original = "\xEF\xBB\xBF" "JCMNT1:\xE3\x82\xB3\r\nNAME\r\n";
    writeBytes(path, original);
    const auto content = taglists::readListFile(path);
    ASSERT_TRUE(content.has_value());
    taglists::writeListFile(path, content->lines, content->encoding);
    EXPECT_EQ(readBytes(path), original);
}

TEST_F(ListFileTest, ItemOutsideTheCodePageSwitchesToUtf8WithMark)
{
    const Lines lines{u"NAME:機器名", u"Café:ü"};
    EXPECT_EQ(taglists::writeListFile(path, lines, TextEncoding::Ansi), TextEncoding::Utf8Bom);
    EXPECT_EQ(readBytes(path), "\xEF\xBB\xBF" "NAME:\xE6\xA9\x9F\xE5\x99\xA8\xE5\x90\x8D\r\nCaf\xC3\xA9:\xC3\xBC\r\n");
    const auto back = taglists::readListFile(path);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->lines, lines);
}

struct TrackedCase {
    const char* title;
    std::optional<std::string> atRead;   // nullopt: no file
    std::optional<std::string> atWrite;  // what another program left there by the write
    bool written;
};

TEST_F(ListFileTest, TrackedFileIsWrittenOnlyWhenAbsentOrAsLastRead)
{
    const Lines lines{u"a", u"b"};
    const TrackedCase cases[] = {
        {"first run", std::nullopt, std::nullopt, true},
        {"unchanged since read", "b\r\na\r\n", "b\r\na\r\n", true},
        {"edited elsewhere", "a\r\n", "a\r\nc\r\n", false},
        {"created elsewhere", std::nullopt, "c\r\n", false},
        {"removed elsewhere", "a\r\n", std::nullopt, true},
        {"saved elsewhere in another encoding", "a\r\n", "\xEF\xBB\xBF" "a\r\n", false},
    };
    for (const TrackedCase& c : cases) {
        SCOPED_TRACE(c.title);
        fs::remove(path);
        if (c.atRead)
            writeBytes(path, *c.atRead);
        taglists::TrackedListFile file(path);
        EXPECT_EQ(file.read().has_value(), c.atRead.has_value());
        fs::remove(path);
        if (c.atWrite)
            writeBytes(path, *c.atWrite);
        EXPECT_EQ(file.writeUnlessChangedElsewhere(lines), c.written);
        if (c.written)
            EXPECT_EQ(readBytes(path), "a\r\nb\r\n");
        else
            EXPECT_EQ(readBytes(path), *c.atWrite);
    }
}

TEST_F(ListFileTest, TrackedFileComparesWithWhatItLastWroteOrWasToldOf)
{
    writeBytes(path, "\xEF\xBB\xBF" "a\r\n");
    taglists::TrackedListFile file(path);
    file.read();
    ASSERT_TRUE(file.writeUnlessChangedElsewhere({u"a", u"b"}));
    EXPECT_EQ(readBytes(path), "\xEF\xBB\xBF" "a\r\nb\r\n") << "written in the encoding read";
    EXPECT_TRUE(file.writeUnlessChangedElsewhere({u"c"})) << "unchanged since the last write";
    writeBytes(path, "d\r\n");
    EXPECT_FALSE(file.writeUnlessChangedElsewhere({u"e"}));
    EXPECT_EQ(readBytes(path), "d\r\n");

    file.remember(*taglists::readListFile(path));
    EXPECT_TRUE(file.writeUnlessChangedElsewhere({u"e"})) << "a reload elsewhere is the new baseline";
    EXPECT_EQ(readBytes(path), "e\r\n");
}

TEST_F(ListFileTest, TrackedFileIsNotWrittenAfterItsReadFailed)
{
    fs::create_directory(path);
    taglists::TrackedListFile file(path);
    EXPECT_THROW(file.read(), common::FileError);
    fs::remove(path);
    EXPECT_FALSE(file.writeUnlessChangedElsewhere({u"built-in"}));
    EXPECT_FALSE(fs::exists(path));

    writeBytes(path, "x\r\n");
    file.read();
    EXPECT_TRUE(file.writeUnlessChangedElsewhere({u"x", u"y"})) << "a read that succeeds is a baseline again";
    EXPECT_EQ(readBytes(path), "x\r\ny\r\n");
}

TEST_F(ListFileTest, TrackedFileThatCannotBeReadAtTheWriteIsAnError)
{
    taglists::TrackedListFile file(path);
    file.read();
    fs::create_directory(path);
    EXPECT_THROW(file.writeUnlessChangedElsewhere({u"a"}), common::FileError);
}

}  // namespace
