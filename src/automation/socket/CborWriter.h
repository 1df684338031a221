#pragma once

#include <QByteArray>
#include <QLatin1StringView>
#include <QtEndian>

#include <bit>
#include <cstdint>
#include <string_view>

namespace automation::socket {

// Appends CBOR to a byte array, item by item, in the encoding QCborValue::toCbor() gives:
// the shortest heads, definite lengths, doubles in 8 bytes. Building a QCborMap and then
// serialising it allocates a container per message and a QIODevice per serialisation; a
// round trip's messages are small and of fixed shapes, so they are written directly.
class CborWriter {
public:
    explicit CborWriter(QByteArray& out) : out_(out) {}

    void integer(int64_t n)
    {
        if (n >= 0)
            head(0, static_cast<uint64_t>(n));
        else
            head(1, ~static_cast<uint64_t>(n));
    }
    void byteString(const char* data, qsizetype size)
    {
        head(2, static_cast<uint64_t>(size));
        out_.append(data, size);
    }
    void text(QLatin1StringView ascii)
    {
        head(3, static_cast<uint64_t>(ascii.size()));
        out_.append(ascii.data(), ascii.size());
    }
    // Well-formed UTF-16 only (no lone surrogates), written as UTF-8.
    void text(std::u16string_view utf16);
    void array(size_t size) { head(4, size); }
    void map(size_t size) { head(5, size); }
    void tag(uint64_t number) { head(6, number); }
    void boolean(bool b) { out_.append(static_cast<char>(b ? 0xF5 : 0xF4)); }
    void null() { out_.append(static_cast<char>(0xF6)); }
    void undefined() { out_.append(static_cast<char>(0xF7)); }
    void number(double d)
    {
        char bytes[9];
        bytes[0] = static_cast<char>(0xFB);
        qToBigEndian<quint64>(std::bit_cast<quint64>(d), bytes + 1);
        out_.append(bytes, 9);
    }

private:
    void head(unsigned major, uint64_t n)
    {
        char bytes[9];
        const char type = static_cast<char>(major << 5);
        if (n < 24) {
            out_.append(static_cast<char>(type | static_cast<char>(n)));
            return;
        }
        if (n <= 0xFF) {
            bytes[0] = static_cast<char>(type | 24);
            bytes[1] = static_cast<char>(n);
            out_.append(bytes, 2);
        } else if (n <= 0xFFFF) {
            bytes[0] = static_cast<char>(type | 25);
            qToBigEndian<quint16>(static_cast<quint16>(n), bytes + 1);
            out_.append(bytes, 3);
        } else if (n <= 0xFFFFFFFFu) {
            bytes[0] = static_cast<char>(type | 26);
            qToBigEndian<quint32>(static_cast<quint32>(n), bytes + 1);
            out_.append(bytes, 5);
        } else {
            bytes[0] = static_cast<char>(type | 27);
            qToBigEndian<quint64>(n, bytes + 1);
            out_.append(bytes, 9);
        }
    }

    QByteArray& out_;
};

inline void CborWriter::text(std::u16string_view utf16)
{
    size_t length = 0;
    for (size_t i = 0; i < utf16.size(); ++i) {
        const char16_t c = utf16[i];
        if (c < 0x80)
            length += 1;
        else if (c < 0x800)
            length += 2;
        else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size()) {
            length += 4;  // a surrogate pair: one code point
            ++i;
        } else
            length += 3;
    }
    head(3, length);
    const qsizetype start = out_.size();
    out_.resize(start + static_cast<qsizetype>(length));
    auto* p = reinterpret_cast<unsigned char*>(out_.data() + start);
    for (size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (c < 0x80) {
            *p++ = static_cast<unsigned char>(c);
        } else if (c < 0x800) {
            *p++ = static_cast<unsigned char>(0xC0 | (c >> 6));
            *p++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(utf16[++i]) - 0xDC00);
            *p++ = static_cast<unsigned char>(0xF0 | (c >> 18));
            *p++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
            *p++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            *p++ = static_cast<unsigned char>(0xE0 | (c >> 12));
            *p++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
    }
}

// A frame assembled in place: room for the length, the CBOR, then the length filled in.
class FrameWriter {
public:
    FrameWriter() : cbor_(bytes_)
    {
        bytes_.reserve(128);
        bytes_.append(4, '\0');
    }
    CborWriter& cbor() { return cbor_; }
    void append(const QByteArray& encoded) { bytes_.append(encoded); }
    QByteArray take()
    {
        qToBigEndian<quint32>(static_cast<quint32>(bytes_.size() - 4), bytes_.data());
        return std::move(bytes_);
    }

private:
    QByteArray bytes_;
    CborWriter cbor_;
};

}  // namespace automation::socket
