// The same calls over the in-process path (the object itself) and over the local socket
// must give the same results.

#include "ServerThread.h"
#include "TestObjects.h"

#include "automation/AutomationError.h"
#include "automation/socket/SocketClient.h"
#include "automation/socket/SocketProxy.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using automation::AutomationError;
using automation::ObjectRef;
using automation::Variant;
using automation::VariantType;
using automation::socket::SocketClient;
using automation::socket::SocketProxy;
using sockettest::ServerThread;
using sockettest::TestRoot;
namespace hr = automation::hr;

namespace {

enum class Transport { InProcess, Socket };

std::string transportName(const testing::TestParamInfo<Transport>& info)
{
    return info.param == Transport::InProcess ? "InProcess" : "Socket";
}

std::string show(const Variant& v)
{
    const auto text = automation::describe(v);
    return std::string(text.begin(), text.end());  // enough for test messages
}

class TransportConformance : public testing::TestWithParam<Transport> {
protected:
    void SetUp() override
    {
        target_ = std::make_shared<TestRoot>();
        liveBaseline_ = sockettest::TestItem::liveCount();
        if (GetParam() == Transport::InProcess) {
            root_ = target_;
            return;
        }
        ASSERT_TRUE(dir_.isValid());
        server_ = std::make_unique<ServerThread>(target_);
        const QString path = dir_.filePath("conformance.socket");
        server_->run([&](auto& server) { server.listen(path); });
        client_ = SocketClient::connect(path, std::chrono::milliseconds(5));
        root_ = client_->rootObject();
    }

    void TearDown() override
    {
        // Everything the test body obtained is gone by now: the server must have let go of
        // it, and so must everyone else.
        if (client_) {
            EXPECT_EQ(client_->exportedObjectCount(), 1) << "only the root may stay exported";
        }
        EXPECT_EQ(root_->get(u"LiveItems").toInt(), liveBaseline_);
        root_.reset();
        client_.reset();
        server_.reset();
    }

    QTemporaryDir dir_;
    std::shared_ptr<TestRoot> target_;
    std::unique_ptr<ServerThread> server_;
    std::shared_ptr<SocketClient> client_;
    ObjectRef root_;
    int liveBaseline_ = 0;
};

std::vector<Variant> everyKindOfValue()
{
    return {
        Variant(),
        Variant(true),
        Variant(false),
        Variant(int16_t(-32768)),
        Variant(int16_t(32767)),
        Variant(std::numeric_limits<int32_t>::min()),
        Variant(0),
        Variant(0.1),
        Variant(-0.0),
        Variant(1e308),
        Variant(3.0),  // integral, must stay a double
        Variant(std::numeric_limits<double>::infinity()),
        Variant(u""),
        Variant(u"A-01"),
        Variant(u"文字列置換 ｶﾅ"),
        Variant(u"\U00020BB7 pair"),
        Variant(std::u16string(u"a\0b", 3)),
        Variant(std::u16string(1, char16_t(0xD800)) + u"lone high"),
        Variant(u"lone low" + std::u16string(1, char16_t(0xDC00))),
        Variant::int16Array({0, 1, -1, 66}),
        Variant::int16Array({}),
        Variant::point(1.5, -2.25, 0),
        Variant::variantArray({}),
        Variant::variantArray({Variant(1), Variant(u"TEXT"), Variant(),
                               Variant::variantArray({Variant(2.5), Variant::int16Array({8})})}),
        Variant::objectArray({}),
        Variant(ObjectRef()),
    };
}

TEST_P(TransportConformance, ValuesOfEveryKindComeBackUnchanged)
{
    for (const Variant& value : everyKindOfValue()) {
        SCOPED_TRACE(show(value));
        const Variant echoed = root_->call(u"Echo", {value});
        EXPECT_EQ(echoed.type(), value.type());
        EXPECT_TRUE(echoed == value) << show(echoed);
        root_->put(u"Value", value);
        EXPECT_TRUE(root_->get(u"Value") == value);
    }
    // NaN is not equal to itself; it must still arrive as a NaN double.
    const Variant nan = root_->call(u"Echo", {Variant(std::nan(""))});
    ASSERT_EQ(nan.type(), VariantType::Double);
    EXPECT_TRUE(std::isnan(nan.doubleValue()));
}

TEST_P(TransportConformance, ArgumentsArriveWithTheirTypesIncludingOmitted)
{
    const Variant types = root_->call(
        u"Describe", {Variant::omitted(), Variant(), Variant(int16_t(1)), Variant(1), Variant(1.0),
                      Variant::int16Array({1}), Variant(u"x"), Variant(true), Variant::omitted()});
    EXPECT_TRUE(types == Variant::variantArray({Variant(u"omitted"), Variant(u"empty"), Variant(u"int16"),
                                                Variant(u"int32"), Variant(u"double"), Variant(u"array"),
                                                Variant(u"string"), Variant(u"bool"), Variant(u"omitted")}))
        << show(types);
    EXPECT_TRUE(root_->call(u"Describe") == Variant::variantArray({}));
    EXPECT_EQ(root_->call(u"Sum", {Variant::int16Array({1, 2, -30000, 32767})}).toInt(), 1 + 2 - 30000 + 32767);
}

TEST_P(TransportConformance, MemberNamesMatchRegardlessOfCase)
{
    for (const char16_t* name : {u"Echo", u"ECHO", u"echo", u"eChO"}) {
        SCOPED_TRACE(std::string(name, name + std::char_traits<char16_t>::length(name)));
        EXPECT_EQ(root_->call(name, {Variant(5)}).toInt(), 5);
    }
    root_->put(u"VALUE", Variant(u"x"));
    EXPECT_EQ(root_->get(u"value").toString(), u"x");
}

TEST_P(TransportConformance, FailuresCarryCodeAndDescription)
{
    struct Case {
        const char16_t* member;
        std::vector<Variant> args;
        int32_t code;
        std::u16string description;
    } cases[] = {
        {u"Fail", {Variant(hr::Fail), Variant(u"描画できません")}, hr::Fail, u"描画できません"},
        {u"Fail", {Variant(static_cast<int32_t>(0x80040001)), Variant(u"")}, static_cast<int32_t>(0x80040001), u""},
        {u"NoSuchMember", {}, hr::UnknownName, u"Unknown name: NoSuchMember"},
        {u"IsItem", {}, hr::BadParamCount, u"Invalid number of parameters"},
        {u"Sum", {Variant(u"not an array")}, hr::TypeMismatch, u"Type mismatch: value is not an array"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.member, c.member + std::char_traits<char16_t>::length(c.member)));
        try {
            root_->call(c.member, c.args);
            ADD_FAILURE() << "no error";
        } catch (const AutomationError& e) {
            EXPECT_EQ(e.code(), c.code);
            EXPECT_EQ(e.description(), c.description);
        }
    }
    try {
        root_->get(u"Item", Variant(7));
        ADD_FAILURE() << "no error";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.code(), hr::BadIndex);
    }
    // The object is still usable after its failures.
    EXPECT_EQ(root_->call(u"Echo", {Variant(1)}).toInt(), 1);
}

TEST_P(TransportConformance, ObjectsKeepTheirIdentityBothWays)
{
    const ObjectRef item = root_->get(u"Item", Variant(1)).toObject();
    ASSERT_TRUE(item);
    EXPECT_EQ(item->get(u"Name").toString(), u"item1");
    EXPECT_EQ(root_->get(u"Item", Variant(1)).toObject(), item);
    EXPECT_TRUE(root_->call(u"IsItem", {Variant(item), Variant(1)}).toBool());
    EXPECT_FALSE(root_->call(u"IsItem", {Variant(item), Variant(2)}).toBool());

    const Variant items = root_->get(u"Items");
    ASSERT_EQ(items.arrayType(), automation::ArrayType::Object);
    ASSERT_EQ(items.arraySize(), 3u);
    EXPECT_EQ(items.at(1).toObject(), item);
    EXPECT_EQ(items.at(2).toObject()->get(u"Name").toString(), u"item2");

    item->put(u"Name", Variant(u"renamed"));
    EXPECT_EQ(root_->get(u"Item", Variant(1)).toObject()->get(u"Name").toString(), u"renamed");

    // An object stored and read back is the same object, inside a variant array too.
    root_->put(u"Value", Variant::variantArray({Variant(item), Variant(2)}));
    EXPECT_EQ(root_->get(u"Value").at(0).toObject(), item);
    root_->put(u"Value", Variant());
}

TEST_P(TransportConformance, DroppedObjectsAreReleased)
{
    const int before = root_->get(u"LiveItems").toInt();
    {
        const ObjectRef a = root_->call(u"NewItem", {Variant(u"a")}).toObject();
        const ObjectRef b = root_->call(u"NewItem", {Variant(u"b")}).toObject();
        EXPECT_EQ(root_->get(u"LiveItems").toInt(), before + 2);
        EXPECT_EQ(b->get(u"Name").toString(), u"b");
        if (client_) {
            EXPECT_EQ(client_->exportedObjectCount(), 3);
        }
    }
    EXPECT_EQ(root_->get(u"LiveItems").toInt(), before);
    // Received many times, released once: the server's count follows the client's.
    {
        std::vector<ObjectRef> held;
        for (int i = 0; i < 5; ++i)
            held.push_back(root_->get(u"Item", Variant(0)).toObject());
        if (client_) {
            EXPECT_EQ(client_->exportedObjectCount(), 2);
        }
        held.resize(1);
        EXPECT_EQ(held[0]->get(u"Name").toString(), u"item0");
    }
}

INSTANTIATE_TEST_SUITE_P(Transports, TransportConformance, testing::Values(Transport::InProcess, Transport::Socket),
                         transportName);

}  // namespace
