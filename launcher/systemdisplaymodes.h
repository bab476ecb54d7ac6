// The modes of the display the launcher runs on: Win32 display settings on
// Windows, the primary (or first connected) XRandR output elsewhere.
// Used by the launcher's entry point to fill its resolution list.
#pragma once

#include "displaymodesource.h"

class SystemDisplayModes : public DisplayModeSource
{
public:
    std::vector<DisplayMode> modes() const override;
};
