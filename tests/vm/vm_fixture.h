#pragma once
// A machine on a program block of a given size, inside the engine's test
// environment (log, warnings, temporary working directory).

#include "common/testenv.h"
#include "vm/vmasm.h"

class VMTest : public EngineTest {
protected:
    explicit VMTest(int32_t BlockSize) : Prog(BlockSize) {}

    void SetUp() override {
        EngineTest::SetUp();
        Machine = NewObject<tVMThread>();
    }
    void TearDown() override {
        tZObject::DisposeObject(Machine);
        EngineTest::TearDown();
    }

    // Loads the program, runs it from record 0 and returns the stack, bottom first.
    std::vector<double> Run(int32_t Budget = 1000) {
        Prog.Load(*Machine);
        Machine->Execute(0, Budget);
        return Prog.Stack(*Machine);
    }

    VMProgram Prog;
    tVMThread* Machine = nullptr;
};
