// Native method descriptions: symbol names split into their parts, slots of a
// registered class's virtual-method table, structure descriptions.

#include "common/testenv.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/objects/registry.h"
#include "kernel/vm/nativefields.h"
#include "kernel/vm/nativemethod.h"
#include "kernel/vm/vmthread.h"

namespace {

// A small family with its own virtual operations: tScriptTarget leaves Render
// open, tScriptPlane implements it.
class tScriptTarget : public tZObject {
    Z_DECLARE_CLASS(tScriptTarget, tZObject)
public:
    virtual void Think() {}
    virtual void Render() = 0;
};

class tScriptPlane : public tScriptTarget {
    Z_DECLARE_CLASS(tScriptPlane, tScriptTarget)
public:
    void Render() override {}
};

class tTestIntField : public tNativeField {
    Z_DECLARE_CLASS(tTestIntField, tNativeField)
public:
    void* GetFieldPtr() override { return &Value; }
    int32_t GetFieldSize() override { return sizeof Value; }
    tNativeType GetFieldType() override { return NT_LONGINT; }
    int32_t Value = 7;
};

class tTestRecord : public tNativeStruct {
    Z_DECLARE_CLASS(tTestRecord, tNativeStruct)
public:
    void* GetFieldPtr() override { return this; }
    int32_t GetFieldSize() override { return 0; }
};

}  // namespace

Z_IMPLEMENT_CLASS(tScriptTarget, .Operations = {{"Think"}, {"Render", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tScriptPlane, .Operations = {{"Render"}})
Z_IMPLEMENT_CLASS(tTestIntField, .Operations = {{"GetFieldPtr"}, {"GetFieldSize"}, {"GetFieldType"}})
Z_IMPLEMENT_CLASS(tTestRecord, .Operations = {{"GetFieldPtr"}, {"GetFieldSize"}})

namespace {

TEST(NativeMethodNames, GetTokenToSepSplitsAtTheFirstSeparator) {
    ShortString s = "alpha$$beta$$gamma";
    EXPECT_EQ(GetTokenToSep("$$", s), "alpha");
    EXPECT_EQ(s, "beta$$gamma");
    EXPECT_EQ(GetTokenToSep("$$", s), "beta");
    EXPECT_EQ(GetTokenToSep("$$", s), "gamma");
    EXPECT_EQ(s, "");

    s = "trail$";
    EXPECT_EQ(GetTokenToSep("$", s), "trail");
    EXPECT_EQ(s, "");
}

TEST(NativeMethodNames, UndecorateNameFillsModuleClassAndMethod) {
    tNativeMethod m;
    m.UndecorateName("ENGINE$$_$$_tAirplaneActor_$$_Fire$qqrv");
    EXPECT_EQ(m.ModuleNameStr, "ENGINE");
    EXPECT_EQ(m.ClassNameStr, "tAirplaneActor");
    EXPECT_EQ(m.MethodNameStr, "Fire");

    // Without a class part the class name is empty and the method follows the module.
    m.UndecorateName("ENGINE$$StartUp$qqrv");
    EXPECT_EQ(m.ModuleNameStr, "ENGINE");
    EXPECT_EQ(m.ClassNameStr, "");
    EXPECT_EQ(m.MethodNameStr, "StartUp");

    // A plain name is all module.
    m.UndecorateName("JustAName");
    EXPECT_EQ(m.ModuleNameStr, "JustAName");
    EXPECT_EQ(m.ClassNameStr, "");
    EXPECT_EQ(m.MethodNameStr, "");

    m.UndecorateName("M$$_$$_tFoo");
    EXPECT_EQ(m.ClassNameStr, "tFoo");
    EXPECT_EQ(m.MethodNameStr, "");
}

class NativeMethodVMTTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Linker = NewObject<tObjectsLinker>();
        Linker->AddClass(tZObject::StaticClass());
        Linker->AddClass(tVMThread::StaticClass());
        Linker->AddClass(tScriptTarget::StaticClass());
        Linker->AddClass(tScriptPlane::StaticClass());
    }
    void TearDown() override {
        tZObject::DisposeObject(Linker);
        EngineTest::TearDown();
    }

    // The operation a method named like Symbol finds in slot Index.
    const tVirtualOp* Lookup(const ShortString& Symbol, int32_t Index) {
        Method.UndecorateName(Symbol);
        Method.SetVMTIndex(Index);
        EXPECT_EQ(Method.VMTIndex, Index);
        return Method.MethodAddr;
    }

    tNativeMethod Method;
};

TEST_F(NativeMethodVMTTest, SlotsCountFromTheRootAndFollowOverrides) {
    EXPECT_STREQ(Lookup("M$$_$$_tZObject_$$_Init$", 8)->Name, "Init");
    EXPECT_STREQ(Lookup("M$$_$$_tzobject_$$_Instanciated$", 16)->Name, "Instanciated");
    // A class that adds no operation of its own shares its parent's table.
    EXPECT_STREQ(Lookup("M$$_$$_tVMThread_$$_Init$", 8)->Name, "Init");

    const tVirtualOp* think = Lookup("M$$_$$_tScriptTarget_$$_Think$", 17);
    EXPECT_STREQ(think->Name, "Think");
    EXPECT_EQ(Lookup("M$$_$$_tScriptPlane_$$_Think$", 17), think);

    // The open slot of the parent is the descendant's implementation in the child.
    const tVirtualOp* open = Lookup("M$$_$$_tScriptTarget_$$_Render$", 18);
    const tVirtualOp* done = Lookup("M$$_$$_tScriptPlane_$$_Render$", 18);
    EXPECT_STREQ(done->Name, "Render");
    EXPECT_TRUE(open->Abstract);
    EXPECT_FALSE(done->Abstract);
}

TEST_F(NativeMethodVMTTest, UnknownClassOrSlotIsFatal) {
    EXPECT_EXIT(Lookup("M$$_$$_tNowhere_$$_Fly$", 8), ::testing::ExitedWithCode(255),
                "Unable to find class: tNowhere");
    EXPECT_EXIT(Lookup("M$$_$$_tScriptPlane_$$_Fly$", 19), ::testing::ExitedWithCode(255),
                "Virtual-method index 19 is outside the table of class TSCRIPTPLANE \\(8..18\\)");
    EXPECT_EXIT(Lookup("M$$_$$_tScriptPlane_$$_Fly$", 7), ::testing::ExitedWithCode(255),
                "Virtual-method index 7 is outside the table of class TSCRIPTPLANE");
    EXPECT_EXIT(Lookup("M$$_$$_tScriptPlane_$$_Fly$", -1), ::testing::ExitedWithCode(255),
                "Virtual-method index -1 is outside");
}

using NativeStructTest = EngineTest;

TEST_F(NativeStructTest, HoldsAFieldsListNotItsFields) {
    EXPECT_TRUE(tZObject::IsAbstractClass(tNativeStruct::StaticClass()));
    EXPECT_NE(ReadWholeFile("engine.log").find("Class TNATIVESTRUCT has an abstract entry at 17"), std::string::npos);
    EXPECT_FALSE(tZObject::IsAbstractClass(tTestRecord::StaticClass()));

    tTestRecord* record = NewObject<tTestRecord>();
    EXPECT_EQ(record->GetFieldType(), NT_STRUCT);
    EXPECT_EQ(record->Fields, nullptr);

    tTestIntField* field = NewObject<tTestIntField>();
    record->Fields = std::make_unique<tNativeFieldsList>();
    record->Fields->AddItem(field->AllocateListItem());
    ASSERT_EQ(record->Fields->GetTotalItems(), 1);
    auto* first = static_cast<tNativeField*>(record->Fields->GetObject(1));
    EXPECT_EQ(first->GetFieldType(), NT_LONGINT);
    EXPECT_EQ(*static_cast<int32_t*>(first->GetFieldPtr()), 7);

    // Disposing the structure frees its list; the field lives on.
    tZObject::DisposeObject(record);
    EXPECT_EQ(field->Value, 7);
    tZObject::DisposeObject(field);
}

}  // namespace
