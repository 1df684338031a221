// A client facing a server that answers rubbish must fail the call, never hang or crash.

#include "automation/AutomationError.h"
#include "automation/socket/FrameBuffer.h"
#include "automation/socket/Protocol.h"
#include "automation/socket/SocketClient.h"

#include <QCborMap>
#include <QCborValue>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

using automation::AutomationError;
using automation::socket::FrameBuffer;
using automation::socket::SocketClient;
namespace hr = automation::hr;
namespace key = automation::socket::key;

namespace {

// Answers every request with whatever `answer` makes of its id.
class FakeServer {
public:
    FakeServer(const QString& path, std::function<QByteArray(qint64)> answer) : answer_(std::move(answer))
    {
        context_.moveToThread(&thread_);
        thread_.start();
        QMetaObject::invokeMethod(
            &context_,
            [&] {
                server_ = std::make_unique<QLocalServer>();
                server_->listen(path);
                QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
                    QLocalSocket* socket = server_->nextPendingConnection();
                    QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                        input_.append(socket->readAll());
                        while (auto frame = input_.takeFrame()) {
                            socket->write(answer_(QCborValue::fromCbor(*frame).toMap().value(key::id).toInteger()));
                            socket->flush();
                        }
                    });
                });
            },
            Qt::BlockingQueuedConnection);
    }

    ~FakeServer()
    {
        QMetaObject::invokeMethod(&context_, [&] { server_.reset(); }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
    }

private:
    std::function<QByteArray(qint64)> answer_;
    QThread thread_;
    QObject context_;
    std::unique_ptr<QLocalServer> server_;
    FrameBuffer input_;
};

QByteArray reply(qint64 id, QCborMap body)
{
    body.insert(key::type, static_cast<qint64>(automation::socket::MessageType::Reply));
    body.insert(key::id, id);
    return FrameBuffer::frame(body.toCborValue().toCbor());
}

TEST(SocketClient, RubbishFromTheServerFailsTheCall)
{
    struct Case {
        const char* what;
        std::function<QByteArray(qint64)> answer;
        int32_t code;
    } cases[] = {
        {"oversized frame", [](qint64) { return QByteArray::fromHex("ffffffff"); }, hr::Disconnected},
        {"not CBOR", [](qint64) { return FrameBuffer::frame(QByteArray::fromHex("ff")); }, hr::Disconnected},
        {"answer to another request", [](qint64 id) { return reply(id + 1, {{key::status, 0}}); }, hr::Disconnected},
        {"unknown status", [](qint64 id) { return reply(id, {{key::status, 7}}); }, hr::ServerFault},
        {"value that is no variant",
         [](qint64 id) { return reply(id, {{key::status, 0}, {key::value, QCborValue(QCborTag(77), 1)}}); },
         hr::ServerFault},
        {"error code out of range",
         [](qint64 id) { return reply(id, {{key::status, 1}, {key::code, qint64(1) << 40}}); }, hr::ServerFault},
        {"error without a description",
         [](qint64 id) { return reply(id, {{key::status, 1}, {key::code, hr::Fail}}); }, hr::Fail},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath("fake.socket");
        FakeServer server(path, c.answer);
        const auto client = SocketClient::connect(path, std::chrono::milliseconds(5));
        try {
            client->rootObject();
            ADD_FAILURE() << "no error";
        } catch (const AutomationError& e) {
            EXPECT_EQ(e.code(), c.code);
        }
        // A client that lost the thread of the conversation does not try to pick it up.
        EXPECT_EQ(client->isConnected(), c.code != hr::Disconnected);
    }
}

}  // namespace
