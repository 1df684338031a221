#include "common/CodePage.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <memory>
#include <stdexcept>
#endif

namespace common {

#ifdef _WIN32

int ansiCodePage()
{
    return static_cast<int>(GetACP());
}

namespace {

// The characters of bytes, or nothing when any byte sequence in them is invalid.
std::optional<std::u16string> decodeStrictly(std::string_view bytes, UINT codePage)
{
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), length);
    return std::u16string(wide.begin(), wide.end());
}

}  // namespace

std::u16string decodeCodePage(std::string_view bytes, int codePage)
{
    if (bytes.empty())
        return {};
    const UINT cp = static_cast<UINT>(codePage);
    if (std::optional<std::u16string> text = decodeStrictly(bytes, cp))
        return *text;
    if (cp == CP_UTF8) {
        // Windows already puts U+FFFD in place of invalid UTF-8.
        const int size = static_cast<int>(bytes.size());
        const int length = MultiByteToWideChar(cp, 0, bytes.data(), size, nullptr, 0);
        std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
        MultiByteToWideChar(cp, 0, bytes.data(), size, wide.data(), length);
        return std::u16string(wide.begin(), wide.end());
    }
    // Character by character, so that each invalid sequence becomes U+FFFD (Windows would put
    // its own default character, a middle dot in code page 932, in its place).
    std::u16string text;
    size_t i = 0;
    while (i < bytes.size()) {
        const bool lead = IsDBCSLeadByteEx(cp, static_cast<BYTE>(bytes[i])) != 0;
        const size_t width = lead && i + 1 < bytes.size() ? 2 : 1;
        if (std::optional<std::u16string> character = decodeStrictly(bytes.substr(i, width), cp)) {
            text += *character;
            i += width;
        } else {
            text += u'\uFFFD';
            ++i;
        }
    }
    return text;
}

std::optional<std::string> encodeCodePage(std::u16string_view text, int codePage)
{
    if (text.empty())
        return std::string();
    const std::wstring wide(text.begin(), text.end());
    const int size = static_cast<int>(wide.size());
    const UINT cp = static_cast<UINT>(codePage);
    // UTF-8 and UTF-7 accept neither flags nor the used-default-char out-parameter.
    const bool utf = cp == CP_UTF8 || cp == CP_UTF7;
    const DWORD flags = cp == CP_UTF8 ? WC_ERR_INVALID_CHARS : (utf ? 0 : WC_NO_BEST_FIT_CHARS);
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(cp, flags, wide.data(), size, nullptr, 0, nullptr,
                                           utf ? nullptr : &usedDefault);
    if (length <= 0 || usedDefault)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(cp, flags, wide.data(), size, bytes.data(), length, nullptr, utf ? nullptr : &usedDefault);
    if (usedDefault)
        return std::nullopt;
    return bytes;
}

#else

namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

std::string converterName(int codePage)
{
    switch (codePage) {
    case 932:
        return "windows-31j";
    case 65001:
        return "UTF-8";
    case 1200:
        return "UTF-16LE";
    case 1201:
        return "UTF-16BE";
    case 20127:
        return "US-ASCII";
    case 28591:
        return "ISO-8859-1";
    default:
        return "windows-" + std::to_string(codePage);
    }
}

Converter openConverter(int codePage)
{
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(converterName(codePage).c_str(), &status));
    if (U_FAILURE(status) || !converter)
        throw std::invalid_argument("code page " + std::to_string(codePage) + " is not available");
    return converter;
}

// Every byte sequence without a mapping, illegal or merely unassigned, becomes U+FFFD.
// (ICU's own substitution would give U+001A for unassigned single bytes.)
void substituteReplacementCharacter(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                                    UConverterCallbackReason reason, UErrorCode* status)
{
    if (reason > UCNV_IRREGULAR)
        return;
    *status = U_ZERO_ERROR;
    const UChar replacement = 0xFFFD;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, status);
}

// ICU's own stop callback lets unmappable default-ignorable characters (soft hyphen,
// zero-width space, variation selectors) pass as if they were not there; this one stops on
// every character without a mapping, so none is dropped unnoticed.
void stopOnEveryUnmappable(const void*, UConverterFromUnicodeArgs*, const UChar*, int32_t, UChar32,
                           UConverterCallbackReason, UErrorCode*)
{
}

}  // namespace

int ansiCodePage()
{
    return 932;
}

std::u16string decodeCodePage(std::string_view bytes, int codePage)
{
    if (bytes.empty())
        return {};
    Converter converter = openConverter(codePage);
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter.get(), substituteReplacementCharacter, nullptr, nullptr, nullptr, &status);
    // Every byte gives at most two UTF-16 units.
    std::u16string text(bytes.size() * 2 + 2, u'\0');
    const int32_t length = ucnv_toUChars(converter.get(), text.data(), static_cast<int32_t>(text.size()),
                                         bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status))
        return std::u16string(bytes.size(), u'\uFFFD');
    text.resize(static_cast<size_t>(length));
    return text;
}

std::optional<std::string> encodeCodePage(std::u16string_view text, int codePage)
{
    if (text.empty())
        return std::string();
    Converter converter = openConverter(codePage);
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter.get(), stopOnEveryUnmappable, nullptr, nullptr, nullptr, &status);
    ucnv_setFallback(converter.get(), false);
    std::string bytes(text.size() * static_cast<size_t>(ucnv_getMaxCharSize(converter.get())) + 1, '\0');
    const int32_t length = ucnv_fromUChars(converter.get(), bytes.data(), static_cast<int32_t>(bytes.size()),
                                           text.data(), static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    bytes.resize(static_cast<size_t>(length));
    return bytes;
}

#endif

}  // namespace common
