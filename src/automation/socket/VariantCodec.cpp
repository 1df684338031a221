#include "automation/socket/VariantCodec.h"

#include "automation/socket/CborWriter.h"
#include "automation/socket/Protocol.h"

#include <QtEndian>

#include <limits>

namespace automation::socket {

namespace {

// Private tag numbers ("KE" + n), far from the registered ones.
constexpr quint64 tagBase = 0x4B450000;
constexpr auto tagOmitted = QCborTag(tagBase + 1);
constexpr auto tagInt16 = QCborTag(tagBase + 2);
constexpr auto tagObject = QCborTag(tagBase + 3);
constexpr auto tagArray = QCborTag(tagBase + 4);
constexpr auto tagUtf16 = QCborTag(tagBase + 5);

// Variant arrays nest; a peer must not be able to exhaust the stack with them.
constexpr int maxDepth = 32;

bool isWellFormed(std::u16string_view text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF)
                return false;
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

int64_t integerIn(const QCborValue& v, int64_t min, int64_t max, const char* what)
{
    if (!v.isInteger())
        throw ProtocolError(std::string("expected an integer for ") + what);
    const qint64 n = v.toInteger();
    if (n < min || n > max)
        throw ProtocolError(std::string("integer out of range for ") + what);
    return n;
}

double number(const QCborValue& v)
{
    if (v.isDouble())
        return v.toDouble();
    if (v.isInteger())
        return static_cast<double>(v.toInteger());
    throw ProtocolError("expected a number");
}

}  // namespace

VariantCodec::VariantCodec(ExportObject exportObject, ImportObject importObject)
    : export_(std::move(exportObject)), import_(std::move(importObject))
{
}

QCborValue VariantCodec::encodeString(std::u16string_view text)
{
    if (isWellFormed(text))
        return QCborValue(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
    QByteArray units(static_cast<qsizetype>(text.size() * 2), Qt::Uninitialized);
    for (size_t i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text[i], units.data() + 2 * i);
    return QCborValue(tagUtf16, QCborValue(units));
}

std::u16string VariantCodec::decodeString(const QCborValue& cbor)
{
    if (cbor.isString())
        return cbor.toString().toStdU16String();
    if (cbor.isTag() && cbor.tag() == tagUtf16 && cbor.taggedValue().isByteArray()) {
        const QByteArray units = cbor.taggedValue().toByteArray();
        if (units.size() % 2 != 0)
            throw ProtocolError("odd number of UTF-16 bytes");
        std::u16string text(static_cast<size_t>(units.size() / 2), u'\0');
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<char16_t>(qFromLittleEndian<quint16>(units.constData() + 2 * i));
        return text;
    }
    throw ProtocolError("expected a string");
}

QCborValue VariantCodec::encodeObject(const ObjectRef& object) const
{
    if (!object)
        return QCborValue(tagObject, QCborValue(nullptr));
    return QCborValue(tagObject, QCborValue(static_cast<qint64>(export_(object))));
}

ObjectRef VariantCodec::decodeObject(const QCborValue& cbor) const
{
    if (!cbor.isTag() || cbor.tag() != tagObject)
        throw ProtocolError("expected an object");
    const QCborValue id = cbor.taggedValue();
    if (id.isNull())
        return nullptr;
    return import_(integerIn(id, 1, std::numeric_limits<int64_t>::max(), "an object id"));
}

QCborValue VariantCodec::encode(const Variant& value) const
{
    switch (value.type()) {
    case VariantType::Empty: return QCborValue(QCborValue::Undefined);
    case VariantType::Omitted: return QCborValue(tagOmitted, QCborValue(nullptr));
    case VariantType::Bool: return QCborValue(value.boolValue());
    case VariantType::Int16: return QCborValue(tagInt16, QCborValue(static_cast<qint64>(value.int16Value())));
    case VariantType::Int32: return QCborValue(static_cast<qint64>(value.int32Value()));
    case VariantType::Double: return QCborValue(value.doubleValue());
    case VariantType::String: return encodeString(value.stringValue());
    case VariantType::Object: return encodeObject(value.objectValue());
    case VariantType::Array: {
        QCborArray elements;
        const auto type = value.arrayType();
        for (const Variant& e : value.elements()) {
            switch (type) {
            case ArrayType::Int16: elements.append(static_cast<qint64>(e.int16Value())); break;
            case ArrayType::Double: elements.append(e.doubleValue()); break;
            case ArrayType::Variant: elements.append(encode(e)); break;
            case ArrayType::Object: elements.append(encodeObject(e.objectValue())); break;
            }
        }
        return QCborValue(tagArray, QCborArray{static_cast<qint64>(type), elements});
    }
    }
    return {};
}

QCborArray VariantCodec::encodeList(std::span<const Variant> values) const
{
    QCborArray list;
    for (const Variant& v : values)
        list.append(encode(v));
    return list;
}

void VariantCodec::writeString(std::u16string_view text, CborWriter& out)
{
    if (isWellFormed(text)) {
        out.text(text);
        return;
    }
    out.tag(quint64(tagUtf16));
    QByteArray units(static_cast<qsizetype>(text.size() * 2), Qt::Uninitialized);
    for (size_t i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text[i], units.data() + 2 * i);
    out.byteString(units.constData(), units.size());
}

void VariantCodec::writeObject(const ObjectRef& object, CborWriter& out) const
{
    out.tag(quint64(tagObject));
    if (object)
        out.integer(export_(object));
    else
        out.null();
}

void VariantCodec::write(const Variant& value, CborWriter& out) const
{
    switch (value.type()) {
    case VariantType::Empty: out.undefined(); return;
    case VariantType::Omitted:
        out.tag(quint64(tagOmitted));
        out.null();
        return;
    case VariantType::Bool: out.boolean(value.boolValue()); return;
    case VariantType::Int16:
        out.tag(quint64(tagInt16));
        out.integer(value.int16Value());
        return;
    case VariantType::Int32: out.integer(value.int32Value()); return;
    case VariantType::Double: out.number(value.doubleValue()); return;
    case VariantType::String: writeString(value.stringValue(), out); return;
    case VariantType::Object: writeObject(value.objectValue(), out); return;
    case VariantType::Array: {
        const auto type = value.arrayType();
        const std::vector<Variant> elements = value.elements();
        out.tag(quint64(tagArray));
        out.array(2);
        out.integer(static_cast<int64_t>(type));
        out.array(elements.size());
        for (const Variant& e : elements) {
            switch (type) {
            case ArrayType::Int16: out.integer(e.int16Value()); break;
            case ArrayType::Double: out.number(e.doubleValue()); break;
            case ArrayType::Variant: write(e, out); break;
            case ArrayType::Object: writeObject(e.objectValue(), out); break;
            }
        }
        return;
    }
    }
}

void VariantCodec::writeList(std::span<const Variant> values, CborWriter& out) const
{
    out.array(values.size());
    for (const Variant& v : values)
        write(v, out);
}

Variant VariantCodec::decode(const QCborValue& cbor) const
{
    return decode(cbor, 0);
}

Variant VariantCodec::decode(const QCborValue& cbor, int depth) const
{
    if (depth > maxDepth)
        throw ProtocolError("arrays nested too deeply");
    if (cbor.isUndefined())
        return {};
    if (cbor.isBool())
        return Variant(cbor.toBool());
    if (cbor.isInteger())
        return Variant(static_cast<int32_t>(integerIn(cbor, std::numeric_limits<int32_t>::min(),
                                                      std::numeric_limits<int32_t>::max(), "a 32-bit integer")));
    if (cbor.isDouble())
        return Variant(cbor.toDouble());
    if (cbor.isString())
        return Variant(decodeString(cbor));
    if (!cbor.isTag())
        throw ProtocolError("not a variant");
    const QCborTag tag = cbor.tag();
    const QCborValue body = cbor.taggedValue();
    if (tag == tagOmitted)
        return Variant::omitted();
    if (tag == tagInt16)
        return Variant(static_cast<int16_t>(integerIn(body, std::numeric_limits<int16_t>::min(),
                                                      std::numeric_limits<int16_t>::max(), "a 16-bit integer")));
    if (tag == tagUtf16)
        return Variant(decodeString(cbor));
    if (tag == tagObject)
        return Variant(decodeObject(cbor));
    if (tag == tagArray)
        return decodeArray(body, depth);
    throw ProtocolError("unknown tag");
}

Variant VariantCodec::decodeArray(const QCborValue& body, int depth) const
{
    if (!body.isArray())
        throw ProtocolError("malformed array");
    const QCborArray parts = body.toArray();
    if (parts.size() != 2 || !parts.at(1).isArray())
        throw ProtocolError("malformed array");
    const auto type = static_cast<ArrayType>(integerIn(parts.at(0), static_cast<int64_t>(ArrayType::Int16),
                                                       static_cast<int64_t>(ArrayType::Object), "an element type"));
    const QCborArray source = parts.at(1).toArray();
    std::vector<Variant> elements;
    elements.reserve(static_cast<size_t>(source.size()));
    for (const QCborValue& e : source) {
        switch (type) {
        case ArrayType::Int16:
            elements.emplace_back(static_cast<int16_t>(integerIn(e, std::numeric_limits<int16_t>::min(),
                                                                 std::numeric_limits<int16_t>::max(),
                                                                 "a 16-bit integer")));
            break;
        case ArrayType::Double: elements.emplace_back(number(e)); break;
        case ArrayType::Variant: elements.push_back(decode(e, depth + 1)); break;
        case ArrayType::Object: elements.emplace_back(decodeObject(e)); break;
        }
    }
    return Variant::array(type, std::move(elements));
}

std::vector<Variant> VariantCodec::decodeList(const QCborValue& cbor) const
{
    if (cbor.isUndefined())
        return {};
    if (!cbor.isArray())
        throw ProtocolError("expected a list of arguments");
    std::vector<Variant> values;
    for (const QCborValue& v : cbor.toArray())
        values.push_back(decode(v));
    return values;
}

}  // namespace automation::socket
