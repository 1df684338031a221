#include "app/AppInfo.h"

namespace app {

QString applicationName()
{
    return QStringLiteral("KelvoEdit");
}

QString applicationVersion()
{
    return QStringLiteral(KELVO_VERSION);
}

QString applicationReleaseDate()
{
    return QStringLiteral("2026-12-10");
}

QString applicationTitle()
{
    return applicationName() + u' ' + applicationVersion();
}

}  // namespace app
