#pragma once
// OpenGL with the prototypes of the ARB and EXT entry points the vertex arrays
// use (buffer objects, multitexture, secondary colour); Mesa's libGL exports them.

#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/gl.h>
#include <GL/glext.h>
