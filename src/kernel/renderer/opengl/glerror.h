#pragma once
// The one check of OpenGL's error flag: the render device runs it at the end
// of every frame, the GPU programs after compiling and linking.

#include "kernel/core/shortstring.h"

// "OpenGL error: " + the code in decimal, with the name of the six standard
// codes in brackets; empty for no error.
ShortString GLErrorMessage(uint32_t Code);
// Fatal with GLErrorMessage when OpenGL has an error pending.
void CheckGLError();
