// The server's and the client's behaviour around the calls themselves: busy servers,
// calls that wait on the user, servers that vanish, peers that send rubbish.

#include "ServerThread.h"
#include "TestObjects.h"

#include "automation/AutomationError.h"
#include "automation/socket/FrameBuffer.h"
#include "automation/socket/Protocol.h"
#include "automation/socket/SocketClient.h"
#include "automation/socket/SocketProxy.h"
#include "automation/socket/WindowService.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

using automation::AutomationError;
using automation::ObjectRef;
using automation::Variant;
using automation::socket::FrameBuffer;
using automation::socket::SocketClient;
using automation::socket::SocketServer;
using sockettest::ServerThread;
using sockettest::TestRoot;
namespace hr = automation::hr;
namespace key = automation::socket::key;
using automation::socket::MessageType;

namespace {

constexpr std::chrono::milliseconds shortRetry{5};

class SocketServerTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath("server.socket");
        target_ = std::make_shared<TestRoot>();
        server_ = std::make_unique<ServerThread>(target_);
        server_->run([&](SocketServer& s) { s.listen(path_); });
    }

    ObjectRef connectRoot() { return SocketClient::connect(path_, shortRetry)->rootObject(); }

    // Makes the next Wait spin an event loop in the server until `quit` is called.
    void makeWaitSpin()
    {
        target_->waitHook = [this] {
            QEventLoop loop;
            waitLoop_ = &loop;
            waitStarted_.set_value();
            loop.exec();
            waitLoop_ = nullptr;
            return Variant(u"done");
        };
    }

    // Called in the server thread.
    void endWait()
    {
        if (waitLoop_)
            waitLoop_->quit();
    }

    QTemporaryDir dir_;
    QString path_;
    std::shared_ptr<TestRoot> target_;
    // Touched only in the server thread, which must be gone before these are destroyed.
    QEventLoop* waitLoop_ = nullptr;
    std::promise<void> waitStarted_;
    std::unique_ptr<ServerThread> server_;
};

AutomationError callError(const std::function<void()>& f)
{
    try {
        f();
    } catch (const AutomationError& e) {
        return e;
    }
    ADD_FAILURE() << "the call did not fail";
    return AutomationError(0, {});
}

TEST_F(SocketServerTest, BusyServerIsAskedAgainUntilItAccepts)
{
    std::atomic<int> busyAnswers{3};
    server_->run([&](SocketServer& s) { s.setBusyPredicate([&] { return busyAnswers-- > 0; }); });
    const ObjectRef root = SocketClient::connect(path_, shortRetry)->rootObject();  // 3 busy answers
    const auto accessesBefore = server_->server().memberAccessCount();
    busyAnswers = 4;
    EXPECT_EQ(root->call(u"Echo", {Variant(7)}).toInt(), 7);
    EXPECT_EQ(server_->server().busyReplyCount(), 7);
    // Turned-away attempts are not member accesses.
    EXPECT_EQ(server_->server().memberAccessCount(), accessesBefore + 1);
}

TEST_F(SocketServerTest, CallerHandlesNoEventsWhileItsCallWaits)
{
    // The caller's thread has a timer due and a queued call pending; neither may run while
    // the call waits through the server's busy answers, or a click could start a second
    // operation inside the first.
    std::atomic<int> busyAnswers{3};
    server_->run([&](SocketServer& s) { s.setBusyPredicate([&] { return busyAnswers-- > 0; }); });
    const ObjectRef root = connectRoot();
    busyAnswers = 3;
    bool timerRan = false;
    bool queuedRan = false;
    QObject receiver;
    QTimer::singleShot(0, &receiver, [&] { timerRan = true; });
    QMetaObject::invokeMethod(&receiver, [&] { queuedRan = true; }, Qt::QueuedConnection);
    EXPECT_EQ(root->call(u"Echo", {Variant(1)}).toInt(), 1);
    EXPECT_GE(server_->server().busyReplyCount(), 6);
    EXPECT_FALSE(timerRan);
    EXPECT_FALSE(queuedRan);
    QCoreApplication::processEvents();
    EXPECT_TRUE(timerRan);
    EXPECT_TRUE(queuedRan);
}

TEST_F(SocketServerTest, CallArrivingDuringAnotherCallIsTurnedAwayNotLetIn)
{
    makeWaitSpin();
    // The server frees itself once the second client has been told twice to come back.
    server_->run([&](SocketServer& s) {
        s.setBusyObserver([&] {
            if (server_->server().busyReplyCount() == 2)
                endWait();
        });
    });
    auto waiting = std::async(std::launch::async, [&] { return connectRoot()->call(u"Wait").toString(); });
    waitStarted_.get_future().wait();
    const ObjectRef other = connectRoot();  // busy: this is the first turn-away
    EXPECT_EQ(other->call(u"Echo", {Variant(u"later")}).toString(), u"later");
    // Had the call been let in, the first one would still be waiting.
    server_->run([&](SocketServer&) { endWait(); });
    EXPECT_EQ(waiting.get(), u"done");
    EXPECT_EQ(target_->maxDepth(), 1) << "a call ran inside another";
    EXPECT_GE(server_->server().busyReplyCount(), 2);
}

TEST_F(SocketServerTest, WindowServicesAreServedDuringACall)
{
    makeWaitSpin();
    server_->run([&](SocketServer& s) {
        s.setServiceHandler(std::u16string(automation::socket::windowservice::escape), [this](std::span<const Variant>) {
            endWait();
            return Variant(true);
        });
        s.setServiceHandler(u"IsForeground", [](std::span<const Variant> args) {
            return Variant(!args.empty() && args[0].toInt() == 42);
        });
    });
    const ObjectRef root = connectRoot();
    const auto client = SocketClient::of(root);
    ASSERT_TRUE(client);
    EXPECT_FALSE(SocketClient::of(target_));
    EXPECT_TRUE(client->service(u"isforeground", std::vector{Variant(42)}).toBool());
    EXPECT_EQ(callError([&] { client->service(u"NoSuchService"); }).code(), hr::MemberNotFound);

    auto waiting = std::async(std::launch::async, [&] { return connectRoot()->call(u"Wait").toString(); });
    waitStarted_.get_future().wait();
    EXPECT_TRUE(client->service(u"ESCAPE").toBool());
    EXPECT_EQ(waiting.get(), u"done");
    EXPECT_EQ(server_->server().busyReplyCount(), 0);
}

TEST_F(SocketServerTest, ServerClosingMidCallFailsTheCallAsDisconnected)
{
    makeWaitSpin();
    auto waiting = std::async(std::launch::async, [&] {
        const ObjectRef root = connectRoot();
        const auto error = callError([&] { root->call(u"Wait"); });
        // Later calls on the same object fail the same way instead of hanging.
        const auto again = callError([&] { root->call(u"Echo"); });
        return std::pair(error.code(), again.code());
    });
    waitStarted_.get_future().wait();
    server_->run([&](SocketServer& s) {
        s.close();
        endWait();
    });
    const auto [first, second] = waiting.get();
    EXPECT_EQ(first, hr::Disconnected);
    EXPECT_EQ(second, hr::Disconnected);
    EXPECT_EQ(server_->server().exportedObjectCount(), 0);
}

TEST(SocketServerProcess, ServerKilledMidCallFailsTheCallAsDisconnected)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("killed.socket");
    std::promise<void> ready;
    // The process belongs to this thread, which kills it once the call is inside Wait.
    auto killer = std::async(std::launch::async, [&] {
        QProcess process;
        process.start(QStringLiteral(SOCKET_TEST_SERVER), {path});
        auto waitFor = [&](const QByteArray& line) {
            while (!process.canReadLine())
                if (!process.waitForReadyRead(30000))
                    return false;
            return process.readLine().trimmed() == line;
        };
        const bool started = waitFor("ready");
        ready.set_value();
        if (!started)
            return false;
        const bool inCall = waitFor("waiting");
        process.kill();
        process.waitForFinished();
        return inCall;
    });
    ready.get_future().wait();
    const ObjectRef root = SocketClient::connect(path, shortRetry)->rootObject();
    EXPECT_EQ(root->call(u"Echo", {Variant(3)}).toInt(), 3);
    EXPECT_EQ(callError([&] { root->call(u"Wait"); }).code(), hr::Disconnected);
    EXPECT_TRUE(killer.get());
}

TEST_F(SocketServerTest, ExceptionsOtherThanAutomationErrorsBecomeErrors)
{
    const ObjectRef root = connectRoot();
    const auto error = callError([&] { root->call(u"Throw"); });
    EXPECT_EQ(error.code(), hr::Exception);
    EXPECT_EQ(error.description(), u"the object broke");
    EXPECT_EQ(root->call(u"Echo", {Variant(1)}).toInt(), 1);
}

TEST_F(SocketServerTest, ObjectsOfAnotherConnectionCannotBePassed)
{
    const ObjectRef first = connectRoot();
    const ObjectRef second = connectRoot();
    const ObjectRef item = first->get(u"Item", Variant(0)).toObject();
    EXPECT_EQ(callError([&] { second->call(u"IsItem", {Variant(item), Variant(0)}); }).code(), hr::TypeMismatch);
    const ObjectRef local = std::make_shared<sockettest::TestItem>(u"local");
    EXPECT_EQ(callError([&] { first->call(u"Echo", {Variant(local)}); }).code(), hr::TypeMismatch);
    EXPECT_TRUE(first->call(u"IsItem", {Variant(item), Variant(0)}).toBool());
}

// A raw connection that speaks the wire format by hand.
class RawPeer {
public:
    explicit RawPeer(const QString& path)
    {
        socket_.connectToServer(path);
        EXPECT_TRUE(socket_.waitForConnected(5000));
    }

    void sendBytes(const QByteArray& bytes)
    {
        socket_.write(bytes);
        while (socket_.bytesToWrite() > 0 && socket_.waitForBytesWritten(5000)) {
        }
    }

    void send(const QCborMap& message) { sendBytes(FrameBuffer::frame(message.toCborValue().toCbor())); }

    // The next reply, or nothing when the server hung up.
    std::optional<QCborMap> reply()
    {
        for (;;) {
            if (auto frame = input_.takeFrame())
                return QCborValue::fromCbor(*frame).toMap();
            if (socket_.state() != QLocalSocket::ConnectedState && socket_.bytesAvailable() == 0)
                return std::nullopt;
            if (socket_.waitForReadyRead(5000))
                input_.append(socket_.readAll());
        }
    }

private:
    QLocalSocket socket_;
    FrameBuffer input_;
};

QCborMap message(MessageType type, qint64 id)
{
    QCborMap m;
    m.insert(key::type, static_cast<qint64>(type));
    m.insert(key::id, id);
    return m;
}

TEST_F(SocketServerTest, RubbishCutsOffThatPeerOnly)
{
    struct Case {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"oversized length", QByteArray::fromHex("ffffffff00")},
        {"not CBOR", FrameBuffer::frame(QByteArray::fromHex("ff00ff00"))},
        {"CBOR but not a map", FrameBuffer::frame(QCborValue(42).toCbor())},
        {"no message type", FrameBuffer::frame(QCborMap{{key::id, 1}}.toCborValue().toCbor())},
        {"no request id", FrameBuffer::frame(QCborMap{{key::type, 2}}.toCborValue().toCbor())},
        {"unknown message type", FrameBuffer::frame(QCborMap{{key::type, 99}, {key::id, 1}}.toCborValue().toCbor())},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RawPeer peer(path_);
        peer.sendBytes(c.bytes);
        EXPECT_FALSE(peer.reply().has_value()) << "the server answered instead of hanging up";
    }
    const ObjectRef root = connectRoot();
    EXPECT_EQ(root->call(u"Echo", {Variant(1)}).toInt(), 1);
}

TEST_F(SocketServerTest, MalformedRequestsWithAnIdAreAnsweredWithErrors)
{
    QCborValue deep = QCborValue(1);
    for (int i = 0; i < 200; ++i)
        deep = QCborValue(QCborTag(0x4B450004), QCborArray{2, QCborArray{deep}});

    auto invoke = [](qint64 object, QCborValue member, QCborValue args) {
        QCborMap m = message(MessageType::Invoke, 9);
        m.insert(key::object, object);
        m.insert(key::kind, 3);
        m.insert(key::member, member);
        m.insert(key::args, args);
        return m;
    };
    struct Case {
        const char* what;
        QCborMap request;
    } cases[] = {
        {"unknown object", invoke(999, QCborValue(u"Echo"_qs), QCborArray{})},
        {"member not a string", invoke(1, QCborValue(5), QCborArray{})},
        {"arguments not a list", invoke(1, QCborValue(u"Echo"_qs), QCborValue(5))},
        {"unknown tag", invoke(1, QCborValue(u"Echo"_qs), QCborArray{QCborValue(QCborTag(77), 1)})},
        {"int16 out of range", invoke(1, QCborValue(u"Echo"_qs), QCborArray{QCborValue(QCborTag(0x4B450002), 70000)})},
        {"arrays nested too deeply", invoke(1, QCborValue(u"Echo"_qs), QCborArray{deep})},
    };
    RawPeer peer(path_);
    peer.send(message(MessageType::Root, 1));
    ASSERT_TRUE(peer.reply().has_value());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        peer.send(c.request);
        const auto reply = peer.reply();
        ASSERT_TRUE(reply.has_value());
        EXPECT_EQ(reply->value(key::id).toInteger(), 9);
        EXPECT_EQ(reply->value(key::status).toInteger(), 1);
        EXPECT_EQ(reply->value(key::code).toInteger(), static_cast<qint64>(hr::InvalidArg));
    }
    // Releasing what was never held, or more than was, takes nothing from anyone.
    QCborMap release{{key::type, static_cast<qint64>(MessageType::Release)}, {key::object, 12345}, {key::count, 1000}};
    peer.send(release);
    peer.send(message(MessageType::TableSize, 10));
    EXPECT_EQ(peer.reply()->value(key::value).toInteger(), 1);
}

QCborMap echo(qint64 id, const QString& text)
{
    QCborMap m = message(MessageType::Invoke, id);
    m.insert(key::object, 1);
    m.insert(key::kind, 3);
    m.insert(key::member, u"Echo"_qs);
    m.insert(key::args, QCborArray{text});
    return m;
}

TEST_F(SocketServerTest, ValuesLargerThanTheSocketBufferCrossBothWays)
{
    // The request goes out and comes in over many writes and reads, and the answer has to
    // wait for room while the client reads it.
    const ObjectRef root = connectRoot();
    std::u16string text(1 << 20, u' ');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(u'a' + i % 26);
    EXPECT_EQ(root->call(u"Echo", {Variant(text)}).toString(), text);
    EXPECT_EQ(root->call(u"Echo", {Variant(2)}).toInt(), 2);
}

TEST_F(SocketServerTest, AnswersToAClientThatDoesNotReadWaitInOrder)
{
    RawPeer peer(path_);
    peer.send(message(MessageType::Root, 1));
    ASSERT_TRUE(peer.reply().has_value());
    // Far more answer than the socket holds, all asked before any is read.
    const QString text(300000, u'y');
    QByteArray requests;
    for (qint64 id = 10; id < 16; ++id)
        requests += FrameBuffer::frame(echo(id, text + QString::number(id)).toCborValue().toCbor());
    peer.sendBytes(requests);
    for (qint64 id = 10; id < 16; ++id) {
        const auto reply = peer.reply();
        ASSERT_TRUE(reply.has_value());
        EXPECT_EQ(reply->value(key::id).toInteger(), id);
        EXPECT_EQ(reply->value(key::value).toString(), text + QString::number(id));
    }
}

TEST_F(SocketServerTest, AFrameArrivingByteByByteIsAnsweredOnce)
{
    RawPeer peer(path_);
    peer.send(message(MessageType::Root, 1));
    ASSERT_TRUE(peer.reply().has_value());
    const QByteArray frame = FrameBuffer::frame(echo(7, u"pieces"_qs).toCborValue().toCbor());
    for (const char byte : frame)
        peer.sendBytes(QByteArray(1, byte));
    peer.send(message(MessageType::TableSize, 8));
    const auto first = peer.reply();
    const auto second = peer.reply();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->value(key::id).toInteger(), 7);
    EXPECT_EQ(first->value(key::value).toString(), u"pieces"_qs);
    EXPECT_EQ(second->value(key::id).toInteger(), 8);
}

TEST_F(SocketServerTest, PeerHangingUpMidFrameLosesWhatItHeld)
{
    const auto baseline = server_->server().exportedObjectCount();
    {
        RawPeer peer(path_);
        peer.send(message(MessageType::Root, 1));
        ASSERT_TRUE(peer.reply().has_value());
        const QByteArray frame = FrameBuffer::frame(echo(2, u"cut short"_qs).toCborValue().toCbor());
        peer.sendBytes(frame.left(frame.size() / 2));
    }
    for (int i = 0; i < 500 && server_->server().exportedObjectCount() != baseline; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(server_->server().exportedObjectCount(), baseline);
    EXPECT_EQ(connectRoot()->call(u"Echo", {Variant(3)}).toInt(), 3);
}

TEST_F(SocketServerTest, ClosingTheConnectionReleasesEverythingItHeld)
{
    const auto baseline = server_->server().exportedObjectCount();
    {
        const ObjectRef root = connectRoot();
        const ObjectRef item = root->get(u"Item", Variant(2)).toObject();
        const Variant items = root->get(u"Items");
        const auto client = std::dynamic_pointer_cast<automation::socket::SocketProxy>(root)->client();
        EXPECT_EQ(client->exportedObjectCount(), 4);
    }
    // The close reaches the server asynchronously; a round trip on a new connection is
    // ordered after it only for that connection, so wait on the counter itself.
    for (int i = 0; i < 500 && server_->server().exportedObjectCount() != baseline; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(server_->server().exportedObjectCount(), baseline);
}

}  // namespace
