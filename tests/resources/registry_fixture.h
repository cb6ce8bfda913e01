#pragma once
// A registry (Linker) on top of the logger and warning output, plus a small
// family of classes to register: tTestLoader is abstract (its FileExtension is
// open), tTestBMPLoader and tTestTGALoader answer extensions, tTestActor takes
// creation parameters.

#include "common/testenv.h"
#include "kernel/core/globals.h"
#include "kernel/objects/registry.h"

class tTestLoader : public tZObject {
    Z_DECLARE_CLASS(tTestLoader, tZObject)
public:
    virtual void Load() = 0;
};

class tTestBMPLoader : public tTestLoader {
    Z_DECLARE_CLASS(tTestBMPLoader, tTestLoader)
public:
    static ShortString FileExtension() { return ".bmp"; }
    void Load() override {}
};

class tTestTGALoader : public tTestBMPLoader {
    Z_DECLARE_CLASS(tTestTGALoader, tTestBMPLoader)
public:
    static ShortString FileExtension() { return ".TGA"; }
};

class tTestActor : public tZObject {
    Z_DECLARE_CLASS(tTestActor, tZObject)
public:
    tTestActor() = default;
    explicit tTestActor(const ShortString& P) : tZObject(P), Params(P) {}
    // Disposes Victim when set, as a published method may.
    void PostInit() {
        ++PostInits;
        if (Victim) tZObject::DisposeObject(Victim);
    }
    ShortString Params;
    int PostInits = 0;
    inline static tZObject* Victim = nullptr;
};

class tTestPlane : public tTestActor {
    Z_DECLARE_CLASS(tTestPlane, tTestActor)
public:
    using tTestActor::tTestActor;
    void BeginPlay() { ++BeginPlays; }
    int BeginPlays = 0;
};

class RegistryTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Linker = NewObject<tObjectsLinker>();
    }
    void TearDown() override {
        tZObject::DisposeObject(Linker);
        EngineTest::TearDown();
    }
    // Registers the test family in a fixed order.
    void RegisterTestClasses() {
        Linker->AddClass(tZObject::StaticClass());
        Linker->AddClass(tTestLoader::StaticClass());
        Linker->AddClass(tTestBMPLoader::StaticClass());
        Linker->AddClass(tTestTGALoader::StaticClass());
        Linker->AddClass(tTestActor::StaticClass(CT_SpawnableConstructor));
        Linker->AddClass(tTestPlane::StaticClass(CT_SpawnableConstructor));
    }
};
