// socket_test_server <socket path>: serves a TestRoot until killed. Its Wait member never
// returns, so a client can be caught in the middle of a call.

#include "TestObjects.h"

#include "automation/socket/SocketServer.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: socket_test_server <socket path>\n");
        return 2;
    }
    auto root = std::make_shared<sockettest::TestRoot>();
    root->waitHook = [] {
        std::printf("waiting\n");
        std::fflush(stdout);
        QEventLoop endless;
        endless.exec();
        return automation::Variant();
    };
    automation::socket::SocketServer server(root);
    server.listen(QString::fromLocal8Bit(argv[1]));
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
