// One place that pulls in GL: GLEW must come before any other GL header,
// and GLFW must not bring its own.
#pragma once

#include <GL/glew.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
