#pragma once
// Renderer tests on an offscreen OpenGL context with the file system over
// the test's Data/ and the registry's classes.

#include <memory>

#include "kernel/core/globals.h"
#include "kernel/objects/registry.h"
#include "renderer/vagl/offscreencontext.h"
#include "vfs/vfsfixture.h"

class GLTest : public VFSTest {
protected:
    void SetUp() override {
        VFSTest::SetUp();
        GL = std::make_unique<OffscreenContext>();
        if (!GL->Valid()) SKIP_OR_FAIL(std::string("no OpenGL context: ") + SDL_GetError());
        Linker = NewObject<tObjectsLinker>();
        Linker->RegisterClasses();
        Mapped();
    }
    void TearDown() override {
        if (GL && GL->Valid()) {
            EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        }
        if (Linker) tZObject::DisposeObject(Linker);
        GL.reset();
        VFSTest::TearDown();
    }
    // Rebuilds the file system's tree, which sees files present when it is built.
    void Remap() {
        tZObject::DisposeObject(FS);
        Mapped();
    }

    std::unique_ptr<OffscreenContext> GL;
};
