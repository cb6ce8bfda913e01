#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <vector>

#pragma push_macro("EOF")
#undef EOF
#include "kernel/core/stream.h"
#pragma pop_macro("EOF")

#include "resources/registry_fixture.h"

namespace {

// Just enough of a stream to hold an object header in memory.
class tMemoryStream : public tStream {
public:
    void BlockRead_A(void* Buf, int32_t Count) override {
        int32_t Read = 0;
        BlockRead_B(Buf, Count, Read);
    }
    void BlockRead_B(void* Buf, int32_t Count, int32_t& Read) override {
        Read = std::max(0, std::min<int32_t>(Count, static_cast<int32_t>(Bytes.size()) - Pos));
        if (Read > 0) std::memcpy(Buf, Bytes.data() + Pos, Read);
        Pos += Read;
    }
    void Seek(int32_t P) override { Pos = P; }
    void ReadLine(ShortString&) override {}
    int32_t GetPosition() override { return Pos; }
    int32_t GetSize() override { return static_cast<int32_t>(Bytes.size()); }
#pragma push_macro("EOF")
#undef EOF
    bool EOF() override { return Pos >= GetSize(); }
#pragma pop_macro("EOF")
    ShortString GetIOErrorString(int32_t) override { return {}; }
    tParser* GetParser() override { return nullptr; }
    void WriteLine(const ShortString&) override {}
    void BlockWrite(const void* Buf, int32_t Count) override {
        auto* P = static_cast<const uint8_t*>(Buf);
        Bytes.insert(Bytes.end(), P, P + Count);
    }

    std::vector<uint8_t> Bytes;
    int32_t Pos = 0;
};

}  // namespace

TEST_F(RegistryTest, ObjectHeaderIsTwoBlocksOf256Bytes) {
    tZObject* Plane = NewObject<tTestPlane>();
    tMemoryStream S;
    Plane->SaveToStream(S);
    ASSERT_EQ(S.Bytes.size(), 512u);
    EXPECT_EQ(S.Bytes[0], 9);
    EXPECT_EQ(std::string(S.Bytes.begin() + 1, S.Bytes.begin() + 10), "Z-cluster");
    for (int I = 10; I < 256; ++I) ASSERT_EQ(S.Bytes[I], ' ') << I;
    EXPECT_EQ(S.Bytes[256], 10);
    EXPECT_EQ(std::string(S.Bytes.begin() + 257, S.Bytes.begin() + 267), "TTESTPLANE");
    for (int I = 267; I < 512; ++I) ASSERT_EQ(S.Bytes[I], 0) << I;

    tZObject* Copy = NewObject<tTestPlane>();
    Copy->LoadFromStream(S);
    EXPECT_EQ(S.Pos, 512);

    tZObject* Actor = NewObject<tTestActor>();
    S.Pos = 0;
    EXPECT_EXIT(Actor->LoadFromStream(S), ::testing::ExitedWithCode(255),
                "Invalid class name: got TTESTPLANE \\(expected: TTESTACTOR\\)");
    S.Bytes[5] = 'x';
    S.Pos = 0;
    EXPECT_EXIT(Copy->LoadFromStream(S), ::testing::ExitedWithCode(255),
                "Invalid stream format: unable to read cluster \\(TTESTPLANE\\)");
    tMemoryStream Empty;
    EXPECT_EXIT(Copy->LoadFromStream(Empty), ::testing::ExitedWithCode(255), "unable to read cluster");
    tZObject::DisposeObject(Plane);
    tZObject::DisposeObject(Copy);
    tZObject::DisposeObject(Actor);
}

TEST_F(RegistryTest, FlagsThroughTheLifeCycle) {
    // Built before the registry exists: an orphan that never joins the graph.
    tObjectsLinker* Registry = Linker;
    Linker = nullptr;
    tZObject* Orphan = NewObject<tTestActor>();
    Linker = Registry;
    EXPECT_EQ(Orphan->ObjectFlags, uint32_t(OBJ_Orphan));
    EXPECT_EQ(Orphan->GetObjectFlagsString(), "OBJ_Orphan");
    EXPECT_EQ(Linker->ObjectsGraph().GetTotalItems(), 0);
    EXPECT_EXIT(delete Linker->CreateProxy(Orphan), ::testing::ExitedWithCode(255),
                "tObjectProxy cann't find requested object on ObjectsGraph");
    tZObject::DisposeObject(Orphan);

    tZObject* Member = NewObject<tTestActor>();
    EXPECT_EQ(Member->GetObjectFlagsString(), "");
    EXPECT_EXIT(Member->Replicate(), ::testing::ExitedWithCode(255), "Replication isn't supported yet");
    tZObject::DisposeObject(Member);
}

TEST_F(RegistryTest, IdentifiersNeverRepeat) {
    std::vector<tZObject*> Objects;
    for (int I = 0; I < 100; ++I) Objects.push_back(NewObject<tZObject>());
    for (std::size_t I = 1; I < Objects.size(); ++I) ASSERT_LT(Objects[I - 1]->FGUID, Objects[I]->FGUID);
    for (tZObject*& Obj : Objects) tZObject::DisposeObject(Obj);
}

TEST_F(RegistryTest, ClassNamesFollowTheMostDerivedClass) {
    // Built without the registry's factories: the name is still right from the
    // first level of construction on.
    tZObject* Plane = new tTestPlane();
    EXPECT_EQ(Plane->ClassName(), "TTESTPLANE");
    EXPECT_EQ(Plane->GetClass()->Parent(), &tTestActor::ClassInfo);
    testing::internal::CaptureStdout();
    tZObject::DisposeObject(Plane);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "removing: TTESTPLANE   (OBJ_Destructed)\n");
}
