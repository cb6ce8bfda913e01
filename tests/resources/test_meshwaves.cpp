// Meshes and waveforms from the resources manager: meshes shared per name and
// size and handed out as replicas, waveforms made by the audio subsystem.

#include <gtest/gtest.h>

#include <cstring>

#include "common/scriptenv.h"
#include "kernel/core/byteorder.h"
#include "kernel/null/nullaudio.h"
#include "kernel/platform/timer.h"
#include "kernel/resources/resourcekinds.h"
#include "kernel/resources/resourcesmanager.h"

namespace {

// A mesh that remembers its size; replicas count as copies of it.
class tSizedMesh : public tMeshResource {
    Z_DECLARE_CLASS(tSizedMesh, tMeshResource)
public:
    tSizedMesh* Replicate() override {
        auto* Copy = NewObject<tSizedMesh>();
        Copy->SetBindedFileName(GetFileName());
        Copy->Size = Size;
        Copy->Source = this;
        return Copy;
    }
    float ResizedDimension() override { return Size; }
    void RenderSubMeshes() override {}
    void AddSubMesh(tSubMesh*) override {}
    void Resize(float NewSize) override { Size = NewSize; }
    float Size = 0;
    tSizedMesh* Source = nullptr;
};

class MeshesAndWavesTest : public ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        WriteData("StdConfig\\engine.ini",
                  "[Engine]\nTimer=tWinTimer\nRunsCount=0\n[ResourcesCache]\nWaveformsCachingDir=Cache\\Waves\n"
                  "MeshesCachingDir=Cache\\Meshes\\\n");
        WriteData("Sounds\\Lost.wav", Wave());
        MapData();
        Manager = NewObject<tZResourcesManager>();
        Resources = Manager;
    }
    void DisposeServices() override {
        if (Manager) tZObject::DisposeObject(Manager);
        Resources = nullptr;
        ScriptTest::DisposeServices();
    }
    static std::string Wave() {
        uint8_t H[44] = {};
        std::memcpy(H, "RIFF", 4);
        std::memcpy(H + 8, "WAVEfmt ", 8);
        WriteLE<uint32_t>(H + 16, 16);
        WriteLE<uint16_t>(H + 20, 1);
        WriteLE<uint16_t>(H + 22, 1);
        WriteLE<uint32_t>(H + 24, 8000);
        WriteLE<uint16_t>(H + 34, 8);
        std::memcpy(H + 36, "data", 4);
        WriteLE<uint32_t>(H + 40, 4);
        return std::string(reinterpret_cast<char*>(H), sizeof H) + "abcd";
    }

    tZResourcesManager* Manager = nullptr;
};

}  // namespace

Z_IMPLEMENT_CLASS(tSizedMesh,
                  .Operations = {{"Replicate"}, {"ResizedDimension"}, {"RenderSubMeshes"}, {"AddSubMesh"}, {"Resize"}})

TEST_F(MeshesAndWavesTest, MeshRequestsGetReplicasOfOneSharedMeshPerSize) {
    // The shared mesh of size 10, as a first request would have left it.
    auto* Shared = NewObject<tSizedMesh>();
    Shared->SetBindedFileName("MESHES\\PLANE.ASE");
    Shared->Resize(10);
    Manager->Resources.AddItem(Shared->AllocateListItem());
    EXPECT_EQ(Shared->GetCachedFileName(), "Cache\\Meshes\\MESHES_PLANE.ASE.cached");
    ShortString Name = "Meshes/Plane:1.ase";
    Manager->ConvertName(Name);
    EXPECT_EQ(Name, "Meshes_Plane~1.ase");

    auto* A = dynamic_cast<tSizedMesh*>(Manager->LoadMesh("meshes\\plane.ASE", 10));
    auto* B = dynamic_cast<tSizedMesh*>(Manager->LoadMesh("Meshes\\Plane.ase", 10));
    ASSERT_NE(A, nullptr);
    ASSERT_NE(B, nullptr);
    EXPECT_NE(A, B);
    EXPECT_EQ(A->Source, Shared);
    EXPECT_EQ(B->Source, Shared);
    EXPECT_EQ(A->GetFileName(), "MESHES\\PLANE.ASE");
    EXPECT_EQ(A->Size, 10);
    // Replicas belong to the caller and are in no list.
    EXPECT_EQ(Manager->Resources.GetTotalItems(), 1);
    EXPECT_FALSE(Manager->Resources.IsItemOnList(A));
    tZObject::DisposeObject(A);
    tZObject::DisposeObject(B);

    // Another size is another shared mesh, made by the render device.
    EXPECT_EXIT(Manager->LoadMesh("Meshes\\Plane.ase", 20), ::testing::ExitedWithCode(255),
                "Render device isn't assigned");
    EXPECT_EXIT(Manager->LoadMesh("Meshes\\Plane.ase", -1), ::testing::ExitedWithCode(255),
                "Only positive size meshes allowed");
}

TEST_F(MeshesAndWavesTest, WaveformsComeFromTheAudioSubsystemAndAreShared) {
    EXPECT_EXIT(Manager->LoadWaveform("Sounds\\Lost.wav"), ::testing::ExitedWithCode(255),
                "Audio subsystem isn't assigned");
    Engine->Audio = NewObject<tNullAudioSubSystem>();
    tWaveformResource* Lost = Manager->LoadWaveform("Sounds\\Lost.wav");
    EXPECT_NE(dynamic_cast<tNullWaveformResource*>(Lost), nullptr);
    EXPECT_EQ(Lost->GetFileName(), "SOUNDS\\LOST.WAV");
    EXPECT_EQ(Lost->GetBufferID(), 0u);
    EXPECT_FALSE(Lost->Loading);
    EXPECT_EQ(Manager->LoadWaveform("SOUNDS\\lost.WAV"), Lost);
    EXPECT_EQ(Lost->GetCachedFileName(), "Cache\\Waves\\SOUNDS_LOST.WAV.cached");
    tZObject::DisposeObject(Engine->Audio);
}
