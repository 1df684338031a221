#include "automation/socket/MessageFields.h"

#include "automation/socket/Protocol.h"

#include <QCborArray>
#include <QCborStreamReader>
#include <QtEndian>

#include <bit>
#include <limits>

namespace automation::socket {

namespace {

constexpr QLatin1StringView names[] = {key::type,  key::id,     key::object, key::member, key::kind,  key::args,
                                       key::value, key::status, key::code,   key::text,   key::count, key::name};

bool isAscii(const char* text, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    }
    return true;
}

// Reads the CBOR that round trips consist of. Anything else (other tags, byte strings,
// maps, indefinite lengths, half and single floats, integers beyond 64 bits signed,
// non-ASCII text, deep nesting, bytes missing) makes it give up, and the message is read
// the general way: what it accepts, QCbor decodes to the same values.
class CommonReader {
public:
    CommonReader(const char* begin, const char* end) : p_(begin), end_(end) {}

    bool head(unsigned& major, unsigned& info, uint64_t& argument)
    {
        if (p_ >= end_)
            return false;
        const auto first = static_cast<unsigned char>(*p_++);
        major = first >> 5;
        info = first & 0x1F;
        if (info < 24) {
            argument = info;
            return true;
        }
        if (info > 27)
            return false;
        const size_t size = size_t(1) << (info - 24);
        if (static_cast<size_t>(end_ - p_) < size)
            return false;
        switch (size) {
        case 1: argument = static_cast<unsigned char>(*p_); break;
        case 2: argument = qFromBigEndian<quint16>(p_); break;
        case 4: argument = qFromBigEndian<quint32>(p_); break;
        default: argument = qFromBigEndian<quint64>(p_); break;
        }
        p_ += size;
        return true;
    }

    // A text string of ASCII only.
    bool ascii(uint64_t length, QLatin1StringView& text)
    {
        if (static_cast<uint64_t>(end_ - p_) < length || !isAscii(p_, static_cast<size_t>(length)))
            return false;
        text = QLatin1StringView(p_, static_cast<qsizetype>(length));
        p_ += length;
        return true;
    }

    bool value(QCborValue& out, int depth)
    {
        unsigned major = 0;
        unsigned info = 0;
        uint64_t n = 0;
        if (!head(major, info, n))
            return false;
        constexpr auto largest = static_cast<uint64_t>(std::numeric_limits<qint64>::max());
        switch (major) {
        case 0:
            if (n > largest)
                return false;
            out = QCborValue(static_cast<qint64>(n));
            return true;
        case 1:
            if (n > largest)
                return false;
            out = QCborValue(-1 - static_cast<qint64>(n));
            return true;
        case 3: {
            QLatin1StringView text;
            if (!ascii(n, text))
                return false;
            out = QCborValue(QString(text));
            return true;
        }
        case 4: {
            // Every element takes a byte at least.
            if (depth >= maxDepth || n > static_cast<uint64_t>(end_ - p_))
                return false;
            QCborArray elements;
            for (uint64_t i = 0; i < n; ++i) {
                QCborValue element;
                if (!value(element, depth + 1))
                    return false;
                elements.append(std::move(element));
            }
            out = QCborValue(std::move(elements));
            return true;
        }
        case 6: {
            if (n < firstTag || n > lastTag || depth >= maxDepth)
                return false;
            QCborValue tagged;
            if (!value(tagged, depth + 1))
                return false;
            out = QCborValue(QCborTag(n), std::move(tagged));
            return true;
        }
        case 7:
            switch (info) {
            case 20: out = QCborValue(false); return true;
            case 21: out = QCborValue(true); return true;
            case 22: out = QCborValue(nullptr); return true;
            case 23: out = QCborValue(); return true;
            case 27: out = QCborValue(std::bit_cast<double>(n)); return true;
            default: return false;
            }
        default: return false;
        }
    }

private:
    // The variant codec's tags.
    static constexpr uint64_t firstTag = 0x4B450001;
    static constexpr uint64_t lastTag = 0x4B450005;
    static constexpr int maxDepth = 8;

    const char* p_;
    const char* end_;
};

}  // namespace

int MessageFields::slotOf(QLatin1StringView key)
{
    for (int i = 0; i < fieldCount; ++i) {
        if (names[i] == key)
            return i;
    }
    return -1;
}

int MessageFields::slotOf(const QString& key)
{
    for (int i = 0; i < fieldCount; ++i) {
        if (key == names[i])
            return i;
    }
    return -1;
}

const QCborValue& MessageFields::value(QLatin1StringView key) const
{
    static const QCborValue absent;
    const int slot = slotOf(key);
    return slot >= 0 ? fields_[static_cast<size_t>(slot)] : absent;
}

void MessageFields::clear()
{
    fields_.fill(QCborValue());
    seen_.fill(false);
}

void MessageFields::keep(int slot, QCborValue&& value)
{
    if (slot >= 0 && !seen_[static_cast<size_t>(slot)]) {
        seen_[static_cast<size_t>(slot)] = true;
        fields_[static_cast<size_t>(slot)] = std::move(value);
    }
}

bool MessageFields::parse(const QByteArray& payload)
{
    clear();
    if (readCommon(payload))
        return true;
    clear();
    return readAny(payload);
}

bool MessageFields::readCommon(const QByteArray& payload)
{
    CommonReader reader(payload.constData(), payload.constData() + payload.size());
    unsigned major = 0;
    unsigned info = 0;
    uint64_t pairs = 0;
    if (!reader.head(major, info, pairs) || major != 5 || pairs > static_cast<uint64_t>(payload.size()))
        return false;
    for (uint64_t i = 0; i < pairs; ++i) {
        uint64_t length = 0;
        QLatin1StringView key;
        QCborValue value;
        if (!reader.head(major, info, length) || major != 3 || !reader.ascii(length, key) || !reader.value(value, 0))
            return false;
        keep(slotOf(key), std::move(value));
    }
    return true;
}

bool MessageFields::readAny(const QByteArray& payload)
{
    QCborStreamReader reader(payload);
    if (!reader.isMap() || !reader.enterContainer())
        return false;
    while (reader.lastError() == QCborError::NoError && reader.hasNext()) {
        const QCborValue key = QCborValue::fromCbor(reader);
        if (reader.lastError() != QCborError::NoError)
            return false;
        const int slot = key.isString() ? slotOf(key.toString()) : -1;
        QCborValue value = QCborValue::fromCbor(reader);
        if (reader.lastError() != QCborError::NoError)
            return false;
        keep(slot, std::move(value));
    }
    return reader.lastError() == QCborError::NoError && reader.leaveContainer();
}

}  // namespace automation::socket
