#pragma once
// OpenGL with the prototypes of the ARB and EXT entry points the vertex arrays
// use (buffer objects, multitexture, secondary colour); Mesa's libGL exports them.

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
