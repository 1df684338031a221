#include "ui/MessagePump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QVariant>
#include <QWidget>

namespace ui {

void processPendingMessages()
{
    QCoreApplication::processEvents();
}

void processMessagesHoldingInput()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MessagePumpThrottle::processPendingMessages()
{
    if (sinceLast_.isValid() && sinceLast_.elapsed() < every_)
        return;
    ui::processPendingMessages();
    sinceLast_.start();
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

void repaintNowAndThen(QWidget& widget)
{
    constexpr qint64 frameMs = 16;
    constexpr const char* lastPaint = "kelvoLastImmediatePaint";
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    const QVariant last = widget.property(lastPaint);
    const qint64 now = clock.elapsed();
    if (last.isValid() && now - last.toLongLong() < frameMs) {
        widget.update();
        return;
    }
    widget.setProperty(lastPaint, now);
    widget.repaint();
}

}  // namespace ui
