#include "app/AppInfo.h"
#include "app/AppPaths.h"
#include "app/MessageBoxMessages.h"
#include "app/SingleInstanceLock.h"
#include "app/TKelvoMainForm.h"
#include "cadlink/TTargetCADForm.h"
#include "taglists/SystemTextFileLauncher.h"

#include <QApplication>
#include <QIcon>

#ifdef _WIN32
#include <objbase.h>
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

    // The windows in their order of creation: the main window first.
    app::TKelvoMainForm KelvoMainForm(executable, messages, launcher);
    messages.setOwner(&KelvoMainForm);
    launcher.setOwner(&KelvoMainForm);
    cadlink::TTargetCADForm TargetCADForm(app::listPathFor(executable, app::kTargetCadListName), messages,
                                          &KelvoMainForm);
    KelvoMainForm.setTargetCadForm(&TargetCADForm);

    KelvoMainForm.show();
    const int result = application.exec();

#ifdef _WIN32
    CoUninitialize();
#endif
    return result;
}
