#pragma once

// What the list-file fuzzer checks of every input, shared with the test that replays its
// findings: any bytes read as a list, the list written in each encoding reads back line
// for line, and the tag-list helpers keep their promises on the lines read.
#include "FuzzInput.h"

#include "app/ListFile.h"
#include "app/TagLists.h"
#include "common/FileError.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace fuzzing {

inline const char* encodingName(app::TextEncoding encoding)
{
    switch (encoding) {
    case app::TextEncoding::Ansi: return "ANSI";
    case app::TextEncoding::Utf8Bom: return "UTF-8";
    case app::TextEncoding::Utf16LE: return "UTF-16LE";
    case app::TextEncoding::Utf16BE: return "UTF-16BE";
    }
    return "?";
}

// Empty when `lines` written in `encoding` reads back as the same lines, in the encoding
// the writer reported.
inline std::string checkListRoundTrip(const std::filesystem::path& path, const std::vector<std::u16string>& lines,
                                      app::TextEncoding encoding)
{
    app::TextEncoding used;
    try {
        used = app::writeListFile(path, lines, encoding);
    } catch (const common::FileError& error) {
        return std::string("writing failed: ") + error.what();
    }
    const auto back = app::readListFile(path);
    if (!back)
        return "the written list is gone";
    if (back->encoding != used)
        return std::string("written as ") + encodingName(used) + ", read as " + encodingName(back->encoding);
    if (back->lines.size() != lines.size())
        return std::string("asked for ") + encodingName(encoding) + ": " + std::to_string(lines.size()) +
               " lines written, " + std::to_string(back->lines.size()) + " read back";
    for (size_t i = 0; i < lines.size(); ++i)
        if (back->lines[i] != lines[i])
            return std::string("asked for ") + encodingName(encoding) + ", written as " + encodingName(used) +
                   ": line " + std::to_string(i) + " \"" + printable(lines[i]) + "\" reads back as \"" +
                   printable(back->lines[i]) + "\"";
    return {};
}

inline std::string checkTagListHelpers(std::vector<std::u16string> lines)
{
    // The comparison must order consistently, or sorting the combo is undefined.
    const size_t n = std::min<size_t>(lines.size(), 64);
    for (size_t i = 0; i < n; ++i)
        for (size_t j = 0; j < n; ++j) {
            const int ab = app::compareIgnoringCase(lines[i], lines[j]);
            const int ba = app::compareIgnoringCase(lines[j], lines[i]);
            if ((ab < 0) != (ba > 0) || (ab == 0) != (ba == 0))
                return "compareIgnoringCase is not antisymmetric for \"" + printable(lines[i]) + "\" and \"" +
                       printable(lines[j]) + "\"";
        }
    app::sortIgnoringCase(lines);
    for (size_t i = 1; i < lines.size(); ++i)
        if (app::compareIgnoringCase(lines[i - 1], lines[i]) > 0)
            return "sorted items out of order at " + std::to_string(i);
    const int position = app::rememberedPosition(static_cast<int32_t>(lines.size() / 2), lines.size());
    if (position < -1 || position >= static_cast<int>(lines.size()))
        return "remembered position outside the list";
    for (const auto& line : app::nonBlankLines(lines))
        if (std::all_of(line.begin(), line.end(), [](char16_t c) { return c <= u' '; }))
            return "a blank line was kept: \"" + printable(line) + "\"";
    const std::u16string progId = u"BricscadApp.AcadApplication";
    if (const auto name = app::displayNameFor(lines, progId)) {
        const std::u16string start = *name + u'\t' + progId;
        if (std::none_of(lines.begin(), lines.end(), [&](const std::u16string& l) { return l.starts_with(start); }))
            return "display name \"" + printable(*name) + "\" is not the start of a line";
    }
    return {};
}

inline std::string checkListFile(const std::filesystem::path& path, std::string_view bytes)
{
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::optional<app::ListFileContent> content;
    try {
        content = app::readListFile(path);
    } catch (const common::FileError& error) {
        return std::string("reading failed: ") + error.what();
    }
    if (!content)
        return "the list file is not found";
    for (const auto& line : content->lines)
        if (line.find_first_of(u"\r\n") != std::u16string::npos)
            return "a line holds a line end";
    // The encoding it was read in first, as the program writes it back; then every other.
    const app::TextEncoding encodings[] = {content->encoding, app::TextEncoding::Ansi, app::TextEncoding::Utf8Bom,
                                           app::TextEncoding::Utf16LE, app::TextEncoding::Utf16BE};
    for (const app::TextEncoding encoding : encodings)
        if (std::string fault = checkListRoundTrip(path, content->lines, encoding); !fault.empty())
            return fault;
    return checkTagListHelpers(content->lines);
}

}  // namespace fuzzing
