#pragma once

#include <QByteArray>
#include <QCborValue>
#include <QLatin1StringView>

#include <array>

namespace automation::socket {

// The fields of one message, read from its bytes.
//
// Gives what QCborValue::fromCbor(payload).toMap().value(key) gives for every key of
// Protocol.h, without building the map. The messages a round trip exchanges (64-bit
// integers, doubles, ASCII text, arrays and the codec's own tags) are read by hand; a
// message with anything else in it is read again with QCborStreamReader, each field's
// value decoded by itself. Decoding whole maps was a third of a round trip's user time.
class MessageFields {
public:
    // False when the payload does not begin with one well-formed CBOR map. Bytes after the
    // map are not looked at. Of repeated keys the first counts.
    bool parse(const QByteArray& payload);

    // Undefined for a field the message does not have.
    const QCborValue& value(QLatin1StringView key) const;

private:
    static constexpr int fieldCount = 12;

    bool readCommon(const QByteArray& payload);
    bool readAny(const QByteArray& payload);
    void clear();
    void keep(int slot, QCborValue&& value);

    static int slotOf(QLatin1StringView key);
    static int slotOf(const QString& key);

    std::array<QCborValue, fieldCount> fields_{};
    std::array<bool, fieldCount> seen_{};
};

}  // namespace automation::socket
