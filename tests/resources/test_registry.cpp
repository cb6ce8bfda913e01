#include <gtest/gtest.h>

#include "kernel/core/logger.h"
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
    EXPECT_EXIT(
        {
            tZObject* Victim = NewObject<tTestPlane>();
            delete Victim;
        },
        ::testing::ExitedWithCode(255), "");
}
