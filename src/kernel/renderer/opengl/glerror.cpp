#include "kernel/renderer/opengl/glerror.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/va/vagl.h"

namespace {

ShortString GLErrorMessage(GLenum Code) {
    static const char* const Names[] = {"GL_INVALID_ENUM", "GL_INVALID_VALUE", "GL_INVALID_OPERATION",
                                        "GL_STACK_OVERFLOW", "GL_STACK_UNDERFLOW", "GL_OUT_OF_MEMORY"};
    ShortString Msg = "OpenGL error: " + Int2Str(Code);
    if (Code >= GL_INVALID_ENUM && Code <= GL_OUT_OF_MEMORY)
        Msg += ShortString(" (") + Names[Code - GL_INVALID_ENUM] + ")";
    return Msg;
}

}  // namespace

void CheckGLError() {
    const GLenum E = glGetError();
    if (E != GL_NO_ERROR) Logger->Fatal(GLErrorMessage(E));
}
