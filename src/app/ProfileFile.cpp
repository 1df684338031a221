#include "app/ProfileFile.h"

#include "common/AtomicFile.h"
#include "common/CaseFold.h"
#include "common/CodePage.h"
#include "common/FileError.h"

#include <optional>
#include <vector>

namespace app {

namespace {

enum class ProfileEncoding { Ansi, Utf16LE, Utf16BE };

constexpr std::string_view kUtf16LEBom = "\xFF\xFE";
constexpr std::string_view kUtf16BEBom = "\xFE\xFF";

struct Line {
    std::u16string text;              // without its line end
    std::u16string ending;            // "\r\n", "\n", "\r", or empty for an unterminated last line
    std::optional<std::string> raw;   // ANSI files: the bytes the text came from, written back as they were
};

// The file as lines, so that a write can change one line and keep the bytes of all others.
struct Document {
    ProfileEncoding encoding = ProfileEncoding::Ansi;
    std::vector<Line> lines;
    std::string oddTrailingByte;      // a UTF-16 file of odd length keeps its last byte
};

bool isEnd(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

template <typename Unit>
size_t lineEndLength(const std::basic_string_view<Unit> text, size_t i)
{
    if (text[i] == Unit('\r') && i + 1 < text.size() && text[i + 1] == Unit('\n'))
        return 2;
    return 1;
}

// Splits text (bytes of an ANSI file or units of a UTF-16 file) at CR LF, LF and CR. In the
// ANSI code pages of Windows a CR or LF byte is never part of a double-byte character.
template <typename Unit, typename MakeLine>
std::vector<Line> splitLines(std::basic_string_view<Unit> text, MakeLine makeLine)
{
    std::vector<Line> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != Unit('\r') && text[i] != Unit('\n'))
            continue;
        const size_t endLength = lineEndLength(text, i);
        std::u16string ending;
        for (size_t k = 0; k < endLength; ++k)
            ending += static_cast<char16_t>(text[i + k]);
        lines.push_back(makeLine(text.substr(start, i - start), std::move(ending)));
        i += endLength - 1;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(makeLine(text.substr(start), std::u16string()));
    return lines;
}

std::u16string unitsFromBytes(std::string_view bytes, bool bigEndian)
{
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return units;
}

void appendUnits(std::string& bytes, std::u16string_view units, bool bigEndian)
{
    for (const char16_t unit : units) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
}

Document parse(std::string_view bytes)
{
    Document document;
    if (bytes.starts_with(kUtf16LEBom) || bytes.starts_with(kUtf16BEBom)) {
        const bool bigEndian = bytes.starts_with(kUtf16BEBom);
        document.encoding = bigEndian ? ProfileEncoding::Utf16BE : ProfileEncoding::Utf16LE;
        const std::string_view body = bytes.substr(2);
        if (body.size() % 2 != 0)
            document.oddTrailingByte.assign(1, body.back());
        const std::u16string units = unitsFromBytes(body, bigEndian);
        document.lines = splitLines(std::u16string_view(units), [](std::u16string_view text, std::u16string ending) {
            return Line{std::u16string(text), std::move(ending), std::nullopt};
        });
        return document;
    }
    const int codePage = common::ansiCodePage();
    document.lines = splitLines(bytes, [codePage](std::string_view raw, std::u16string ending) {
        return Line{common::decodeCodePage(raw, codePage), std::move(ending), std::string(raw)};
    });
    return document;
}

Document load(const std::filesystem::path& path)
{
    const std::optional<std::string> bytes = common::readFileBytes(path);
    return bytes ? parse(*bytes) : Document{};
}

std::u16string toUnits(const Document& document)
{
    std::u16string units;
    for (const Line& line : document.lines)
        units += line.text + line.ending;
    return units;
}

std::string serialize(const Document& document)
{
    if (document.encoding == ProfileEncoding::Ansi) {
        const int codePage = common::ansiCodePage();
        std::string bytes;
        bool fits = true;
        for (const Line& line : document.lines) {
            if (line.raw) {
                bytes += *line.raw;
            } else if (std::optional<std::string> encoded = common::encodeCodePage(line.text, codePage)) {
                bytes += *encoded;
            } else {
                fits = false;
                break;
            }
            for (const char16_t c : line.ending)
                bytes += static_cast<char>(c);
        }
        if (fits)
            return bytes;
        // The code page cannot hold the new text: the file becomes UTF-16, which the profile
        // functions read as well, rather than losing what was written.
        std::string utf16(kUtf16LEBom);
        appendUnits(utf16, toUnits(document), false);
        return utf16;
    }
    const bool bigEndian = document.encoding == ProfileEncoding::Utf16BE;
    std::string bytes(bigEndian ? kUtf16BEBom : kUtf16LEBom);
    appendUnits(bytes, toUnits(document), bigEndian);
    return bytes + document.oddTrailingByte;
}

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || isEnd(c);
}

std::u16string_view trimBlanks(std::u16string_view text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::optional<std::u16string_view> sectionName(std::u16string_view text)
{
    const std::u16string_view trimmed = trimBlanks(text);
    if (!trimmed.starts_with(u'['))
        return std::nullopt;
    const size_t close = trimmed.rfind(u']');
    if (close == std::u16string_view::npos || close == 0)
        return std::nullopt;
    return trimBlanks(trimmed.substr(1, close - 1));
}

struct KeyLine {
    std::u16string_view name;
    std::u16string_view value;
};

std::optional<KeyLine> keyLine(std::u16string_view text)
{
    const size_t equals = text.find(u'=');
    if (equals == std::u16string_view::npos)
        return std::nullopt;
    return KeyLine{trimBlanks(text.substr(0, equals)), trimBlanks(text.substr(equals + 1))};
}

struct Location {
    std::optional<size_t> section;    // the header line of the first section of that name
    size_t sectionEnd = 0;            // the next header line, or the number of lines
    std::optional<size_t> key;        // the first line of that key inside the section
};

Location locateSection(const Document& document, std::u16string_view section)
{
    section = trimBlanks(section);
    Location location;
    const auto& lines = document.lines;
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i].text);
        if (!name)
            continue;
        if (location.section) {
            location.sectionEnd = i;
            return location;
        }
        if (common::equalsIgnoringCase(*name, section))
            location.section = i;
    }
    location.sectionEnd = lines.size();
    return location;
}

void findKey(const Document& document, std::u16string_view key, Location& location)
{
    key = trimBlanks(key);
    for (size_t i = *location.section + 1; i < location.sectionEnd; ++i) {
        const auto entry = keyLine(document.lines[i].text);
        if (entry && common::equalsIgnoringCase(entry->name, key)) {
            location.key = i;
            return;
        }
    }
}

// New lines follow the line ends the file already uses.
std::u16string preferredEnding(const Document& document)
{
    for (const Line& line : document.lines)
        if (!line.ending.empty())
            return line.ending;
    return u"\r\n";
}

// A value must stay on its line: a line break in it would end the value and start lines
// that the file reads back as other keys or sections.
std::u16string singleLine(std::u16string_view value)
{
    std::u16string text(value);
    for (char16_t& c : text)
        if (isEnd(c))
            c = u' ';
    return text;
}

std::u16string stripQuotes(std::u16string_view value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::u16string(value);
}

}  // namespace

ProfileFile::ProfileFile(std::filesystem::path path)
    : path_(std::move(path))
{
}

std::u16string ProfileFile::readString(std::u16string_view section, std::u16string_view key,
                                       std::u16string_view defaultValue) const
{
    std::u16string value(defaultValue);
    try {
        const Document document = load(path_);
        Location location = locateSection(document, section);
        if (location.section) {
            findKey(document, key, location);
            if (location.key)
                value = stripQuotes(keyLine(document.lines[*location.key].text)->value);
        }
    } catch (const common::FileError&) {
        // Like the profile functions: a file that cannot be read gives the defaults.
    }
    if (value.size() > kMaxValueLength)
        value.resize(kMaxValueLength);
    return value;
}

int32_t ProfileFile::readInt(std::u16string_view section, std::u16string_view key, int32_t defaultValue) const
{
    return parseProfileInt(readString(section, key, u""), defaultValue);
}

bool ProfileFile::readBool(std::u16string_view section, std::u16string_view key, bool defaultValue) const
{
    return readInt(section, key, defaultValue ? 1 : 0) != 0;
}

void ProfileFile::writeString(std::u16string_view section, std::u16string_view key, std::u16string_view value)
{
    Document document = load(path_);
    const std::u16string text = singleLine(value);
    Location location = locateSection(document, section);
    auto& lines = document.lines;
    if (location.section)
        findKey(document, key, location);

    if (location.key) {
        Line& line = lines[*location.key];
        line.text = std::u16string(keyLine(line.text)->name) + u'=' + text;
        line.raw.reset();
    } else {
        const std::u16string ending = preferredEnding(document);
        std::vector<Line> added;
        size_t at = lines.size();
        if (location.section) {
            // After the last non-blank line of the section, so that a blank line before the next
            // section stays where it is.
            at = location.sectionEnd;
            while (at > *location.section + 1 && trimBlanks(lines[at - 1].text).empty())
                --at;
        } else {
            added.push_back(Line{u'[' + std::u16string(trimBlanks(section)) + u']', ending, std::nullopt});
        }
        added.push_back(Line{std::u16string(trimBlanks(key)) + u'=' + text, ending, std::nullopt});
        if (at > 0 && lines[at - 1].ending.empty())
            lines[at - 1].ending = ending;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
    }
    common::writeFileAtomically(path_, serialize(document));
}

void ProfileFile::writeInt(std::u16string_view section, std::u16string_view key, int32_t value)
{
    const std::string digits = std::to_string(value);
    writeString(section, key, std::u16string(digits.begin(), digits.end()));
}

void ProfileFile::writeBool(std::u16string_view section, std::u16string_view key, bool value)
{
    writeString(section, key, value ? u"1" : u"0");
}

int32_t parseProfileInt(std::u16string_view text, int32_t defaultValue)
{
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        uint64_t value = 0;
        for (const char16_t c : text.substr(2)) {
            int digit;
            if (c >= u'0' && c <= u'9')
                digit = c - u'0';
            else if (c >= u'a' && c <= u'f')
                digit = c - u'a' + 10;
            else if (c >= u'A' && c <= u'F')
                digit = c - u'A' + 10;
            else
                return defaultValue;
            value = value * 16 + static_cast<uint64_t>(digit);
            if (value > 0xFFFFFFFFu)
                return defaultValue;
        }
        // Eight hexadecimal digits are the 32 bits as they are: 0xFFFFFFFF reads as -1.
        return static_cast<int32_t>(static_cast<uint32_t>(value));
    }
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    if (i == text.size())
        return defaultValue;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return defaultValue;
        value = value * 10 + (text[i] - u'0');
        if (value > 2147483648LL)
            return defaultValue;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return defaultValue;
    return static_cast<int32_t>(value);
}

}  // namespace app
