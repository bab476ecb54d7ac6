#ifndef _WIN32

#include "systemdisplaymodes.h"

#include <cmath>

// Xlib defines macros (None, Bool, Status, ...) that clash with other
// libraries' names, so its headers come last and stay in this file.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace
{
int refreshRate(const XRRModeInfo& mode)
{
    double lines = mode.vTotal;
    if (mode.modeFlags & RR_DoubleScan)
        lines *= 2.0;
    if (mode.modeFlags & RR_Interlace)
        lines /= 2.0;
    if (mode.hTotal == 0 || lines <= 0.0)
        return 0;
    return static_cast<int>(std::lround(static_cast<double>(mode.dotClock) / (mode.hTotal * lines)));
}

bool usable(XRROutputInfo* output)
{
    return output && output->connection == RR_Connected && output->nmode > 0;
}

// The primary output when the server names one and it is connected,
// otherwise the first connected output with modes. Null when there is none.
XRROutputInfo* chosenOutput(Display* display, Window root, XRRScreenResources* resources)
{
    RROutput primary = XRRGetOutputPrimary(display, root);
    if (primary != 0) {
        XRROutputInfo* output = XRRGetOutputInfo(display, resources, primary);
        if (usable(output))
            return output;
        if (output)
            XRRFreeOutputInfo(output);
    }
    for (int i = 0; i < resources->noutput; ++i) {
        XRROutputInfo* output = XRRGetOutputInfo(display, resources, resources->outputs[i]);
        if (usable(output))
            return output;
        if (output)
            XRRFreeOutputInfo(output);
    }
    return nullptr;
}

const XRRModeInfo* findMode(const XRRScreenResources* resources, RRMode id)
{
    for (int i = 0; i < resources->nmode; ++i) {
        if (resources->modes[i].id == id)
            return &resources->modes[i];
    }
    return nullptr;
}
}

std::vector<DisplayMode> SystemDisplayModes::modes() const
{
    std::vector<DisplayMode> found;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return found;

    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    const int depth = DefaultDepth(display, screen);

    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    const bool outputsKnown = XRRQueryExtension(display, &eventBase, &errorBase) &&
                              XRRQueryVersion(display, &major, &minor) &&
                              (major > 1 || (major == 1 && minor >= 3));
    if (!outputsKnown) {
        // Without output information the screen's current size is the one
        // mode known to work.
        found.push_back({DisplayWidth(display, screen), DisplayHeight(display, screen), depth, 0});
        XCloseDisplay(display);
        return found;
    }

    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
    if (resources) {
        if (XRROutputInfo* output = chosenOutput(display, root, resources)) {
            for (int i = 0; i < output->nmode; ++i) {
                if (const XRRModeInfo* mode = findMode(resources, output->modes[i])) {
                    found.push_back({static_cast<int>(mode->width), static_cast<int>(mode->height), depth,
                                     refreshRate(*mode)});
                }
            }
            XRRFreeOutputInfo(output);
        }
        XRRFreeScreenResources(resources);
    }
    XCloseDisplay(display);
    return found;
}

#endif
