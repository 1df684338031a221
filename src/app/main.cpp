#include "app/AppInfo.h"
#include "app/AppPaths.h"
#include "app/MessageBoxMessages.h"
#include "app/QtOwnWindow.h"
#include "app/SingleInstanceLock.h"
#include "app/TKelvoMainForm.h"
#include "cadlink/TTargetCADForm.h"
#include "cadlink/TargetProgID.h"

#include <QApplication>
#include <QIcon>

#ifdef _WIN32
#include "app/NotepadLauncher.h"
#include "app/TMessageFilter.h"
#include "automation/com/ComRunningObjects.h"
#include "cadlink/platform/Win32WindowServices.h"

#include <objbase.h>
#else
#include "automation/socket/SocketRunningObjects.h"
#include "cadlink/platform/KelvoCadWindowServices.h"
#include "taglists/SystemTextFileLauncher.h"
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
#else
    launcher.setOwner(&KelvoMainForm);
#endif
    cadlink::TTargetCADForm TargetCADForm(app::listPathFor(executable, app::kTargetCadListName), messages,
                                          &KelvoMainForm);
    KelvoMainForm.setTargetCadForm(&TargetCADForm);

    app::QtOwnWindow ownWindow(KelvoMainForm);
    KelvoMainForm.setAutomation(runningObjects, windowServices, ownWindow);

    KelvoMainForm.show();
    const int result = application.exec();

#ifdef _WIN32
    messageFilter->RevokeFilter();
    CoUninitialize();
#endif
    return result;
}
