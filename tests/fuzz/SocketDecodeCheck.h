#pragma once

// What the socket decoder fuzzer checks of every input, shared with the test that replays
// its findings: a byte stream cut into frames, each frame read as CBOR and its fields as
// the server reads them, fails only with ProtocolError or AutomationError, and every
// variant that decodes encodes to CBOR that decodes to the same variant again.
#include "FuzzInput.h"

#include "automation/AutomationError.h"
#include "automation/socket/FrameBuffer.h"
#include "automation/socket/ObjectTable.h"
#include "automation/socket/Protocol.h"
#include "automation/socket/VariantCodec.h"

#include <QCborMap>
#include <QCborValue>

#include <memory>
#include <string>
#include <string_view>

namespace fuzzing {

class InertObject : public automation::Object {
public:
    automation::Variant get(std::u16string_view, std::span<const automation::Variant>) override { return {}; }
    void put(std::u16string_view, const automation::Variant&, std::span<const automation::Variant>) override {}
    automation::Variant call(std::u16string_view, std::span<const automation::Variant>) override { return {}; }
};

// Decodes one field the way the server does; the canonical CBOR of what it decoded must
// decode to the same CBOR again.
inline std::string checkVariantField(const automation::socket::VariantCodec& codec, const QCborValue& field)
{
    using automation::socket::ProtocolError;
    automation::Variant value;
    try {
        value = codec.decode(field);
    } catch (const ProtocolError&) {
        return {};
    } catch (const automation::AutomationError&) {
        return {};  // an object id the table does not hold
    }
    const QByteArray canonical = codec.encode(value).toCbor();
    QCborParserError error;
    const QCborValue again = QCborValue::fromCbor(canonical, &error);
    if (error.error != QCborError::NoError)
        return "the encoded variant is no CBOR";
    try {
        if (codec.encode(codec.decode(again)).toCbor() != canonical)
            return "a variant does not survive encoding: " + canonical.toHex().toStdString();
    } catch (const std::exception& e) {
        return std::string("an encoded variant does not decode: ") + e.what();
    }
    return {};
}

inline std::string checkMessage(const automation::socket::VariantCodec& codec, const QByteArray& payload)
{
    using automation::socket::ProtocolError;
    namespace key = automation::socket::key;
    QCborParserError error;
    const QCborValue message = QCborValue::fromCbor(payload, &error);
    if (error.error != QCborError::NoError)
        return {};
    if (std::string fault = checkVariantField(codec, message); !fault.empty())
        return fault;
    if (!message.isMap())
        return {};
    const QCborMap map = message.toMap();
    try {
        (void)automation::socket::VariantCodec::decodeString(map.value(key::member));
    } catch (const ProtocolError&) {
    }
    try {
        for (const automation::Variant& arg : codec.decodeList(map.value(key::args)))
            if (std::string fault = checkVariantField(codec, codec.encode(arg)); !fault.empty())
                return fault;
    } catch (const ProtocolError&) {
    } catch (const automation::AutomationError&) {
    }
    return checkVariantField(codec, map.value(key::value));
}

inline std::string checkSocketStream(std::string_view bytes)
{
    using automation::socket::FrameBuffer;
    using automation::socket::ProtocolError;
    automation::socket::ObjectTable table;
    const automation::ObjectRef held = std::make_shared<InertObject>();
    table.exportObject(held);
    table.exportObject(std::make_shared<InertObject>());
    const automation::socket::VariantCodec codec([&table](const automation::ObjectRef& o) { return table.exportObject(o); },
                                                 [&table](int64_t id) { return table.lookup(id); });

    // The stream arrives in pieces of a size the first byte chooses, as a socket may deliver it.
    InputReader input(bytes);
    const size_t piece = 1 + input.byte() % 64;
    const std::string_view stream = input.rest();
    FrameBuffer buffer;
    QByteArray consumed;
    size_t fed = 0;
    try {
        while (fed < stream.size()) {
            const size_t n = std::min(piece, stream.size() - fed);
            buffer.append(QByteArray(stream.data() + fed, static_cast<qsizetype>(n)));
            fed += n;
            while (auto frame = buffer.takeFrame()) {
                consumed += FrameBuffer::frame(*frame);
                if (std::string fault = checkMessage(codec, *frame); !fault.empty())
                    return fault;
            }
        }
    } catch (const ProtocolError&) {
        return {};  // an oversized frame: the connection is dropped
    }
    if (consumed != QByteArray(stream.data(), static_cast<qsizetype>(consumed.size())))
        return "the frames taken are not the start of the stream";
    return {};
}

}  // namespace fuzzing
