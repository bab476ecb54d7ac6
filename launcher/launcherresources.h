// Registers the launcher's compiled-in pictures (the logo) for as long as an
// object of this class lives. The resource data sits in a static library,
// where nothing would otherwise pull it into the program.
#pragma once

class LauncherResources
{
public:
    LauncherResources();
    ~LauncherResources();

    LauncherResources(const LauncherResources&) = delete;
    LauncherResources& operator=(const LauncherResources&) = delete;
};
