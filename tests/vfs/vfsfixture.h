#pragma once
// A temporary working directory with the logger, the OS services and a file
// system whose tree is built, on demand, from the Data/ written by the test.

#include <string>

#include "common/testenv.h"
#include "kernel/core/globals.h"
#include "kernel/os/winossystem.h"
#include "kernel/vfs/filesystem.h"

class VFSTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        OSSystem = new tWinOSSystem();
    }
    void TearDown() override {
        if (FS) tZObject::DisposeObject(FS);
        FileSystem = nullptr;
        delete OSSystem;
        OSSystem = nullptr;
        EngineTest::TearDown();
    }
    // Builds the tree from Data/ as the program does at start-up.
    tVirtualFileSystem& Mapped() {
        if (!FS) {
            FS = NewObject<tVirtualFileSystem>();
            FileSystem = FS;
            FS->SetRootDir("Data\\");
        }
        return *FS;
    }
    std::string Log() const { return ReadWholeFile(Work.Path() / "engine.log"); }

    tVirtualFileSystem* FS = nullptr;
};
