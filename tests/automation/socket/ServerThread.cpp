#include "ServerThread.h"

#include <QMetaObject>

namespace sockettest {

ServerThread::ServerThread(automation::ObjectRef root) : context_(std::make_unique<QObject>())
{
    context_->moveToThread(&thread_);
    thread_.start();
    QMetaObject::invokeMethod(
        context_.get(), [&] { server_ = std::make_unique<automation::socket::SocketServer>(std::move(root)); },
        Qt::BlockingQueuedConnection);
}

ServerThread::~ServerThread()
{
    QMetaObject::invokeMethod(context_.get(), [&] { server_.reset(); }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

void ServerThread::run(const std::function<void(automation::socket::SocketServer&)>& f)
{
    std::exception_ptr failure;
    QMetaObject::invokeMethod(
        context_.get(),
        [&] {
            try {
                f(*server_);
            } catch (...) {
                failure = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (failure)
        std::rethrow_exception(failure);
}

}  // namespace sockettest
