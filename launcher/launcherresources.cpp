#include "launcherresources.h"

#include <QtGlobal>

LauncherResources::LauncherResources()
{
    Q_INIT_RESOURCE(logo);
}

LauncherResources::~LauncherResources()
{
    Q_CLEANUP_RESOURCE(logo);
}
