#pragma once

// Turns a fuzzer's bytes into the UTF-16 texts and small numbers the checks need. A byte
// below 0x80 is that ASCII character, so seeds and findings stay readable; a byte from 0x80
// up takes the next byte with it and gives the code unit ((byte & 0x7F) << 8) | next, so
// every unit, lone surrogates included, can be reached.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fuzzing {

inline std::u16string unitsFromBytes(std::string_view bytes)
{
    std::u16string text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80 || i + 1 == bytes.size()) {
            text += static_cast<char16_t>(b);
            continue;
        }
        text += static_cast<char16_t>(((b & 0x7F) << 8) | static_cast<unsigned char>(bytes[++i]));
    }
    return text;
}

// Reads fixed-size numbers from the front and leaves the rest as text.
class InputReader {
public:
    explicit InputReader(std::string_view bytes) : bytes_(bytes) {}

    uint8_t byte()
    {
        if (bytes_.empty())
            return 0;
        const auto b = static_cast<uint8_t>(bytes_.front());
        bytes_.remove_prefix(1);
        return b;
    }
    int32_t int32()
    {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = (value << 8) | byte();
        return static_cast<int32_t>(value);
    }
    // The text up to the next byte 0x01 (which is dropped), or all that is left.
    std::u16string field()
    {
        const size_t end = bytes_.find('\x01');
        const std::u16string text = unitsFromBytes(bytes_.substr(0, end));
        bytes_.remove_prefix(end == std::string_view::npos ? bytes_.size() : end + 1);
        return text;
    }
    std::string_view rest() const { return bytes_; }

private:
    std::string_view bytes_;
};

inline std::string printable(std::u16string_view text)
{
    std::string out;
    static const char* digits = "0123456789ABCDEF";
    for (const char16_t c : text) {
        if (c >= 0x20 && c < 0x7F && c != u'\\') {
            out += static_cast<char>(c);
        } else {
            out += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += digits[(c >> shift) & 0xF];
        }
    }
    return out;
}

}  // namespace fuzzing
