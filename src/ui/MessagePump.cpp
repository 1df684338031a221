#include "ui/MessagePump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace ui {

void processPendingMessages()
{
    QCoreApplication::processEvents();
}

void processMessagesHoldingInput()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void waitProcessingMessages(int milliseconds)
{
    if (milliseconds <= 0) {
        processPendingMessages();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace ui
