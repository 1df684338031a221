#pragma once

// What the settings-file fuzzer checks of every input, shared with the test that replays
// its findings: any bytes as the settings file read without an exception, and writing one
// key gives that key back and leaves every other key reading as it did.
#include "FuzzInput.h"

#include "app/KelvoSettings.h"
#include "app/ProfileFile.h"
#include "common/AtomicFile.h"
#include "common/FileError.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>

namespace fuzzing {

struct SettingsKey {
    std::u16string_view section;
    std::u16string_view key;
};

inline constexpr std::array<SettingsKey, 15> settingsKeys{{
    {u"KelvoEdit", u"Left"}, {u"KelvoEdit", u"Top"}, {u"Target", u"ProgID"}, {u"KelvoEdit", u"Sort"},
    {u"KelvoEdit", u"AttTag"}, {u"KelvoEdit", u"AttTagIndex2"}, {u"KelvoEdit", u"Cursor"},
    {u"KelvoEdit", u"AttTagIndex1"}, {u"KelvoEdit", u"Sentou"}, {u"KelvoEdit", u"UpperCase"},
    {u"KelvoEdit", u"Enter"}, {u"KelvoEdit", u"ZoomCenter"}, {u"KelvoEdit", u"AttEnter"},
    {u"KelvoEdit", u"AttEnterDown"}, {u"KelvoEdit", u"ZoomCenter2"},
}};

inline std::array<std::u16string, settingsKeys.size()> readAllKeys(const app::ProfileFile& file)
{
    std::array<std::u16string, settingsKeys.size()> values;
    for (size_t i = 0; i < settingsKeys.size(); ++i)
        values[i] = file.readString(settingsKeys[i].section, settingsKeys[i].key, u"\uFFFF(missing)");
    return values;
}

// A value that reads back exactly as written: one line, no blanks at either end that the
// reader trims, no pair of quotes that it strips, not longer than the reader's limit.
inline bool readsBackVerbatim(std::u16string_view value)
{
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f'; };
    if (value.find_first_of(u"\r\n") != std::u16string_view::npos || value.size() > app::ProfileFile::kMaxValueLength)
        return false;
    if (!value.empty() && (blank(value.front()) || blank(value.back())))
        return false;
    return !(value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front());
}

// Writes `key` = `value` and checks the file afterwards. Empty when all is well.
inline std::string checkOneWrite(app::ProfileFile& file, size_t keyIndex, std::u16string_view value)
{
    const auto before = readAllKeys(file);
    const SettingsKey& target = settingsKeys[keyIndex];
    try {
        file.writeString(target.section, target.key, value);
    } catch (const common::FileError& error) {
        return std::string("writing a key failed: ") + error.what();
    }
    const auto after = readAllKeys(file);
    for (size_t i = 0; i < settingsKeys.size(); ++i) {
        if (i == keyIndex) {
            if (readsBackVerbatim(value) && after[i] != value)
                return "key " + printable(target.key) + " written as \"" + printable(value) + "\" reads back as \"" +
                       printable(after[i]) + "\"";
            if (after[i].size() > app::ProfileFile::kMaxValueLength)
                return "a value longer than the limit was read";
        } else if (after[i] != before[i]) {
            return "writing " + printable(target.key) + " changed " + printable(settingsKeys[i].key) + " from \"" +
                   printable(before[i]) + "\" to \"" + printable(after[i]) + "\"";
        }
    }
    return {};
}

// `bytes` is the file; `value` is written to a text key and `number` to an integer key.
inline std::string checkSettingsFile(const std::filesystem::path& path, std::string_view bytes,
                                     std::u16string_view value, int32_t number)
{
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    app::ProfileFile file(path);
    const app::KelvoSettings loaded = app::loadSettings(file, 11, 22);
    if (loaded.progId.size() > app::ProfileFile::kMaxValueLength ||
        loaded.attTag.size() > app::ProfileFile::kMaxValueLength)
        return "a value longer than the limit was read";

    if (std::string fault = checkOneWrite(file, 4, value); !fault.empty())  // AttTag
        return fault;
    if (std::string fault = checkOneWrite(file, 2, value); !fault.empty())  // ProgID, another section
        return fault;
    const std::string digits = std::to_string(number);
    if (std::string fault = checkOneWrite(file, 0, std::u16string(digits.begin(), digits.end())); !fault.empty())
        return fault;
    if (file.readInt(u"KelvoEdit", u"Left", number == 0 ? 1 : 0) != number)
        return "the integer " + digits + " does not read back";
    if (const int32_t top = file.readInt(u"KelvoEdit", u"Top", 7); top != app::loadSettings(file, 0, 7).top)
        return "readInt and loadSettings disagree";
    return {};
}

// One fuzzer input: the integer and the text to write, then the file's bytes.
inline std::string checkSettingsInput(const std::filesystem::path& path, std::string_view bytes)
{
    InputReader input(bytes);
    const int32_t number = input.int32();
    const std::u16string value = input.field();
    return checkSettingsFile(path, input.rest(), value, number);
}

}  // namespace fuzzing
