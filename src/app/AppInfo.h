#pragma once

#include <QString>

namespace app {

// The program's name, version and release date, shown in the title and the About box.
QString applicationName();
QString applicationVersion();
QString applicationReleaseDate();
// Name and version: the start of the main window's caption when it names the target CAD.
QString applicationTitle();

}  // namespace app
