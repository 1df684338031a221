#pragma once

#include "taglists/TextFileLauncher.h"
#include "ui/UserMessages.h"

#include <QDir>
#include <QString>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testing_support {

// Records the message boxes instead of showing them.
class RecordingMessages : public ui::UserMessages {
public:
    struct Message {
        Kind kind;
        QString text;
    };

    void show(Kind kind, const QString& text) override { shown.push_back({kind, text}); }

    std::vector<Message> shown;
};

// Records the files it was asked to open instead of starting an editor.
class RecordingLauncher : public taglists::TextFileLauncher {
public:
    void open(const std::filesystem::path& path) override { opened.push_back(path); }

    std::vector<std::filesystem::path> opened;
};

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A path as the program shows it to the user: with the platform's separators.
inline QString pathText(const std::filesystem::path& path)
{
    return QDir::toNativeSeparators(QString::fromStdU16String(path.u16string()));
}

}  // namespace testing_support
