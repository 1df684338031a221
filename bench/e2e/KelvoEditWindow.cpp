#include "KelvoEditWindow.h"

#include "CadServer.h"

#include "app/QtOwnWindow.h"
#include "app/TKelvoMainForm.h"
#include "cadlink/TargetProgID.h"
#include "ui_TKelvoMainForm.h"

namespace bench::e2e {

namespace {

automation::socket::RunningObjectDirectory directoryOf(const CadServer* cad, const QTemporaryDir& own)
{
    if (cad)
        return cad->directory();
    // Nobody serves here: a CAD operation finds no CAD application.
    return automation::socket::RunningObjectDirectory(std::filesystem::path(own.path().toStdString()) / "objects");
}

}  // namespace

KelvoEditWindow::KelvoEditWindow(const CadServer* cad)
    : runningObjects_(directoryOf(cad, dir_)),
      windows_(runningObjects_, [] { return cadlink::TargetProgID; })
{
    form_ = std::make_unique<app::TKelvoMainForm>(std::filesystem::path(dir_.path().toStdU16String()) / "kelvoedit",
                                                  messages, launcher_);
    ownWindow_ = std::make_unique<app::QtOwnWindow>(*form_);
    form_->setAutomation(runningObjects_, windows_, *ownWindow_);
    // The settings read at start name a target of their own; this one is the benchmark's.
    cadlink::TargetProgID = CadServer::progId;
    form_->show();
}

KelvoEditWindow::~KelvoEditWindow()
{
    form_.reset();
}

Ui::TKelvoMainForm& KelvoEditWindow::ui()
{
    return form_->controls();
}

}  // namespace bench::e2e
