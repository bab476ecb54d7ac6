#include "gl/projection.h"

#include "gl/glheaders.h"

void setWindowProjection(int width, int height)
{
    const int halfWidth = width / 2;
    const int halfHeight = height / 2;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-static_cast<double>(halfWidth), static_cast<double>(halfWidth),
            -static_cast<double>(halfHeight), static_cast<double>(halfHeight), -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
