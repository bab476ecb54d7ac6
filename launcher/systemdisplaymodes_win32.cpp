#ifdef _WIN32

#include "systemdisplaymodes.h"

#include <windows.h>

// Mode numbers 0, 1, 2, ... of the primary display until the call fails.
std::vector<DisplayMode> SystemDisplayModes::modes() const
{
    std::vector<DisplayMode> found;
    DEVMODEW mode;
    ZeroMemory(&mode, sizeof mode);
    mode.dmSize = sizeof mode;
    for (DWORD number = 0; EnumDisplaySettingsW(nullptr, number, &mode); ++number) {
        found.push_back({static_cast<int>(mode.dmPelsWidth), static_cast<int>(mode.dmPelsHeight),
                         static_cast<int>(mode.dmBitsPerPel), static_cast<int>(mode.dmDisplayFrequency)});
    }
    return found;
}

#endif
