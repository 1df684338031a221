#include "taglists/ui/TagListCommands.h"
#include "app/ui/TestDoubles.h"
#include "common/FileError.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QTemporaryDir>

using testing_support::pathText;
using testing_support::RecordingLauncher;
using testing_support::RecordingMessages;
using testing_support::writeBytes;
using Kind = ui::UserMessages::Kind;

namespace {

class TagListCommandsTest : public ::testing::Test {
protected:
    std::filesystem::path path() const
    {
        return std::filesystem::path(dir_.path().toStdU16String()) / "KelvoEditTagList.txt";
    }

    void fill(const QStringList& items, int selected)
    {
        combo_.clear();
        combo_.addItems(items);
        combo_.setCurrentIndex(selected);
    }

    QStringList items() const
    {
        QStringList result;
        for (int i = 0; i < combo_.count(); ++i)
            result << combo_.itemText(i);
        return result;
    }

    QTemporaryDir dir_;
    RecordingMessages messages_;
    RecordingLauncher launcher_;
    taglists::TagListCommands commands_{messages_, launcher_};
    QComboBox combo_;
    taglists::TextEncoding encoding_ = taglists::TextEncoding::Ansi;
};

TEST_F(TagListCommandsTest, LaunchOpensAnExistingFile)
{
    writeBytes(path(), "a\r\n");
    commands_.launchEditor(path());
    EXPECT_EQ(launcher_.opened, std::vector<std::filesystem::path>{path()});
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(TagListCommandsTest, MissingFileIsReportedWithItsPathAndNothingChanges)
{
    fill({"a", "b"}, 1);
    commands_.launchEditor(path());
    commands_.reload(path(), combo_, encoding_);

    EXPECT_TRUE(launcher_.opened.empty());
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[0].kind, Kind::Information);
    EXPECT_EQ(messages_.shown[0].text, pathText(path()) + QStringLiteral("\nファイルが見つかりません．"));
    EXPECT_EQ(messages_.shown[1].kind, Kind::Plain);
    EXPECT_EQ(messages_.shown[1].text, pathText(path()) + QStringLiteral("\nが、見つかりません．"));
    EXPECT_EQ(items(), QStringList({"a", "b"}));
    EXPECT_EQ(combo_.currentIndex(), 1);
}

TEST_F(TagListCommandsTest, ReloadKeepsThePositionAndSkipsBlankLines)
{
    struct Case {
        const char* title;
        QStringList before;
        int selected;
        std::string file;
        QStringList after;
        int selectedAfter;
    };
    const Case cases[] = {
        {"a new first line moves the selection to another entry", {"a", "b", "c"}, 1, "a\r\nb\r\nc\r\n0\r\n",
         {"0", "a", "b", "c"}, 1},
        {"fewer items than the position", {"a", "b", "c", "d"}, 3, "b\r\na\r\n", {"a", "b"}, 0},
        {"nothing selected stays so", {"a", "b"}, -1, "a\r\nb\r\n", {"a", "b"}, -1},
        {"blank lines and lines of spaces are skipped, the rest kept untrimmed", {"x"}, 0,
         // An ideographic space (0x8140 in the ANSI code page) is text, not blank.
         "b\r\n\r\n   \r\n\t\r\n\x81\x40\r\n  c  \r\nA\n", {"  c  ", "A", "b", QString(QChar(0x3000))}, 0},
        {"an empty file empties the combo", {"a"}, 0, "", {}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        fill(c.before, c.selected);
        writeBytes(path(), c.file);
        commands_.reload(path(), combo_, encoding_);
        EXPECT_EQ(items(), c.after);
        EXPECT_EQ(combo_.currentIndex(), c.selectedAfter);
    }
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(TagListCommandsTest, ReloadRemembersTheEncodingOfTheFile)
{
    writeBytes(path(), "\xEF\xBB\xBF" "a\r\n");
    commands_.reload(path(), combo_, encoding_);
    EXPECT_EQ(encoding_, taglists::TextEncoding::Utf8Bom);
    writeBytes(path(), "a\r\n");
    commands_.reload(path(), combo_, encoding_);
    EXPECT_EQ(encoding_, taglists::TextEncoding::Ansi);
}

TEST_F(TagListCommandsTest, UnreadableFileFailsBeforeTheComboIsCleared)
{
    std::filesystem::create_directory(path());
    fill({"a", "b"}, 1);
    EXPECT_THROW(commands_.reload(path(), combo_, encoding_), common::FileError);
    EXPECT_EQ(items(), QStringList({"a", "b"}));
    EXPECT_EQ(combo_.currentIndex(), 1);
}

}  // namespace
