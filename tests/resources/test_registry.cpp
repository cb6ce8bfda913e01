#include <gtest/gtest.h>
#include <unistd.h>

#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "resources/registry_fixture.h"

Z_IMPLEMENT_CLASS(tTestLoader, .Operations = {{"FileExtension", ZOP_ABSTRACT}, {"Load", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tTestBMPLoader, .Operations = {{"FileExtension"}, {"Load"}})
Z_IMPLEMENT_CLASS(tTestTGALoader)
Z_IMPLEMENT_CLASS(tTestActor, .Published = {ZPublished<&tTestActor::PostInit>("PostInit")})
Z_IMPLEMENT_CLASS(tTestPlane, .Published = {ZPublished<&tTestPlane::BeginPlay>("BeginPlay")})

TEST_F(RegistryTest, FindClassIgnoresCaseAndStoresUpperCase) {
    RegisterTestClasses();
    EXPECT_EQ(Linker->ActiveClasses(), 6);
    tZClass A, B;
    ASSERT_TRUE(Linker->FindClass("ttestactor", A));
    ASSERT_TRUE(Linker->FindClass("TTESTACTOR", B));
    EXPECT_EQ(A.StaticClass, B.StaticClass);
    EXPECT_EQ(A.ClassName, "TTESTACTOR");
    EXPECT_EQ(A.ExpandsClass, "TZOBJECT");
    EXPECT_EQ(A.ClassConstructor, CT_SpawnableConstructor);
    EXPECT_EQ(A.PackageName, "Core");
    EXPECT_EQ(A.VersionNeeded, "0.4.58");
    EXPECT_EQ(A.CompilationDate, "2006/05/08 14:00:45");
    tZClass Root;
    ASSERT_TRUE(Linker->FindClass("tZObject", Root));
    EXPECT_EQ(Root.ExpandsClass, "");
    EXPECT_FALSE(Linker->FindClass("tNoSuchClass", A));
}

TEST_F(RegistryTest, InstantiateByConstructorKind) {
    RegisterTestClasses();
    auto* Spawned = static_cast<tTestActor*>(Linker->InstantiateClassByName("tTestPlane", "64 64 200"));
    EXPECT_EQ(Spawned->ClassName(), "TTESTPLANE");
    EXPECT_EQ(Spawned->Params, "64 64 200");
    EXPECT_EQ(Spawned->ObjectFlags, uint32_t(OBJ_Instanciated));
    EXPECT_TRUE(Spawned->DynamicCast("tTestActor"));
    EXPECT_TRUE(Spawned->DynamicCast(ShortString("TZOBJECT")));
    EXPECT_FALSE(Spawned->DynamicCast("tTestLoader"));

    // The plain kind ignores the parameters.
    auto* Plain = static_cast<tTestActor*>(tZObject::Instantiate(tTestActor::StaticClass(), "ignored"));
    EXPECT_EQ(Plain->Params, "");

    EXPECT_EQ(Linker->ObjectsGraph().GetTotalItems(), 2);
    tZObject::DisposeObject(Spawned);
    EXPECT_EQ(Spawned, nullptr);
    EXPECT_EQ(Linker->ObjectsGraph().GetTotalItems(), 1);
    tZObject::DisposeObject(Plain);
}

TEST_F(RegistryTest, AbstractClassIsRefusedWithItsSlot) {
    RegisterTestClasses();
    EXPECT_EXIT(
        {
            Linker->InstantiateClassByName("tTestLoader", "");
        },
        ::testing::ExitedWithCode(255), "Class is abstract: TTESTLOADER");
    EXPECT_TRUE(tZObject::IsAbstractClass(tTestLoader::StaticClass()));
    EXPECT_FALSE(tZObject::IsAbstractClass(tTestBMPLoader::StaticClass()));
    EXPECT_NE(ReadWholeFile("engine.log").find("Class TTESTLOADER has an abstract entry at 17"), std::string::npos);
}

TEST_F(RegistryTest, UnknownClassIsFatal) {
    EXPECT_EXIT(Linker->InstantiateClassByName("tNowhere", ""), ::testing::ExitedWithCode(255),
                "Unable to instantiate class: class not found: TNOWHERE");
}

TEST_F(RegistryTest, DuplicateBuiltInClassIsFatal) {
    RegisterTestClasses();
    EXPECT_EXIT(Linker->AddClass(tTestActor::StaticClass()), ::testing::ExitedWithCode(255),
                "Unable to register class: duplicate name: TTESTACTOR");
}

TEST_F(RegistryTest, DisposeTwiceAndDirectDeleteAreFatal) {
    tZObject* Obj = NewObject<tTestActor>();
    tZObject* Copy = Obj;
    tZObject::DisposeObject(Obj);
    EXPECT_EXIT(tZObject::DisposeObject(Copy), ::testing::ExitedWithCode(255),
                "destructor of this object has been called already: TTESTACTOR");
    EXPECT_EXIT(tZObject::DisposeObject(Obj), ::testing::ExitedWithCode(255),
                "tZObject.DisposeObject: unable to dispose NIL object");
    // The misuse report goes to standard output; the death test reads standard error.
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            tZObject* Victim = NewObject<tTestPlane>();
            delete Victim;
        },
        ::testing::ExitedWithCode(255), "TTESTPLANE: Use DisposeObject\\(\\) instead of Dispose\\(\\)");
}

namespace {

// A record as a package hands it in.
tZClass PackageRecord(const char* Name, tStaticClass* Class, bool Patch, const char* Date) {
    tZClass C = MakeStaticClass(Class, CT_ClassConstructor);
    C.ClassName = Name;
    C.Patch = Patch;
    C.CompilationDate = Date;
    C.PackageID = reinterpret_cast<void*>(0x1000);
    C.PackageName = "Extra.so";
    return C;
}

}  // namespace

TEST_F(RegistryTest, PatchReplacesBuiltInClassInPlace) {
    RegisterTestClasses();
    Linker->AddClass(PackageRecord("tTestActor", &tTestPlane::ClassInfo, true, "2006/05/08 14:00:45"));
    EXPECT_EQ(Linker->ActiveClasses(), 6);
    const tZClass& R = Linker->GetClassRecord(5);
    EXPECT_EQ(R.ClassName, "TTESTACTOR");
    EXPECT_TRUE(R.Patch);
    EXPECT_EQ(R.PackageName, "Extra.so");
    EXPECT_EQ(R.StaticClass, &tTestPlane::ClassInfo);
    EXPECT_EQ(R.ExpandsClass, "TTESTACTOR");
    // A second patch of the same class is refused.
    EXPECT_EXIT(Linker->AddClass(PackageRecord("TTESTACTOR", &tTestPlane::ClassInfo, true, "2007/01/01 00:00:00")),
                ::testing::ExitedWithCode(255), "Unable to register class: duplicate name: TTESTACTOR");
}

TEST_F(RegistryTest, PatchRulesAreFatal) {
    RegisterTestClasses();
    EXPECT_EXIT(Linker->AddClass(PackageRecord("tTestPlane", &tTestPlane::ClassInfo, false, "2007/01/01 00:00:00")),
                ::testing::ExitedWithCode(255), "Unable to register class: duplicate name: TTESTPLANE");
    tZClass FromCore = PackageRecord("tTestPlane", &tTestPlane::ClassInfo, true, "2007/01/01 00:00:00");
    FromCore.PackageID = nullptr;
    EXPECT_EXIT(Linker->AddClass(FromCore), ::testing::ExitedWithCode(255),
                "Unable to use patch from CORE_PACKAGE for class: duplicate name: TTESTPLANE");
    EXPECT_EXIT(Linker->AddClass(PackageRecord("tTestPlane", &tTestPlane::ClassInfo, true, "2006/05/08 14:00:44")),
                ::testing::ExitedWithCode(255), "Patch for class TTESTPLANE is older than CORE_PACKAGE class");
}

TEST_F(RegistryTest, RemoveClassMovesTheLastRecord) {
    RegisterTestClasses();
    Linker->RemoveClass(Linker->GetClassRecord(2));
    EXPECT_EQ(Linker->ActiveClasses(), 5);
    EXPECT_EQ(Linker->GetClassRecord(2).ClassName, "TTESTPLANE");
    EXPECT_EQ(Linker->GetClassRecord(5).ClassName, "TTESTACTOR");
    tZClass Gone;
    EXPECT_FALSE(Linker->FindClass("tTestLoader", Gone));
    EXPECT_EXIT(Linker->RemoveClass(tTestLoader::StaticClass()), ::testing::ExitedWithCode(255),
                "Class not found: TTESTLOADER");
}

TEST_F(RegistryTest, TableHoldsAtMostMaxClasses) {
    tZClass C = tTestActor::StaticClass();
    for (int I = 0; I < tObjectsLinker::MAX_CLASSES; ++I) {
        C.ClassName = "tClass" + Int2Str(I);
        Linker->AddClass(C);
    }
    EXPECT_EQ(Linker->ActiveClasses(), 1000);
    C.ClassName = "tOneTooMany";
    EXPECT_EXIT(Linker->AddClass(C), ::testing::ExitedWithCode(255),
                "Unable to register class: ActiveClasses>MAX_CLASSES");
}

TEST_F(RegistryTest, VersionChecks) {
    RegisterTestClasses();
    auto Needing = [](const char* Version) {
        tZClass C = PackageRecord("TTESTPLANE", &tTestPlane::ClassInfo, false, "2007/01/01 00:00:00");
        C.VersionNeeded = Version;
        return C;
    };
    EXPECT_TRUE(Linker->IsClassValid(Needing("0.4.58")));
    EXPECT_TRUE(Linker->IsClassValid(Needing("0.3.58")));
    EXPECT_TRUE(Linker->IsClassValid(Needing("0.4.57")));
    EXPECT_FALSE(Linker->IsClassValid(tTestLoader::StaticClass()));
    for (const char* Old : {"0.2.58", "0.4.56"})
        EXPECT_EXIT(Linker->IsClassValid(Needing(Old)), ::testing::ExitedWithCode(255),
                    "Class \"TTESTPLANE\" seems to be compiled for older engine version \\(" + std::string(Old) +
                        "\\). Recompile package: \"Extra.so\"");
    for (const char* New : {"0.4.59", "0.6.0"})
        EXPECT_EXIT(Linker->IsClassValid(Needing(New)), ::testing::ExitedWithCode(255),
                    "Class \"TTESTPLANE\" needs more recent engine version \\(" + std::string(New) + "\\)");
    EXPECT_EXIT(tZObject::Instantiate(Needing("0.5"), ""), ::testing::ExitedWithCode(255),
                "Class TTESTPLANE needs engine version: 0.5");
    // Versions compare as numbers: 0.4.6 is older than 0.4.58, not newer.
    tZObject* Older = tZObject::Instantiate(Needing("0.4.6"), "");
    tZObject::DisposeObject(Older);
    EXPECT_EXIT(Linker->IsClassValid(Needing("0.4.6")), ::testing::ExitedWithCode(255),
                "seems to be compiled for older engine version \\(0.4.6\\)");
    tZClass Bad = tTestActor::StaticClass();
    Bad.ClassConstructor = static_cast<tConstructorType>(7);
    EXPECT_EXIT(tZObject::Instantiate(Bad, ""), ::testing::ExitedWithCode(255), "Invalid constructor type");
}

TEST_F(RegistryTest, InterfacesAndFileLoaders) {
    RegisterTestClasses();
    tZClass C;
    int32_t I = 1;
    ASSERT_TRUE(Linker->FindInterface("ttestbmploader", I, C));
    EXPECT_EQ(I, 3);
    I += 1;
    ASSERT_TRUE(Linker->FindInterface("tTestBMPLoader", I, C));
    EXPECT_EQ(C.ClassName, "TTESTTGALOADER");
    I += 1;
    EXPECT_FALSE(Linker->FindInterface("tTestBMPLoader", I, C));

    // The abstract family head is skipped; the extension is compared in upper case.
    ASSERT_TRUE(Linker->FindFileLoader("tTestLoader", "Textures\\Sky.Bmp", C));
    EXPECT_EQ(C.ClassName, "TTESTBMPLOADER");
    ASSERT_TRUE(Linker->FindFileLoader("tTestLoader", "shot.v2\\frame.tga", C));
    EXPECT_EQ(C.ClassName, "TTESTTGALOADER");
    EXPECT_EXIT(Linker->FindFileLoader("tTestLoader", "Sky.png", C), ::testing::ExitedWithCode(255),
                "Unable to find apropriate loader for: .PNG \\(Sky.png\\)");
    EXPECT_EXIT(Linker->FindFileLoader("tTestLoader", "shot.v2\\README", C), ::testing::ExitedWithCode(255),
                "Unable to find apropriate loader for:  \\(shot.v2.README\\)");
}

TEST_F(RegistryTest, PublishedMethodsReachEveryObjectThatHasThem) {
    RegisterTestClasses();
    auto* Actor = static_cast<tTestActor*>(Linker->InstantiateClassByName("tTestActor", ""));
    tZObject* Plain = NewObject<tZObject>();
    auto* Plane = static_cast<tTestPlane*>(Linker->InstantiateClassByName("tTestPlane", ""));
    // The first published call disposes an object later in the graph.
    tTestActor::Victim = Plane;
    Linker->BroadcastEngineInit();
    tTestActor::Victim = nullptr;
    EXPECT_EQ(Actor->PostInits, 1);
    EXPECT_EQ(Linker->ObjectsGraph().GetTotalItems(), 2);

    Plane = static_cast<tTestPlane*>(Linker->InstantiateClassByName("tTestPlane", ""));
    Linker->BroadcastBeginPlay();
    Linker->CallMethodForAllObjects("postinit");
    EXPECT_EQ(Plane->BeginPlays, 1);
    EXPECT_EQ(Plane->PostInits, 1);  // inherited from tTestActor
    EXPECT_EQ(Actor->PostInits, 2);
    std::string Log = ReadWholeFile("engine.log");
    EXPECT_NE(Log.find("Found BeginPlay() in TTESTPLANE"), std::string::npos);
    EXPECT_NE(Log.find("Found postinit() in TTESTACTOR"), std::string::npos);
    tZObject::DisposeObject(Actor);
    tZObject::DisposeObject(Plain);
    tZObject::DisposeObject(Plane);
}

TEST_F(RegistryTest, ObjectsGraphAndFindObject) {
    tZObject* A = NewObject<tTestActor>();
    tZObject* B = NewObject<tTestPlane>("x");
    EXPECT_EQ(A->ObjectFlags, uint32_t(0));
    EXPECT_LT(A->FGUID, B->FGUID);
    EXPECT_EQ(Linker->FindObject(B->FGUID), B);
    EXPECT_EQ(Linker->FindObject(B->FGUID + 1), nullptr);
    EXPECT_EQ(Linker->ObjectsGraph().GetObject(1), A);
    EXPECT_EQ(Linker->ObjectsGraph().GetObject(2), B);
    tZObject::DisposeObject(A);
    EXPECT_EQ(Linker->ObjectsGraph().GetObject(1), B);
    EXPECT_EQ(Linker->FindObject(B->FGUID), B);
    tZObject::DisposeObject(B);
}

TEST_F(RegistryTest, ShutdownReportsObjectsLeft) {
    tZObject* Leaked = NewObject<tTestPlane>();
    testing::internal::CaptureStdout();
    tZObject::DisposeObject(Linker);
    std::string Out = testing::internal::GetCapturedStdout();
    EXPECT_NE(Out.find("Objects left: 1\nTTESTPLANE\n"), std::string::npos);
    tZObject::DisposeObject(Leaked);
    Linker = NewObject<tObjectsLinker>();
}
