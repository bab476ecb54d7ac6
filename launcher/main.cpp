// launcher: the small window that picks a resolution and full-screen or not,
// then starts the demo program that sits in the launcher's own folder.
#include "launcherresources.h"
#include "mainwindow.h"
#include "systemdisplaymodes.h"

#include <QApplication>
#include <QDir>

namespace
{
QString demoProgram()
{
#ifdef _WIN32
    // Windows looks in the launcher's own folder first.
    return QStringLiteral("quillon.exe");
#else
    // A bare name would be looked up on PATH, never beside the launcher.
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("quillon"));
#endif
}
}

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    LauncherResources resources;

    const SystemDisplayModes displayModes;
    MainWindow window(displayModes, demoProgram());
    window.show();
    return application.exec();
}
