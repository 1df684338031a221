// Sends arbitrary messages to a KelvoCAD session served in this process, then checks that
// the server still answers. One server serves every input, each with a fresh session. With KELVO_FUZZ_WRITE_SEEDS=<folder> it writes its seeds and
// those of socket_decode_fuzzer there instead.
#include "SocketServerCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

void writeSeeds(const QString& folder)
{
    QDir().mkpath(folder + "/socket_server");
    QDir().mkpath(folder + "/socket_decode");
    int n = 0;
    for (const auto& conversation : fuzzing::seedConversations()) {
        QFile server(folder + QString("/socket_server/conversation-%1").arg(n));
        server.open(QIODevice::WriteOnly);
        server.write(fuzzing::serverInput(conversation));
        QByteArray stream(1, static_cast<char>(7 * n + 3));
        for (const QByteArray& m : conversation)
            stream += automation::socket::FrameBuffer::frame(m);
        QFile decode(folder + QString("/socket_decode/stream-%1").arg(n));
        decode.open(QIODevice::WriteOnly);
        decode.write(stream);
        ++n;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    if (const char* folder = std::getenv("KELVO_FUZZ_WRITE_SEEDS")) {
        writeSeeds(QString::fromLocal8Bit(folder));
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString path = QDir::tempPath() + QString("/kelvo-server-fuzz-%1.sock").arg(::getpid());
    static const auto root = std::make_shared<fuzzing::SessionRoot>();
    static automation::socket::SocketServer* const server = [] {
        auto* s = new automation::socket::SocketServer(root);
        QLocalServer::removeServer(path);
        s->listen(path);
        return s;
    }();
    (void)server;
    const std::string fault =
        fuzzing::checkServerConversation(*root, path, std::string_view(reinterpret_cast<const char*>(data), size));
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
