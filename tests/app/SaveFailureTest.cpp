// A settings or list file whose write fails half way, or whose writer is killed mid-write,
// is found as it was before; and list items the ANSI code page cannot hold survive a save.
#include "app/KelvoSettings.h"
#include "app/ProfileFile.h"
#include "common/FileError.h"
#include "common/TemporaryFolder.h"
#include "taglists/ListFile.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using taglists::TextEncoding;
using testing_support::readBytes;
using testing_support::TemporaryFolder;
using testing_support::writeBytes;
using Lines = std::vector<std::u16string>;

// Items a Shift_JIS file cannot hold, beside ones it can.
const Lines unrepresentableItems{
    u"NAME:機器名",              // fits
    u"Café:é",                   // Latin-1 letters
    u"\u301C wave dash",         // not the full-width tilde of the code page
    u"\u2212minus\u00A5yen",     // minus sign and yen sign have no mapping either
    u"emoji \U0001F600",         // a surrogate pair
    u"lone \xD800 surrogate",    // no UTF-8 form at all
    u"",                         // blank items are items too
};

TEST(ListFileSave, ItemsOutsideTheCodePageSurviveASaveAndReload)
{
    TemporaryFolder folder;
    for (size_t i = 0; i < unrepresentableItems.size(); ++i) {
        SCOPED_TRACE(i);
        const Lines lines{u"JCMNT1:コメント１", unrepresentableItems[i], u"SENBAN:線番"};
        const fs::path path = folder / "KelvoEditTagList.txt";
        const TextEncoding used = taglists::writeListFile(path, lines, TextEncoding::Ansi);
        const auto back = taglists::readListFile(path);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->lines, lines);
        EXPECT_EQ(back->encoding, used);
        // The next close writes back in the encoding read: still nothing lost.
        taglists::writeListFile(path, back->lines, back->encoding);
        EXPECT_EQ(taglists::readListFile(path)->lines, lines);
    }
}

TEST(ListFileSave, AllItemsAtOnceSurviveInEveryEncoding)
{
    TemporaryFolder folder;
    for (const TextEncoding encoding :
         {TextEncoding::Ansi, TextEncoding::Utf8Bom, TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
        SCOPED_TRACE(static_cast<int>(encoding));
        const fs::path path = folder / "KelvoEdit2ATagList.txt";
        taglists::writeListFile(path, unrepresentableItems, encoding);
        EXPECT_EQ(taglists::readListFile(path)->lines, unrepresentableItems);
    }
}

TEST(ListFileSave, BytesThatAreNoCharacterSurviveWritingTheListBackUnchanged)
{
    // Lists written by other tools: a lead byte with no trail, an unassigned double byte,
    // a stray continuation byte of UTF-8 in a file with a UTF-8 mark.
    const std::string files[] = {"NAME:\x8B\x40\r\nBAD\x82\r\nSENBAN\r\n", "X\x85\x40Y\r\n",
                                 "\xEF\xBB\xBFok\r\nbad\x80\r\n"};
    TemporaryFolder folder;
    const fs::path path = folder / "KelvoEdit2ATagList.txt";
    for (size_t i = 0; i < std::size(files); ++i) {
        SCOPED_TRACE(i);
        writeBytes(path, files[i]);
        const auto read = taglists::readListFile(path);
        ASSERT_TRUE(read.has_value());
        // As at every close: the items as read, in the encoding read.
        taglists::writeListFile(path, read->lines, read->encoding);
        EXPECT_EQ(readBytes(path), files[i]);
        // A list the user changed is written, in an encoding that holds it.
        Lines changed = read->lines;
        changed.push_back(u"NEW");
        taglists::writeListFile(path, changed, read->encoding);
        EXPECT_EQ(taglists::readListFile(path)->lines, changed);
    }
}

TEST(SettingsSave, ValueOutsideTheCodePageSurvivesASaveAndReload)
{
    TemporaryFolder folder;
    const fs::path path = folder / "KelvoEdit.ini";
    writeBytes(path, "[KelvoEdit]\r\nLeft=5\r\n");
    app::KelvoSettings settings;
    settings.attTag = u"Café \u301C \U0001F600";
    settings.progId = u"Kelvo\u2212CAD.Application";
    app::ProfileFile file(path);
    app::saveSettings(file, settings);
    const app::KelvoSettings back = app::loadSettings(file, 0, 0);
    EXPECT_EQ(back.attTag, settings.attTag);
    EXPECT_EQ(back.progId, settings.progId);
}

#ifndef _WIN32

std::vector<std::string> entriesOf(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

enum class ChildOutcome { FileError, NoError, OtherFailure };

// Runs write in a child process whose files may not grow beyond limit bytes, the way a
// full disk stops a write part way through.
ChildOutcome writeWithFileSizeLimit(rlim_t limit, const std::function<void()>& write)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead of killing
        const rlimit rl{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &rl) != 0)
            ::_exit(3);
        int code = 2;
        try {
            write();
            code = 1;
        } catch (const common::FileError&) {
            code = 0;
        } catch (...) {
        }
        ::_exit(code);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status))
        return ChildOutcome::OtherFailure;
    switch (WEXITSTATUS(status)) {
    case 0: return ChildOutcome::FileError;
    case 1: return ChildOutcome::NoError;
    default: return ChildOutcome::OtherFailure;
    }
}

struct FullDiskCase {
    const char* name;
    const char* fileName;
    std::string previous;
    std::function<void(const fs::path&)> write;
    size_t newSize;  // bytes the write would produce
};

Lines manyItems(size_t count)
{
    Lines lines;
    for (size_t i = 0; i < count; ++i)
        lines.push_back(u"GROUP" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) + u",機器,NAME,NAME1,SPEC,TYPE");
    return lines;
}

class FullDisk : public ::testing::TestWithParam<FullDiskCase> {};

TEST_P(FullDisk, WriteFailingPartWayKeepsThePreviousFile)
{
    const FullDiskCase& c = GetParam();
    TemporaryFolder folder;
    const fs::path path = folder / c.fileName;
    writeBytes(path, c.previous);
    // The disk fills at several points of the write: before its first byte, after one,
    // half way, one byte short.
    for (const rlim_t limit : {rlim_t(0), rlim_t(1), rlim_t(c.newSize / 2), rlim_t(c.newSize - 1)}) {
        SCOPED_TRACE(limit);
        EXPECT_EQ(writeWithFileSizeLimit(limit, [&] { c.write(path); }), ChildOutcome::FileError);
        EXPECT_EQ(readBytes(path), c.previous);
        EXPECT_EQ(entriesOf(folder.path()), std::vector<std::string>{c.fileName}) << "a temporary file was left";
    }
    // With room enough the same write goes through.
    EXPECT_EQ(writeWithFileSizeLimit(RLIM_INFINITY, [&] { c.write(path); }), ChildOutcome::NoError);
    EXPECT_NE(readBytes(path), c.previous);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsAndLists, FullDisk,
    ::testing::Values(
        FullDiskCase{"TagGroupList", "KelvoEdit2ATagList.txt", "線番,SENBAN\r\n",
                     [](const fs::path& p) { taglists::writeListFile(p, manyItems(400), TextEncoding::Ansi); },
                     400 * 32},
        FullDiskCase{"TagListInUtf8", "KelvoEditTagList.txt", "\xEF\xBB\xBFNAME:x\r\n",
                     [](const fs::path& p) { taglists::writeListFile(p, manyItems(300), TextEncoding::Utf8Bom); },
                     300 * 36},
        FullDiskCase{"SettingsKey", "KelvoEdit.ini", "[KelvoEdit]\r\nLeft=12\r\nAttTag=old\r\n",
                     [](const fs::path& p) {
                         app::ProfileFile file(p);
                         file.writeString(u"KelvoEdit", u"AttTag", std::u16string(1500, u'x'));
                     },
                     1530},
        FullDiskCase{"SettingsTurningUtf16", "KelvoEdit.ini", "[KelvoEdit]\r\nLeft=12\r\n",
                     [](const fs::path& p) {
                         app::ProfileFile file(p);
                         file.writeString(u"KelvoEdit", u"AttTag", u"Café");
                     },
                     64}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SaveReplacesTheFile, AnotherNameOfTheOldFileStillShowsTheOldBytes)
{
    // The new content goes into a new file that takes the name over; the old file itself is
    // never overwritten in place, so a write cut short cannot touch it.
    TemporaryFolder folder;
    const fs::path path = folder / "KelvoEditTagList.txt";
    writeBytes(path, "old\r\n");
    fs::create_hard_link(path, folder / "second-name");
    taglists::writeListFile(path, {u"new"}, TextEncoding::Ansi);
    EXPECT_EQ(readBytes(path), "new\r\n");
    EXPECT_EQ(readBytes(folder / "second-name"), "old\r\n");
}

TEST(SaveKilledMidWrite, TheFileHoldsOneWholeVersion)
{
    TemporaryFolder folder;
    const fs::path path = folder / "KelvoEdit2ATagList.txt";
    // Large enough that a write takes a while, so that the kill lands inside one.
    const Lines first = manyItems(200000);
    Lines second = first;
    for (auto& line : second)
        line += u",JCMNT1";
    taglists::writeListFile(path, first, TextEncoding::Ansi);
    const std::string firstBytes = readBytes(path);
    taglists::writeListFile(path, second, TextEncoding::Ansi);
    const std::string secondBytes = readBytes(path);

    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        // A killed writer leaves its temporary file behind; only a new one shows a write.
        const std::vector<std::string> before = entriesOf(folder.path());
        const pid_t child = ::fork();
        if (child == 0) {
            for (int i = 0;; ++i)
                taglists::writeListFile(path, i % 2 == 0 ? first : second, TextEncoding::Ansi);
        }
        // Kill the writer as soon as a write is seen in progress.
        int status = 0;
        bool ended = false;
        while (entriesOf(folder.path()) == before && !ended) {
            ended = ::waitpid(child, &status, WNOHANG) == child;
            std::this_thread::yield();
        }
        ASSERT_FALSE(ended) << "the writer ended by itself";
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        const std::string now = readBytes(path);
        EXPECT_TRUE(now == firstBytes || now == secondBytes) << "a file of " << now.size() << " bytes";
        const auto back = taglists::readListFile(path);
        ASSERT_TRUE(back.has_value());
        EXPECT_TRUE(back->lines == first || back->lines == second);
    }
}

#endif

}  // namespace
