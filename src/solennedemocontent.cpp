// The demo's content: what the run does between opening the window and its
// loop, inside each frame, and after the loop.
#include "solennedemo.h"

void SolenneDemo::startContent(int, int)
{
}

void SolenneDemo::drawContentFrame(float, float)
{
}

void SolenneDemo::tearDownContent()
{
}
