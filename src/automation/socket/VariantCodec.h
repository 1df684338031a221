#pragma once

#include "automation/Variant.h"

#include <QCborArray>
#include <QCborValue>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace automation::socket {

class CborWriter;

// Variants as CBOR. Plain CBOR types carry what they can (undefined = empty, booleans,
// integers = 32-bit, doubles, text), tags carry the rest:
//
//   omitted        tag omitted(null)
//   16-bit integer tag int16(integer)
//   object         tag object(id), or tag object(null) for no object
//   array          tag array([element type, [elements]]); Int16 and Double elements are
//                  plain numbers, Variant elements are variants, Object elements objects
//   UTF-16 text that is not well formed (a lone surrogate), which UTF-8 cannot carry:
//                  tag utf16(bytes, little-endian code units)
//
// Objects cross as ids of the sending side's table; the hooks translate them.
class VariantCodec {
public:
    using ExportObject = std::function<int64_t(const ObjectRef&)>;  // never called with null
    using ImportObject = std::function<ObjectRef(int64_t)>;

    VariantCodec(ExportObject exportObject, ImportObject importObject);

    QCborValue encode(const Variant& value) const;
    QCborArray encodeList(std::span<const Variant> values) const;

    // The bytes of encode(value).toCbor() and of the list's, written straight out.
    void write(const Variant& value, CborWriter& out) const;
    void writeList(std::span<const Variant> values, CborWriter& out) const;
    static void writeString(std::u16string_view text, CborWriter& out);

    // Throw ProtocolError for CBOR that is not a variant; the import hook may throw too.
    Variant decode(const QCborValue& cbor) const;
    std::vector<Variant> decodeList(const QCborValue& cbor) const;

    static QCborValue encodeString(std::u16string_view text);
    static std::u16string decodeString(const QCborValue& cbor);

private:
    Variant decode(const QCborValue& cbor, int depth) const;
    Variant decodeArray(const QCborValue& body, int depth) const;
    QCborValue encodeObject(const ObjectRef& object) const;
    void writeObject(const ObjectRef& object, CborWriter& out) const;
    ObjectRef decodeObject(const QCborValue& cbor) const;

    ExportObject export_;
    ImportObject import_;
};

}  // namespace automation::socket
