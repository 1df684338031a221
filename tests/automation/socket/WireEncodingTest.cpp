// The bytes written for a message by hand must be the bytes QCbor gives for the same value,
// and the frame buffer must cut a stream the same however the socket delivers it.

#include "automation/Object.h"
#include "automation/socket/CborWriter.h"
#include "automation/socket/FrameBuffer.h"
#include "automation/socket/MessageFields.h"
#include "automation/socket/Protocol.h"
#include "automation/socket/VariantCodec.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <sys/socket.h>
#include <unistd.h>

using automation::ArrayType;
using automation::ObjectRef;
using automation::Variant;
using automation::socket::CborWriter;
using automation::socket::FrameBuffer;
using automation::socket::MessageFields;
namespace key = automation::socket::key;
using automation::socket::VariantCodec;

namespace {

class Item : public automation::Object {
public:
    Variant get(std::u16string_view, std::span<const Variant>) override { return {}; }
    void put(std::u16string_view, const Variant&, std::span<const Variant>) override {}
    Variant call(std::u16string_view, std::span<const Variant>) override { return {}; }
};

TEST(CborWriter, WritesWhatQCborEncodesForEveryVariant)
{
    const ObjectRef item = std::make_shared<Item>();
    const VariantCodec codec([](const ObjectRef&) -> int64_t { return 300; }, [](int64_t) { return nullptr; });
    const std::u16string lone{u'a', char16_t(0xD800), u'b'};
    const std::u16string longText(70000, u'\u00E9');
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const Variant values[] = {
        Variant(),
        Variant::omitted(),
        Variant(true),
        Variant(false),
        Variant(int16_t(-32768)),
        Variant(int16_t(32767)),
        Variant(0),
        Variant(23),
        Variant(24),
        Variant(255),
        Variant(256),
        Variant(65535),
        Variant(65536),
        Variant(-1),
        Variant(-24),
        Variant(-25),
        Variant(-257),
        Variant(std::numeric_limits<int32_t>::min()),
        Variant(std::numeric_limits<int32_t>::max()),
        Variant(0.0),
        Variant(-0.0),
        Variant(1.5),
        Variant(1e300),
        Variant(nan),
        Variant(infinity),
        Variant(-infinity),
        Variant(u""),
        Variant(u"VIEWSIZE"),
        Variant(u"\u00E9\u20AC\U0001F600 mixed"),
        Variant(lone),
        Variant(std::u16string(1, char16_t(0xDC00))),
        Variant(longText),
        Variant(item),
        Variant(ObjectRef()),
        Variant::int16Array({0, -1, 300}),
        Variant::array(ArrayType::Double, {Variant(0.5), Variant(-2.0)}),
        Variant::variantArray({Variant(u"TEXT"), Variant(1), Variant::omitted(),
                               Variant::variantArray({Variant(item), Variant(lone)})}),
        Variant::array(ArrayType::Object, {Variant(item), Variant(ObjectRef())}),
        Variant::variantArray({}),
    };
    for (size_t i = 0; i < std::size(values); ++i) {
        const Variant& value = values[i];
        SCOPED_TRACE(i);
        QByteArray written;
        CborWriter writer(written);
        codec.write(value, writer);
        EXPECT_EQ(written.toHex(), codec.encode(value).toCbor().toHex());
    }
    QByteArray list;
    CborWriter writer(list);
    codec.writeList(values, writer);
    EXPECT_EQ(list, QCborValue(codec.encodeList(values)).toCbor());
}

// Whether a message reads, and what each field holds, as when the whole map is decoded.
TEST(MessageFields, ReadLikeTheDecodedMap)
{
    const QCborMap request{{key::type, 2},
                           {key::id, 7},
                           {key::object, 1},
                           {key::kind, 3},
                           {key::member, u"GetVariable"_qs},
                           {key::args, QCborArray{u"VIEWSIZE"_qs, QCborValue(QCborTag(0x4B450002), 3)}}};
    const QCborMap everyKey{{key::type, 6},           {key::id, -1},  {key::object, QCborValue(nullptr)},
                            {key::member, u"\u00E9"_qs}, {key::kind, 1.5}, {key::args, QCborMap{{1, 2}}},
                            {key::value, QCborValue(QCborTag(0), u"2020-01-01T00:00:00Z"_qs)},
                            {key::status, 0},         {key::code, qint64(1) << 40},
                            {key::text, QByteArray("bytes")}, {key::count, true}, {key::name, QCborValue()}};
    const QByteArray plain = request.toCborValue().toCbor();
    struct Case {
        const char* what;
        QByteArray payload;
    } cases[] = {
        {"a request", plain},
        {"every key", everyKey.toCborValue().toCbor()},
        {"trailing bytes after the map", plain + QByteArray::fromHex("ffff")},
        {"a key repeated: the first counts", QByteArray::fromHex("a2647479706501647479706502")},
        {"a key in chunks", QByteArray::fromHex("a17f627479627065ff05")},
        {"a non-ASCII key", QByteArray::fromHex("a26574c3bf706501647479706503")},
        {"integer and byte-string keys", QByteArray::fromHex("a301024474797065036474797065" "04")},
        {"a long key", QCborMap{{QString(30, u'a'), 1}, {key::type, 2}}.toCborValue().toCbor()},
        {"a map of unknown length", QByteArray::fromHex("bf647479706502626964182aff")},
        {"a key of invalid UTF-8", QByteArray::fromHex("a162c32801")},
        {"a value of invalid UTF-8", QByteArray::fromHex("a16474797065" "62c328")},
        {"a pair cut short", QByteArray::fromHex("a2647479706502")},
        {"cut short", plain.left(plain.size() - 1)},
        {"not a map", QByteArray::fromHex("83010203")},
        {"nothing", QByteArray()},
        {"not CBOR", QByteArray::fromHex("ff00ff00")},
        // Values at the edges of what is read by hand; the rest is read by QCbor.
        {"integers at the 64-bit limits", QByteArray::fromHex("a3" "6474797065" "1b7fffffffffffffff"
                                                              "626964" "3b7fffffffffffffff"
                                                              "6474657874" "39ffff")},
        {"an unsigned integer beyond them", QByteArray::fromHex("a1" "6474797065" "1b8000000000000000")},
        {"a negative integer beyond them", QByteArray::fromHex("a1" "626964" "3b8000000000000000")},
        {"doubles, a whole one and NaN",
         QByteArray::fromHex("a2" "6474797065" "fb4000000000000000" "626964" "fb7ff8000000000001")},
        {"half and single floats", QByteArray::fromHex("a2" "6474797065" "f93c00" "626964" "fa3fc00000")},
        {"simple values", QByteArray::fromHex("a4" "6474797065" "f4" "626964" "f5" "6474657874" "f6"
                                              "64636f6465" "f7")},
        {"a simple value of one byte", QByteArray::fromHex("a1" "6474797065" "f820")},
        {"a codec tag around an array",
         QByteArray::fromHex("a1" "6576616c7565" "da4b450004" "82" "02" "82" "01" "da4b450002" "05")},
        {"another tag", QByteArray::fromHex("a1" "6576616c7565" "c074323032302d30312d30315430303a30303a30305a")},
        {"a byte string", QByteArray::fromHex("a1" "6576616c7565" "da4b450005" "42" "4100")},
        {"non-ASCII text", QByteArray::fromHex("a1" "666d656d626572" "62c3a9")},
        {"a map inside", QByteArray::fromHex("a1" "6461726773" "a1" "01" "02")},
        {"an array of unknown length", QByteArray::fromHex("a1" "6461726773" "9f" "01" "02" "ff")},
        {"arrays nested deeply", QByteArray::fromHex("a1" "6461726773" "8181818181818181818181" "01")},
        {"an array cut short", QByteArray::fromHex("a1" "6461726773" "83" "01" "02")},
        {"more pairs announced than there are", QByteArray::fromHex("b7" "6474797065" "01")},
        {"an integer head cut short", QByteArray::fromHex("a1" "6474797065" "1a0102")},
    };
    const QLatin1StringView keys[] = {key::type,  key::id,     key::object, key::member, key::kind,  key::args,
                                      key::value, key::status, key::code,   key::text,   key::count, key::name};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QCborParserError error;
        const QCborValue decoded = QCborValue::fromCbor(c.payload, &error);
        const bool readable = error.error == QCborError::NoError && decoded.isMap();
        MessageFields fields;
        ASSERT_EQ(fields.parse(c.payload), readable);
        if (!readable)
            continue;
        for (const QLatin1StringView name : keys)
            EXPECT_EQ(fields.value(name), decoded.toMap().value(name)) << name.data();
    }
    // A message read into fields that held another keeps nothing of the first.
    MessageFields fields;
    ASSERT_TRUE(fields.parse(plain));
    ASSERT_TRUE(fields.parse(QByteArray::fromHex("a1647479706503")));
    EXPECT_TRUE(fields.value(key::member).isUndefined());
    EXPECT_EQ(fields.value(key::type).toInteger(), 3);
}

// A stream of frames as a socket may deliver it: in pieces of any size, several at once.
TEST(FrameBuffer, CutsFramesHoweverTheStreamArrives)
{
    const QByteArray payloads[] = {QByteArray("a"), QByteArray(), QByteArray(40000, 'x'), QByteArray("last")};
    QByteArray stream;
    for (const QByteArray& p : payloads)
        stream += FrameBuffer::frame(p);
    for (const qsizetype piece : {qsizetype(1), qsizetype(3), qsizetype(5), qsizetype(4096), stream.size()}) {
        SCOPED_TRACE(piece);
        int ends[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
        FrameBuffer buffer;
        std::vector<QByteArray> taken;
        for (qsizetype sent = 0; sent < stream.size(); sent += piece) {
            const qsizetype n = std::min(piece, stream.size() - sent);
            ASSERT_EQ(::send(ends[0], stream.constData() + sent, static_cast<size_t>(n), 0), n);
            qsizetype received = 0;
            while (received < n) {
                const ssize_t got = buffer.receive(ends[1], 0);
                ASSERT_GT(got, 0);
                received += got;
            }
            while (auto frame = buffer.takeFrame())
                taken.push_back(*frame);
        }
        ::close(ends[0]);
        EXPECT_EQ(buffer.receive(ends[1], 0), 0) << "the end of the stream";
        ::close(ends[1]);
        EXPECT_TRUE(buffer.empty());
        EXPECT_EQ(taken, std::vector<QByteArray>(std::begin(payloads), std::end(payloads)));
    }
}

}  // namespace
