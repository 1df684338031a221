#include "taglists/ui/SystemTextFileLauncher.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

// Puts a stand-in for the desktop's opener first on PATH; it writes the arguments it was
// given, NUL-separated, to a record file and ends.
class FakeOpener {
public:
    FakeOpener()
    {
        EXPECT_TRUE(dir_.isValid());
        const fs::path script = folder() / "xdg-open";
        std::ofstream out(script, std::ios::binary);
        out << "#!/bin/sh\n"
               "record='" << record().string() << "'\n"
               "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$record.part\"\n"
               "mv \"$record.part\" \"$record\"\n";
        out.close();
        ::chmod(script.c_str(), 0755);
        oldPath_ = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(QString::fromStdString(folder().string())) + ":" + oldPath_);
    }
    ~FakeOpener() { qputenv("PATH", oldPath_); }

    fs::path folder() const { return dir_.path().toStdString(); }
    fs::path record() const { return folder() / "argv"; }

    // The arguments of the next start, once it has happened.
    std::vector<std::string> takeArguments()
    {
        // The opener runs detached; this waits for it to have written, as a guard against
        // hanging, not as a measure of speed.
        for (int i = 0; i < 600 && !fs::exists(record()); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::ifstream in(record(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        fs::remove(record());
        std::vector<std::string> arguments;
        size_t start = 0;
        for (size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1)
            arguments.push_back(bytes.substr(start, end - start));
        return arguments;
    }

private:
    QTemporaryDir dir_;
    QByteArray oldPath_;
};

// Whatever a shell would make of it, the editor gets the list file's path unchanged as its
// only argument.
TEST(SystemTextFileLauncher, PathReachesTheEditorAsOneUntouchedArgument)
{
    FakeOpener opener;
    QTemporaryDir files;
    ASSERT_TRUE(files.isValid());
    const fs::path base = files.path().toStdString();
    const std::u8string names[] = {
        u8"tag lists/KelvoEditTagList.txt",
        u8"it's \"quoted\"/KelvoEdit2ATagList.txt",
        u8"$(touch injected)/a;b `id` & c|d > e.txt",
        u8"図面 フォルダ/タグ一覧 'x'.txt",
        u8"-n/$HOME *.txt",
    };
    for (const auto& name : names) {
        const fs::path path = base / fs::path(name);
        SCOPED_TRACE(path.string());
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "NAME\n";

        taglists::SystemTextFileLauncher().open(path);
        EXPECT_EQ(opener.takeArguments(), std::vector<std::string>{path.string()});
    }
    EXPECT_FALSE(fs::exists(base / "injected"));
    EXPECT_FALSE(fs::exists(fs::current_path() / "injected"));
}

}  // namespace
