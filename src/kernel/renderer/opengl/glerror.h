#pragma once
// The one check of OpenGL's error flag: the render device runs it at the end
// of every frame, the GPU programs after compiling and linking.

// Fatal with "OpenGL error: " + the code in decimal (and the name of the six
// standard codes in brackets) when OpenGL has an error pending.
void CheckGLError();
