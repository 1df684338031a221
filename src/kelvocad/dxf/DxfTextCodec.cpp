#include "kelvocad/dxf/DxfTextCodec.h"

#include "common/CodePage.h"
#include "common/Utf.h"

#include <cctype>
#include <stdexcept>
#include <string>

namespace kelvocad {

namespace {

constexpr int fallbackCodePage = 1252;

int hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

// The four hex digits at text[at..at+4) as a number; -1 when they are not there.
int fourHexDigits(std::u16string_view text, size_t at)
{
    if (at + 4 > text.size())
        return -1;
    int value = 0;
    for (size_t i = at; i < at + 4; ++i) {
        const int digit = hexValue(text[i]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

// The code page of the n in \M+nXXXX.
int multibyteCodePage(char16_t n)
{
    switch (n) {
    case u'1': return 932;
    case u'2': return 950;
    case u'3': return 949;
    case u'4': return 1361;
    case u'5': return 936;
    default: return 0;
    }
}

void appendEscape(std::string& out, char16_t unit)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    out += "\\U+";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += digits[(unit >> shift) & 0xF];
}

bool isSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// \U+XXXX at text[at].
bool isUnicodeEscape(std::u16string_view text, size_t at)
{
    return at + 2 < text.size() && text[at] == u'\\' && (text[at + 1] == u'U' || text[at + 1] == u'u') &&
           text[at + 2] == u'+' && fourHexDigits(text, at + 3) >= 0;
}

// \M+nXXXX at text[at], n naming a code page.
bool isMultibyteEscape(std::u16string_view text, size_t at)
{
    return at + 3 < text.size() && text[at] == u'\\' && (text[at + 1] == u'M' || text[at + 1] == u'm') &&
           text[at + 2] == u'+' && multibyteCodePage(text[at + 3]) != 0 && fourHexDigits(text, at + 4) >= 0;
}

}  // namespace

DxfTextCodec::DxfTextCodec(std::string_view acadVersion, std::string_view dwgCodePage)
{
    if (versionUsesUtf8(acadVersion)) {
        codePage_ = utf8CodePage;
        return;
    }
    const int named = codePageFromName(dwgCodePage);
    codePage_ = named != 0 ? named : fallbackCodePage;
    try {
        common::decodeCodePage("A", codePage_);
    } catch (const std::exception&) {
        codePage_ = fallbackCodePage;  // a code page this system has no converter for
    }
}

DxfTextCodec DxfTextCodec::forFile(std::string_view acadVersion, std::string_view dwgCodePage,
                                   std::string_view fileBytes)
{
    if (versionUsesUtf8(acadVersion) || !dwgCodePage.empty())
        return DxfTextCodec(acadVersion, dwgCodePage);
    // Japanese drafting programs write R12 files in Shift_JIS without naming it. A file that
    // is not valid in the system's code page (a Western one with accented letters, mostly)
    // keeps the 1252 reading. A file of ASCII only reads the same either way; in the system's
    // code page, what is written into it reads back the same at the next opening.
    const int ansi = common::ansiCodePage();
    bool valid = false;
    try {
        valid = common::decodeCodePage(fileBytes, ansi).find(u'\xFFFD') == std::u16string::npos;
    } catch (const std::exception&) {
        valid = false;  // no converter for it on this system
    }
    return DxfTextCodec(acadVersion, valid ? "ANSI_" + std::to_string(ansi) : std::string());
}

bool DxfTextCodec::versionUsesUtf8(std::string_view acadVersion)
{
    return acadVersion.size() == 6 && acadVersion.substr(0, 2) == "AC" && acadVersion >= "AC1021";
}

int DxfTextCodec::codePageFromName(std::string_view name)
{
    std::string upper;
    for (char c : name)
        if (c != ' ' && c != '\t')
            upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper == "UTF8" || upper == "UTF-8")
        return utf8CodePage;
    std::string_view digits;
    for (std::string_view prefix : {"ANSI_", "DOS", "CP"})
        if (upper.rfind(prefix, 0) == 0)
            digits = std::string_view(upper).substr(prefix.size());
    if (digits.empty() || digits.size() > 5)
        return 0;
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::u16string DxfTextCodec::decodeBytes(std::string_view bytes, int codePage) const
{
    if (codePage == utf8CodePage)
        return common::fromUtf8(bytes);
    try {
        return common::decodeCodePage(bytes, codePage);
    } catch (const std::exception&) {
        return common::decodeCodePage(bytes, fallbackCodePage);
    }
}

std::u16string DxfTextCodec::decode(std::string_view bytes) const
{
    return unescape(decodeBytes(bytes, codePage_));
}

std::u16string DxfTextCodec::unescape(std::u16string_view text) const
{
    if (text.find_first_of(u"\\^") == std::u16string_view::npos)
        return std::u16string(text);
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\\' && isUnicodeEscape(text, i)) {
            out += static_cast<char16_t>(fourHexDigits(text, i + 3));
            i += 6;
            continue;
        }
        if (c == u'\\' && isMultibyteEscape(text, i)) {
            const int codePage = multibyteCodePage(text[i + 3]);
            const int value = fourHexDigits(text, i + 4);
            const char bytes[2] = {static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
            try {
                out += common::decodeCodePage(std::string_view(bytes, 2), codePage);
            } catch (const std::exception&) {
                out += u'\xFFFD';
            }
            i += 7;
            continue;
        }
        // Line breaks cannot stand in a value line; they are written as ^J and ^M, a caret
        // that would read as one of those as "^ ".
        if (c == u'^' && i + 1 < text.size()) {
            const char16_t next = text[i + 1];
            if (next == u'J' || next == u'M' || next == u' ') {
                out += next == u'J' ? u'\n' : next == u'M' ? u'\r' : u'^';
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

std::string DxfTextCodec::encode(std::u16string_view text) const
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\n' || c == u'\r') {
            out += c == u'\n' ? "^J" : "^M";
            continue;
        }
        if (c == u'^') {
            const bool ambiguous =
                i + 1 < text.size() && (text[i + 1] == u'J' || text[i + 1] == u'M' || text[i + 1] == u' ');
            out += ambiguous ? "^ " : "^";
            continue;
        }
        // A backslash that would read as the start of an escape is itself escaped.
        if ((c < 0x20 && c != u'\t') || c == 0x7F || isUnicodeEscape(text, i) || isMultibyteEscape(text, i)) {
            appendEscape(out, c);
            continue;
        }
        size_t length = 1;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            length = 2;
        const std::u16string_view character = text.substr(i, length);
        if (length == 1 && isSurrogate(c)) {
            appendEscape(out, c);  // a lone surrogate has no encoding anywhere
            continue;
        }
        if (isUtf8()) {
            out += common::toUtf8(character);
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (auto bytes = common::encodeCodePage(character, codePage_)) {
            out += *bytes;
        } else {
            for (char16_t unit : character)
                appendEscape(out, unit);
        }
        i += length - 1;
    }
    return out;
}

}  // namespace kelvocad
