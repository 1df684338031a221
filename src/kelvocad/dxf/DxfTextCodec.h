#pragma once

#include <string>
#include <string_view>

namespace kelvocad {

// The text encoding of one DXF file: UTF-8 from AutoCAD 2007 (AC1021) on, before that the
// ANSI code page named by $DWGCODEPAGE. Either way a character may stand as \U+XXXX (and,
// in the older files, a double-byte character as \M+nXXXX); decoding resolves both, and
// encoding writes \U+XXXX for a character the code page cannot hold.
class DxfTextCodec {
public:
    DxfTextCodec(std::string_view acadVersion, std::string_view dwgCodePage);
    // The codec of a whole file. A file before AC1021 without $DWGCODEPAGE is read in the
    // system's ANSI code page, as a CAD on that system reads it (932, Shift_JIS, where the
    // system has none), when all its bytes are characters of that code page; otherwise, and
    // for a code page name this system does not know, in 1252.
    static DxfTextCodec forFile(std::string_view acadVersion, std::string_view dwgCodePage, std::string_view fileBytes);

    std::u16string decode(std::string_view bytes) const;
    std::string encode(std::u16string_view text) const;

    bool isUtf8() const noexcept { return codePage_ == utf8CodePage; }
    int codePage() const noexcept { return codePage_; }

    // The Windows code page of a $DWGCODEPAGE name such as ANSI_1252; 0 when unknown.
    static int codePageFromName(std::string_view name);
    // True for AC1021 and later.
    static bool versionUsesUtf8(std::string_view acadVersion);

    static constexpr int utf8CodePage = 65001;

private:
    std::u16string decodeBytes(std::string_view bytes, int codePage) const;
    std::u16string unescape(std::u16string_view text) const;

    int codePage_;
};

}  // namespace kelvocad
