#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace app {

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

}  // namespace app
