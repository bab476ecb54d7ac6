// The window projection: orthographic, centred on the window, y upwards.
#pragma once

// Projection = ortho(-(width/2), width/2, -(height/2), height/2, -1, 1) with
// integer halves truncated toward zero; model-view = identity.
void setWindowProjection(int width, int height);
