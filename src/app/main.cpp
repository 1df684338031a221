#include "app/AppInfo.h"
#include "app/AppPaths.h"
#include "app/MessageBoxMessages.h"
#include "app/QtOwnWindow.h"
#include "app/SingleInstanceLock.h"
#include "app/TKelvoMainForm.h"
#include "cadlink/TTargetCADForm.h"
#include "cadlink/TargetProgID.h"
#include "taglists/SystemTextFileLauncher.h"

#include <QApplication>
#include <QIcon>

#ifdef _WIN32
#include <objbase.h>
#else
#include "automation/socket/SocketRunningObjects.h"
#include "cadlink/platform/KelvoCadWindowServices.h"
#endif

int main(int argc, char* argv[])
{
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
    taglists::SystemTextFileLauncher launcher;

#ifndef _WIN32
    // The CAD application is a drawing host reached over the per-user running-object
    // directory; a call it turns away as busy is sent again every second.
    automation::socket::SocketRunningObjects runningObjects;
    cadlink::platform::KelvoCadWindowServices windowServices(runningObjects, [] { return cadlink::TargetProgID; });
#endif

    // The windows in their order of creation: the main window first.
    app::TKelvoMainForm KelvoMainForm(executable, messages, launcher);
    messages.setOwner(&KelvoMainForm);
    launcher.setOwner(&KelvoMainForm);
    cadlink::TTargetCADForm TargetCADForm(app::listPathFor(executable, app::kTargetCadListName), messages,
                                          &KelvoMainForm);
    KelvoMainForm.setTargetCadForm(&TargetCADForm);

    app::QtOwnWindow ownWindow(KelvoMainForm);
#ifndef _WIN32
    KelvoMainForm.setAutomation(runningObjects, windowServices, ownWindow);
#else
    // FIXME: the COM running object table and the Win32 window services are not built yet,
    // so on Windows every CAD operation reports that the program has no CAD link.
#endif

    KelvoMainForm.show();
    const int result = application.exec();

#ifdef _WIN32
    CoUninitialize();
#endif
    return result;
}
