#pragma once

// What the list-file fuzzer checks of every input, shared with the test that replays its
// findings: any bytes read as a list, the list written in each encoding reads back line
// for line, and the tag-list helpers keep their promises on the lines read.
#include "FuzzInput.h"

#include "common/FileError.h"
#include "taglists/ListFile.h"
#include "taglists/TagLists.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace fuzzing {

inline const char* encodingName(taglists::TextEncoding encoding)
{
    switch (encoding) {
    case taglists::TextEncoding::Ansi: return "ANSI";
    case taglists::TextEncoding::Utf8Bom: return "UTF-8";
    case taglists::TextEncoding::Utf16LE: return "UTF-16LE";
    case taglists::TextEncoding::Utf16BE: return "UTF-16BE";
    }
    return "?";
}

// Empty when `lines` written in `encoding` reads back as the same lines, in the encoding
// the writer reported.
inline std::string checkListRoundTrip(const std::filesystem::path& path, const std::vector<std::u16string>& lines,
                                      taglists::TextEncoding encoding)
{
    taglists::TextEncoding used;
    try {
        used = taglists::writeListFile(path, lines, encoding);
    } catch (const common::FileError& error) {
        return std::string("writing failed: ") + error.what();
    }
    const auto back = taglists::readListFile(path);
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
            const int ab = taglists::compareIgnoringCase(lines[i], lines[j]);
            const int ba = taglists::compareIgnoringCase(lines[j], lines[i]);
            if ((ab < 0) != (ba > 0) || (ab == 0) != (ba == 0))
                return "compareIgnoringCase is not antisymmetric for \"" + printable(lines[i]) + "\" and \"" +
                       printable(lines[j]) + "\"";
        }
    taglists::sortIgnoringCase(lines);
    for (size_t i = 1; i < lines.size(); ++i)
        if (taglists::compareIgnoringCase(lines[i - 1], lines[i]) > 0)
            return "sorted items out of order at " + std::to_string(i);
    const int position = taglists::rememberedPosition(static_cast<int32_t>(lines.size() / 2), lines.size());
    if (position < -1 || position >= static_cast<int>(lines.size()))
        return "remembered position outside the list";
    for (const auto& line : taglists::nonBlankLines(lines))
        if (std::all_of(line.begin(), line.end(), [](char16_t c) { return c <= u' '; }))
            return "a blank line was kept: \"" + printable(line) + "\"";
    const std::u16string progId = u"BricscadApp.AcadApplication";
    if (const auto name = taglists::displayNameFor(lines, progId)) {
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
    std::optional<taglists::ListFileContent> content;
    try {
        content = taglists::readListFile(path);
    } catch (const common::FileError& error) {
        return std::string("reading failed: ") + error.what();
    }
    if (!content)
        return "the list file is not found";
    for (const auto& line : content->lines)
        if (line.find_first_of(u"\r\n") != std::u16string::npos)
            return "a line holds a line end";
    // The encoding it was read in first, as the program writes it back; then every other.
    const taglists::TextEncoding encodings[] = {content->encoding, taglists::TextEncoding::Ansi, taglists::TextEncoding::Utf8Bom,
                                           taglists::TextEncoding::Utf16LE, taglists::TextEncoding::Utf16BE};
    for (const taglists::TextEncoding encoding : encodings)
        if (std::string fault = checkListRoundTrip(path, content->lines, encoding); !fault.empty())
            return fault;
    return checkTagListHelpers(content->lines);
}

}  // namespace fuzzing
