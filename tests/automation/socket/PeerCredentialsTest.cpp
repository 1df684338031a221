// Who may use a server: only processes of the server's own user, whatever the socket file's
// mode says.

#include "ServerThread.h"
#include "TestObjects.h"

#include "automation/socket/FrameBuffer.h"
#include "automation/socket/Protocol.h"

#include <QCborMap>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <ostream>

#include <grp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using automation::socket::FrameBuffer;
using automation::socket::MessageType;
using automation::socket::SocketServer;
using sockettest::ServerThread;
namespace key = automation::socket::key;

namespace {

TEST(PeerCredentials, OnlyTheServersOwnUserIsAccepted)
{
    struct Case {
        std::optional<uint32_t> peer;
        uint32_t own;
        bool accepted;
    } cases[] = {
        {1000u, 1000u, true},
        {0u, 0u, true},
        {1001u, 1000u, false},
        {0u, 1000u, false},  // not even root may drive another user's drawing
        {1000u, 0u, false},
        {std::nullopt, 1000u, false},
        {std::nullopt, 0u, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "peer " << (c.peer ? std::to_string(*c.peer) : "unknown") << ", own "
                                        << c.own);
        EXPECT_EQ(SocketServer::isSameUser(c.peer, c.own), c.accepted);
    }
}

TEST(PeerCredentials, ConnectedPeerIsToldByItsUserAndAnythingElseByNone)
{
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    EXPECT_EQ(SocketServer::peerUid(pair[0]), std::optional<uint32_t>(::geteuid()));
    ::close(pair[0]);
    ::close(pair[1]);
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    EXPECT_EQ(SocketServer::peerUid(pipeEnds[0]), std::nullopt) << "not a socket";
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    EXPECT_EQ(SocketServer::peerUid(-1), std::nullopt);
}

// What a client running as `uid` gets from the server at `socketPath` when it asks for the root
// object: the server's answer, or nothing when the server hung up without answering.
// The client is a forked child that only makes system calls, so it is safe to fork from a
// process that runs other threads.
enum class Outcome { Answered, HungUp, Failed };

void PrintTo(Outcome outcome, std::ostream* os)
{
    *os << (outcome == Outcome::Answered ? "answered" : outcome == Outcome::HungUp ? "hung up" : "client failed");
}

Outcome askAs(uid_t uid, const QByteArray& socketPath)
{
    const QByteArray request = FrameBuffer::frame(
        QCborMap{{key::type, static_cast<qint64>(MessageType::Root)}, {key::id, 1}}.toCborValue().toCbor());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<size_t>(socketPath.size()) >= sizeof address.sun_path)
        return Outcome::Failed;
    std::memcpy(address.sun_path, socketPath.constData(), static_cast<size_t>(socketPath.size()));

    const pid_t child = ::fork();
    if (child < 0)
        return Outcome::Failed;
    if (child == 0) {
        if (uid != ::geteuid() && (::setgroups(0, nullptr) != 0 || ::setresgid(uid, uid, uid) != 0 ||
                                   ::setresuid(uid, uid, uid) != 0))
            ::_exit(10);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
            ::_exit(11);
        // The server may hang up before the request is even written.
        const ssize_t sent = ::send(fd, request.constData(), static_cast<size_t>(request.size()), MSG_NOSIGNAL);
        if (sent < 0 && (errno == EPIPE || errno == ECONNRESET))
            ::_exit(1);
        if (sent != request.size())
            ::_exit(12);
        // A guard against hanging the suite, not a measure of speed.
        pollfd wait{fd, POLLIN, 0};
        if (::poll(&wait, 1, 30000) != 1)
            ::_exit(13);
        char byte;
        const ssize_t got = ::read(fd, &byte, 1);
        // A server that hangs up on unread bytes resets the connection.
        ::_exit(got > 0 ? 0 : (got == 0 || errno == ECONNRESET ? 1 : 14));
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return Outcome::Failed;
    switch (WEXITSTATUS(status)) {
    case 0:
        return Outcome::Answered;
    case 1:
        return Outcome::HungUp;
    default:
        ADD_FAILURE() << "the client failed with status " << WEXITSTATUS(status);
        return Outcome::Failed;
    }
}

// A server whose socket file anybody may open, so that only the credentials check stands
// between another user and the drawing.
TEST(PeerCredentials, AnotherUsersClientIsHungUpOnUnanswered)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "becoming another user needs root";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    const QString path = dir.filePath("open.socket");
    ServerThread server(std::make_shared<sockettest::TestRoot>());
    server.run([&](SocketServer& s) { s.listen(path); });
    const QByteArray socketPath = QFile::encodeName(path);
    ASSERT_EQ(::chmod(socketPath.constData(), 0777), 0);

    struct Case {
        uid_t uid;
        Outcome expected;
    } cases[] = {
        {::geteuid(), Outcome::Answered},
        {65534, Outcome::HungUp},
        {12345, Outcome::HungUp},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.uid);
        EXPECT_EQ(askAs(c.uid, socketPath), c.expected);
    }
}

}  // namespace
