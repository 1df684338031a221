#include "taglists/ListFile.h"

#include "common/AtomicFile.h"
#include "common/CodePage.h"
#include "common/Utf.h"

#include <algorithm>

namespace taglists {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEBom = "\xFF\xFE";
constexpr std::string_view kUtf16BEBom = "\xFE\xFF";

std::u16string decodeUtf16(std::string_view bytes, bool bigEndian)
{
    std::u16string text;
    text.reserve(bytes.size() / 2 + 1);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        text += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    if (bytes.size() % 2 != 0)
        text += u'\uFFFD';
    return text;
}

void appendUtf16(std::string& bytes, std::u16string_view text, bool bigEndian)
{
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
}

std::vector<std::u16string> splitLines(std::u16string_view text)
{
    std::vector<std::u16string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

}  // namespace

std::optional<ListFileContent> readListFile(const std::filesystem::path& path)
{
    const std::optional<std::string> bytes = common::readFileBytes(path);
    if (!bytes)
        return std::nullopt;
    const std::string_view data = *bytes;
    ListFileContent content;
    std::u16string text;
    if (data.starts_with(kUtf8Bom)) {
        content.encoding = TextEncoding::Utf8Bom;
        text = common::fromUtf8(data.substr(kUtf8Bom.size()));
    } else if (data.starts_with(kUtf16LEBom)) {
        content.encoding = TextEncoding::Utf16LE;
        text = decodeUtf16(data.substr(kUtf16LEBom.size()), false);
    } else if (data.starts_with(kUtf16BEBom)) {
        content.encoding = TextEncoding::Utf16BE;
        text = decodeUtf16(data.substr(kUtf16BEBom.size()), true);
    } else {
        content.encoding = TextEncoding::Ansi;
        text = common::decodeCodePage(data, common::ansiCodePage());
    }
    content.lines = splitLines(text);
    return content;
}

TextEncoding writeListFile(const std::filesystem::path& path, const std::vector<std::u16string>& lines,
                           TextEncoding encoding)
{
    // Bytes that were no character of the file's encoding were read as U+FFFD. Writing the
    // same list back would replace them for good, at every close, though nobody changed
    // anything: a file that already holds exactly this list stays as it is.
    const bool replaced = std::any_of(lines.begin(), lines.end(),
                                      [](const std::u16string& line) { return line.find(u'\uFFFD') != line.npos; });
    if (replaced) {
        try {
            const std::optional<ListFileContent> current = readListFile(path);
            if (current && current->encoding == encoding && current->lines == lines)
                return encoding;
        } catch (const common::FileError&) {
            // Not readable: writing it anew is all that is left.
        }
    }

    std::u16string text;
    for (const auto& line : lines) {
        text += line;
        text += u"\r\n";
    }

    std::string bytes;
    if (encoding == TextEncoding::Ansi) {
        if (std::optional<std::string> ansi = common::encodeCodePage(text, common::ansiCodePage()))
            bytes = std::move(*ansi);
        else
            encoding = TextEncoding::Utf8Bom;
    }
    // UTF-8 has no form for a lone surrogate; UTF-16 keeps it.
    if (encoding == TextEncoding::Utf8Bom && !common::isWellFormedUtf16(text))
        encoding = TextEncoding::Utf16LE;
    switch (encoding) {
    case TextEncoding::Ansi:
        break;
    case TextEncoding::Utf8Bom:
        bytes = common::toUtf8(text);
        bytes.insert(0, kUtf8Bom.data(), kUtf8Bom.size());
        break;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
        const bool bigEndian = encoding == TextEncoding::Utf16BE;
        const std::string_view bom = bigEndian ? kUtf16BEBom : kUtf16LEBom;
        bytes.reserve(bom.size() + 2 * text.size());
        bytes.append(bom.data(), bom.size());
        appendUtf16(bytes, text, bigEndian);
        break;
    }
    }
    common::writeFileAtomically(path, bytes);
    return encoding;
}

std::optional<ListFileContent> TrackedListFile::read()
{
    std::optional<ListFileContent> content;
    try {
        content = readListFile(path_);
    } catch (...) {
        readFailed_ = true;
        throw;
    }
    known_ = content;
    readFailed_ = false;
    return content;
}

void TrackedListFile::remember(const ListFileContent& content)
{
    known_ = content;
    readFailed_ = false;
}

bool TrackedListFile::writeUnlessChangedElsewhere(const std::vector<std::u16string>& lines)
{
    // The lines shown came from the built-in defaults, not from the file that could not be read.
    if (readFailed_)
        return false;
    const std::optional<ListFileContent> current = readListFile(path_);
    // Absent: the first run, or removed meanwhile. Present: only as it was last read or written.
    const bool unchanged =
        !current || (known_ && current->encoding == known_->encoding && current->lines == known_->lines);
    if (!unchanged)
        return false;
    const TextEncoding written = writeListFile(path_, lines, encoding());
    known_ = ListFileContent{lines, written};
    return true;
}

}  // namespace taglists
