#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace app {

// An INI file accessed key by key as the Windows profile functions do, on every platform.
//
// Reading: section and key names match regardless of case; the first section and the first
// key of that name count; a value is trimmed of surrounding blanks and of one pair of
// matching quotes and returned with at most 2047 characters. A missing file, section or key
// gives the default.
//
// Writing re-reads the file and replaces only the line of that key (or adds the key at the
// end of its section, or the section at the end of the file); every other line keeps its
// bytes. A file that starts with a UTF-16 byte-order mark stays UTF-16; any other file is in
// the ANSI code page, and so is a new one. A value the ANSI code page cannot hold turns the
// file into UTF-16 LE with a byte-order mark, which the profile functions read as well, so
// nothing is lost. Each write replaces the file atomically and throws common::FileError.
class ProfileFile {
public:
    static constexpr size_t kMaxValueLength = 2047;

    explicit ProfileFile(std::filesystem::path path);

    const std::filesystem::path& path() const noexcept { return path_; }

    std::u16string readString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view defaultValue) const;
    // Decimal, or hexadecimal after "0x"/"0X" when the value is longer than two characters;
    // anything else, or a number outside 32 bits, gives the default.
    int32_t readInt(std::u16string_view section, std::u16string_view key, int32_t defaultValue) const;
    // An integer; any value other than 0 is true.
    bool readBool(std::u16string_view section, std::u16string_view key, bool defaultValue) const;

    void writeString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
    void writeInt(std::u16string_view section, std::u16string_view key, int32_t value);
    // "1" or "0".
    void writeBool(std::u16string_view section, std::u16string_view key, bool value);

private:
    std::filesystem::path path_;
};

// The integer rule of ProfileFile::readInt, for a value already read.
int32_t parseProfileInt(std::u16string_view text, int32_t defaultValue);

}  // namespace app
