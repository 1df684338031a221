#include "common/AtomicFile.h"

#include "common/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using testing_support::readBytes;
using testing_support::TemporaryFolder;
using testing_support::writeBytes;

class AtomicFile : public ::testing::Test {
protected:
    TemporaryFolder folder;
};

TEST_F(AtomicFile, ReplacesTheWholeFileAndLeavesNoTemporaryFile)
{
    const fs::path file = folder / "list.txt";
    common::writeFileAtomically(file, "first version, rather long\r\n");
    common::writeFileAtomically(file, std::string("sh\0rt", 5));
    EXPECT_EQ(readBytes(file), std::string("sh\0rt", 5));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"list.txt"});

    common::writeFileAtomically(file, "");
    EXPECT_EQ(readBytes(file), "");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"list.txt"});
}

TEST_F(AtomicFile, StaleTemporaryFilesOfTheTargetGoAtTheNextWrite)
{
    const auto age = [this](const char* name, std::chrono::minutes minutes) {
        writeBytes(folder / name, "half written");
        fs::last_write_time(folder / name, fs::file_time_type::clock::now() - minutes);
    };
    age("list.txt.tmp0123abcd", std::chrono::minutes(60));   // left by a writer killed midway
    age("list.txt.tmp89ef4567", std::chrono::minutes(0));    // may be a write going on elsewhere
    age("other.txt.tmp0123abcd", std::chrono::minutes(60));  // another file's
    age("list.txt.tmp0123", std::chrono::minutes(60));       // not our naming
    // Upper case is not our naming; a name that differs in more than case stays another file
    // where the file system does not tell case apart (Windows).
    age("list.txt.tmp0123ABCE", std::chrono::minutes(60));
    age("list.txt.tmp0123abcd.bak", std::chrono::minutes(60));

    common::writeFileAtomically(folder / "list.txt", "new");

    std::vector<std::string> left = folder.entries();
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"list.txt", "list.txt.tmp0123", "list.txt.tmp0123ABCE",
                                              "list.txt.tmp0123abcd.bak", "list.txt.tmp89ef4567",
                                              "other.txt.tmp0123abcd"}));
}

TEST_F(AtomicFile, ReadsWhatWasWrittenAndNothingForAMissingFile)
{
    std::string bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += static_cast<char>(i * 7);
    writeBytes(folder / "big.bin", bytes);
    EXPECT_EQ(common::readFileBytes(folder / "big.bin"), bytes);
    EXPECT_EQ(common::readFileBytes(folder / "missing.txt"), std::nullopt);
    EXPECT_EQ(common::readFileBytes(folder / "no-folder" / "missing.txt"), std::nullopt);
}

TEST_F(AtomicFile, ReadingAFolderThrowsWithPathAndReason)
{
    fs::create_directory(folder / "KelvoEdit.ini");
    try {
        common::readFileBytes(folder / "KelvoEdit.ini");
        FAIL() << "no FileError";
    } catch (const common::FileError& error) {
        EXPECT_EQ(error.path(), folder / "KelvoEdit.ini");
        EXPECT_FALSE(error.reason().empty());
        EXPECT_NE(std::string(error.what()).find(common::pathForMessage(folder / "KelvoEdit.ini")), std::string::npos);
        EXPECT_NE(std::string(error.what()).find(error.reason()), std::string::npos);
    }
}

TEST_F(AtomicFile, FailedRenameLeavesTheTargetAndRemovesTheTemporaryFile)
{
    // A folder in the target's place cannot be replaced by a file, whoever runs the test.
    const fs::path target = folder / "KelvoEditTagList.txt";
    fs::create_directory(target);
    writeBytes(target / "inside.txt", "kept");
    EXPECT_THROW(common::writeFileAtomically(target, "new"), common::FileError);
    EXPECT_EQ(readBytes(target / "inside.txt"), "kept");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"KelvoEditTagList.txt"});
}

TEST_F(AtomicFile, MissingFolderThrows)
{
    EXPECT_THROW(common::writeFileAtomically(folder / "gone" / "list.txt", "x"), common::FileError);
    EXPECT_FALSE(fs::exists(folder / "gone"));
}

#ifndef _WIN32

// Runs the write as an unprivileged user when the test runs as root, who may write anywhere.
// Returns whether the write threw FileError.
bool writeThrowsFileError(const fs::path& file, std::string_view bytes)
{
    if (::geteuid() != 0) {
        try {
            common::writeFileAtomically(file, bytes);
            return false;
        } catch (const common::FileError&) {
            return true;
        }
    }
    const pid_t child = ::fork();
    if (child == 0) {
        int code = 2;
        if (::setgid(65534) == 0 && ::setuid(65534) == 0) {
            try {
                common::writeFileAtomically(file, bytes);
                code = 1;
            } catch (const common::FileError&) {
                code = 0;
            }
        }
        ::_exit(code);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 2) << "could not drop root privileges";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(AtomicFile, ReadOnlyFolderKeepsTheOldFile)
{
    const fs::path file = folder / "KelvoEdit.ini";
    writeBytes(file, "[KelvoEdit]\r\nLeft=1\r\n");
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(file, fs::perms::all);  // the file itself could be overwritten in place
    EXPECT_TRUE(writeThrowsFileError(file, "truncated"));
    EXPECT_EQ(readBytes(file), "[KelvoEdit]\r\nLeft=1\r\n");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"KelvoEdit.ini"});
}

TEST_F(AtomicFile, ReadOnlyFileIsNotReplaced)
{
    const fs::path file = folder / "KelvoEditTagList.txt";
    writeBytes(file, "kept\r\n");
    fs::permissions(folder.path(), fs::perms::all);
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_TRUE(writeThrowsFileError(file, "new"));
    EXPECT_EQ(readBytes(file), "kept\r\n");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"KelvoEditTagList.txt"});
}

TEST_F(AtomicFile, KeepsPermissionsAndSymbolicLinks)
{
    const fs::path real = folder / "real.ini";
    writeBytes(real, "old");
    ::chmod(real.c_str(), 0664);  // group write, which a usual umask would take away
    fs::create_symlink("real.ini", folder / "link.ini");

    common::writeFileAtomically(folder / "link.ini", "new");

    EXPECT_TRUE(fs::is_symlink(folder / "link.ini"));
    EXPECT_EQ(readBytes(real), "new");
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0664u);
}

#endif

}  // namespace
