#include "app/AppInfo.h"
#include "app/AppPaths.h"
#include "app/MessageBoxMessages.h"
#include "app/QtOwnWindow.h"
#include "app/SingleInstanceLock.h"
#include "app/TKelvoMainForm.h"
#include "cadlink/TargetProgID.h"
#include "cadlink/ui/TTargetCADForm.h"

#include <QApplication>
#include <QIcon>
#include <QSessionManager>

#ifdef _WIN32
#include "app/NotepadLauncher.h"
#include "app/TMessageFilter.h"
#include "automation/com/ComRunningObjects.h"
#include "cadlink/platform/Win32WindowServices.h"

#include <objbase.h>
#else
#include "automation/socket/SocketRunningObjects.h"
#include "cadlink/platform/KelvoCadWindowServices.h"
#include "common/TerminationSignals.h"
#include "taglists/ui/SystemTextFileLauncher.h"

#include <QSocketNotifier>

#include <csignal>
#include <unistd.h>
#endif

int main(int argc, char* argv[])
{
#ifndef _WIN32
    // Caught from the first moment; the window acts on them once the event loop runs.
    const int terminationSignals = common::terminationSignalPipe({SIGTERM, SIGHUP, SIGINT});
#endif

    // A second start ends here, silently, before it has touched anything.
    app::SingleInstanceLock instanceLock;
    if (!instanceLock.tryAcquire())
        return 0;

#ifdef _WIN32
    // Automation calls to the CAD application run on this thread's single-threaded apartment.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
#endif

    QApplication application(argc, argv);
    QApplication::setApplicationName(app::applicationName());
    QApplication::setApplicationVersion(app::applicationVersion());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kelvoedit.png")));

    const std::filesystem::path executable(QApplication::applicationFilePath().toStdU16String());
    app::MessageBoxMessages messages;

#ifdef _WIN32
    app::NotepadLauncher launcher;
    // The CAD application is found in the running object table by its ProgID.
    automation::com::ComRunningObjects runningObjects;
    cadlink::platform::Win32WindowServices windowServices;
#else
    taglists::SystemTextFileLauncher launcher;
    // The CAD application is a drawing host reached over the per-user running-object
    // directory; a call it turns away as busy is sent again every second.
    automation::socket::SocketRunningObjects runningObjects;
    cadlink::platform::KelvoCadWindowServices windowServices(runningObjects, [] { return cadlink::TargetProgID; });
#endif

    // The windows in their order of creation: the main window first.
    app::TKelvoMainForm KelvoMainForm(executable, messages, launcher);
    messages.setOwner(&KelvoMainForm);
#ifdef _WIN32
    launcher.setOwner(static_cast<intptr_t>(KelvoMainForm.winId()));
    // Keeps calls patient while the CAD application is busy, from here until the main
    // window is gone.
    const auto messageFilter = app::TMessageFilter::Create();
    messageFilter->RegisterFilter();
#endif
    cadlink::TTargetCADForm TargetCADForm(app::listPathFor(executable, app::kTargetCadListName), messages,
                                          &KelvoMainForm);
    KelvoMainForm.setTargetCadForm(&TargetCADForm);

    app::QtOwnWindow ownWindow(KelvoMainForm);
    KelvoMainForm.setAutomation(runningObjects, windowServices, ownWindow);

    // A session end may end the process without closing the window (Windows does right
    // after it has asked for the data): the settings and lists are written when asked.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &KelvoMainForm,
                     [&KelvoMainForm](QSessionManager&) { KelvoMainForm.saveSession(); });
#ifndef _WIN32
    // SIGTERM, SIGHUP and SIGINT end the program as a close of its window does.
    if (terminationSignals >= 0) {
        auto* notifier = new QSocketNotifier(terminationSignals, QSocketNotifier::Read, &application);
        QObject::connect(notifier, &QSocketNotifier::activated, &KelvoMainForm, [&KelvoMainForm, terminationSignals] {
            char byte;
            [[maybe_unused]] const auto got = ::read(terminationSignals, &byte, 1);
            KelvoMainForm.close();
            QCoreApplication::quit();
        });
    }
#endif

    KelvoMainForm.show();
    const int result = application.exec();

#ifdef _WIN32
    messageFilter->RevokeFilter();
    CoUninitialize();
#endif
    return result;
}
