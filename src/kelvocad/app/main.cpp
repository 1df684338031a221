// kelvocad: the drawing host. Shows a drawing and serves its Automation object model to
// KelvoEdit: over the per-user running-object directory on Linux, over COM in the running
// object table on Windows.
#include "automation/AutomationError.h"
#include "kelvocad/app/CadCommandLine.h"
#include "kelvocad/app/CadDocument.h"
#include "kelvocad/app/CadMainWindow.h"
#include "kelvocad/app/DrawingView.h"
#include "kelvocad/objects/CadSession.h"

#include <QApplication>

#include <cstdio>
#include <exception>

#ifdef _WIN32
#include "kelvocad/app/ComCadHost.h"

#include <QMessageBox>

#include <objbase.h>
#else
#include "automation/socket/RunningObjectDirectory.h"
#include "common/TerminationSignals.h"
#include "kelvocad/app/CadAutomationHost.h"

#include <QSocketNotifier>

#include <csignal>
#include <unistd.h>
#endif

namespace {

#ifndef _WIN32
// SIGTERM and SIGINT end the program through its event loop, so it stops serving and
// removes its sockets as on a normal exit.
void quitOnTerminationSignals(QApplication& app)
{
    const int signalPipe = common::terminationSignalPipe({SIGTERM, SIGINT});
    if (signalPipe < 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe, QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [signalPipe] {
        char byte;
        [[maybe_unused]] const auto got = ::read(signalPipe, &byte, 1);
        QCoreApplication::quit();
    });
}
#endif

void printError(const QString& text)
{
    std::fprintf(stderr, "kelvocad: %s\n", text.toLocal8Bit().constData());
#ifdef _WIN32
    // A Windows program started from Explorer has no console to read this from.
    if (QApplication::instance())
        QMessageBox::critical(nullptr, QStringLiteral("KelvoCAD"), text);
#endif
}

}  // namespace

int main(int argc, char** argv)
{
#ifdef _WIN32
    // Automation calls arrive on this thread's single-threaded apartment.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KelvoCAD"));

    const auto options = kelvocad::CadCommandLine::parse(QApplication::arguments());
    if (options.help) {
        std::fputs(kelvocad::CadCommandLine::usage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!options.error.isEmpty()) {
        printError(options.error);
        std::fputs(kelvocad::CadCommandLine::usage().toLocal8Bit().constData(), stderr);
        return 2;
    }
    kelvocad::CadDocument document;
    try {
        document = options.drawingFile.isEmpty() ? kelvocad::CadDocument::sample()
                                                 : kelvocad::CadDocument::open(options.drawingFile);
    } catch (const std::exception& error) {
        printError(QString::fromUtf8(error.what()));
        return 2;
    }
    const auto& session = document.session();
    kelvocad::CadMainWindow window(session);
    window.setDocument(&document);
    window.show();
    // Start with the whole drawing in sight; clients read the view from the session.
    window.view()->zoomExtents();

#ifdef _WIN32
    int result = 0;
    {
        kelvocad::ComCadHost host(session, &window);
        QStringList skipped;
        const QStringList served = host.serve(options.progIds, &skipped);
        for (const QString& reason : skipped)
            std::fprintf(stderr, "kelvocad: not serving %s\n", reason.toUtf8().constData());
        if (served.isEmpty()) {
            printError(QStringLiteral("No ProgID could be served:\n") + skipped.join(QLatin1Char('\n')));
            return 1;
        }
        for (const QString& progId : served)
            std::fprintf(stdout, "kelvocad: serving %s\n", progId.toUtf8().constData());
        std::fflush(stdout);
        result = QApplication::exec();
        host.close();
    }
    CoUninitialize();
    return result;
#else
    kelvocad::CadAutomationHost host(session, &window);
    try {
        host.serve(automation::socket::RunningObjectDirectory::userDefault(), options.progIds);
    } catch (const automation::AutomationError& error) {
        printError(QString::fromStdU16String(error.description()));
        return 1;
    }
    for (const QString& progId : options.progIds)
        std::fprintf(stdout, "kelvocad: serving %s\n", progId.toUtf8().constData());
    std::fflush(stdout);

    quitOnTerminationSignals(app);
    const int result = QApplication::exec();
    host.close();
    return result;
#endif
}
