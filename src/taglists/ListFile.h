#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace taglists {

enum class TextEncoding { Ansi, Utf8Bom, Utf16LE, Utf16BE };

struct ListFileContent {
    std::vector<std::u16string> lines;
    TextEncoding encoding = TextEncoding::Ansi;
};

// One item per line. A byte-order mark selects UTF-8 or UTF-16 LE/BE; without one the bytes
// are in the ANSI code page. CR LF, LF and CR all end a line; an empty file has no lines.
// nullopt when the file does not exist; throws common::FileError when it cannot be read.
std::optional<ListFileContent> readListFile(const std::filesystem::path& path);

// The lines, each ended by CR LF, after the encoding's byte-order mark, written atomically
// (throws common::FileError). Returns the encoding used: a list the ANSI code page cannot
// hold is written in UTF-8 with a byte-order mark instead, and one with a lone surrogate,
// which UTF-8 cannot hold, in UTF-16 LE, so nothing typed is lost. A list holding U+FFFD
// (bytes that were no character when it was read) is not rewritten while the file already
// reads as exactly that list, so that those bytes are not lost.
TextEncoding writeListFile(const std::filesystem::path& path, const std::vector<std::u16string>& lines,
                           TextEncoding encoding);

// A list file that this program reads and later writes back, while the user may edit it in a
// text editor in between. It remembers what it last read from the file or wrote to it, and
// writes over the file only while the file is absent or still holds exactly that, so that what
// another program saved there meanwhile is kept. After a failed read it writes nothing until a
// read succeeds.
class TrackedListFile {
public:
    explicit TrackedListFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& path() const { return path_; }
    // The encoding the next write uses: the one last read or written.
    TextEncoding encoding() const { return known_ ? known_->encoding : TextEncoding::Ansi; }

    // readListFile, remembering what the file held (nullopt: absent). Rethrows a failed read.
    std::optional<ListFileContent> read();
    // Remembers what a read of the same file elsewhere found there.
    void remember(const ListFileContent& content);
    // Writes lines as writeListFile does when the file is absent or unchanged since it was last
    // read or written here; returns whether it wrote. Throws common::FileError when the file
    // cannot be read to tell, or cannot be written.
    bool writeUnlessChangedElsewhere(const std::vector<std::u16string>& lines);

private:
    std::filesystem::path path_;
    std::optional<ListFileContent> known_;  // nullopt: absent when last looked at
    bool readFailed_ = false;
};

}  // namespace taglists
