// The resources manager: one loaded object per name, the purged list, and
// cache files counted as current by their dates.

#include <gtest/gtest.h>

#include <filesystem>

#include "kernel/objects/registry.h"
#include "kernel/resources/resourcekinds.h"
#include "kernel/resources/resourcesmanager.h"
#include "kernel/vfs/inifile.h"
#include "vfs/vfsfixture.h"

namespace {

// A shader that only counts how often it was loaded.
class tCountingShader : public tShaderResource {
    Z_DECLARE_CLASS(tCountingShader, tShaderResource)
public:
    void AcceptParameter(const ShortString&, const ShortString&) override {}
    void EndLoad() override {
        tShaderResource::EndLoad();
        ++Loads;
    }
    void SetState() override {}
    void UpdateState(tShaderResource*) override {}
    void RestoreMatrices() override {}
    void AttachTextureMatrix(int32_t, const TMatrix4&) override {}
    int Loads = 0;
};

class ResourcesManagerTest : public VFSTest {
protected:
    void SetUp() override {
        VFSTest::SetUp();
        Work.WriteFile("Data/StdConfig/engine.ini", "[ResourcesCache]\nShadersCachingDir=Cache\\Shaders\n");
        Work.WriteFile("Data/Shaders/Sky.shader", "!!ZSS1.1\r\nSurfaceShader\r\n{\r\n}\r\n");
        Work.WriteFile("Data/Shaders/Sea.shader", "!!ZSS1.1\r\nSurfaceShader\r\n{\r\n}\r\n");
        Mapped();
        Linker = NewObject<tObjectsLinker>();
        Linker->RegisterClasses();
        EngineINI = new tZINIFile("StdConfig\\engine.ini");
        Manager = NewObject<tZResourcesManager>();
        Resources = Manager;
    }
    void TearDown() override {
        tZObject::DisposeObject(Manager);
        Resources = nullptr;
        delete EngineINI;
        EngineINI = nullptr;
        tZObject::DisposeObject(Linker);
        VFSTest::TearDown();
    }
    tCountingShader* Feed(const char* Name) {
        tResource* R = Manager->FeedResource(Manager->Resources.FindResource(Name), Name,
                                             [](const ShortString&) { return NewObject<tCountingShader>(); });
        return static_cast<tCountingShader*>(R);
    }
    void SetFileTime(const std::string& Path, int Seconds) {
        const auto Base = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 365);
        std::filesystem::last_write_time(Work.Path() / Path, Base + std::chrono::seconds(Seconds));
    }

    tZResourcesManager* Manager = nullptr;
};

}  // namespace

Z_IMPLEMENT_CLASS(tCountingShader)

TEST_F(ResourcesManagerTest, RequestsInAnyCaseShareTheOneLoadedResource) {
    tCountingShader* Sky = Feed("Shaders\\Sky.shader");
    EXPECT_EQ(Sky->Loads, 1);
    EXPECT_EQ(Sky->GetFileName(), ShortString("SHADERS\\SKY.SHADER"));
    EXPECT_EQ(Manager->LoadShader("SHADERS\\sky.SHADER"), Sky);
    EXPECT_EQ(Feed("shaders\\sky.shader"), Sky);
    EXPECT_EQ(Sky->Loads, 1);
    EXPECT_EQ(Manager->Resources.GetTotalItems(), 1);
    // Loading created the caching directory.
    EXPECT_TRUE(std::filesystem::is_directory(Work.Path() / "Data/Cache/Shaders"));
}

TEST_F(ResourcesManagerTest, PurgedResourcesComeBackOnTheirFirstUse) {
    tCountingShader* Sky = Feed("Shaders\\Sky.shader");
    tCountingShader* Sea = Feed("Shaders\\Sea.shader");
    Sky->Purge();
    Sky->Purge();  // once only
    EXPECT_EQ(Manager->Purged.GetTotalItems(), 1);
    // Requests by name see only the active list.
    EXPECT_EQ(Manager->Resources.FindResource("Shaders\\Sky.shader"), nullptr);
    EXPECT_FALSE(Sky->RequestUsage());
    EXPECT_TRUE(Sky->RequestUsage());
    EXPECT_EQ(Manager->Purged.GetTotalItems(), 0);
    EXPECT_EQ(Sky->Loads, 1);  // its data stayed

    // Unused for longer than the age given: the older one goes.
    Sky->LastUsedTimeStamp = -10;
    Sea->LastUsedTimeStamp = -1;
    Manager->PurgeEverything(5);
    EXPECT_TRUE(Sky->Purged);
    EXPECT_FALSE(Sea->Purged);
    Manager->PurgeEverything(0);
    EXPECT_TRUE(Sea->Purged);
    Manager->PurgeEverything(0);  // nothing active: nothing to do
    EXPECT_EQ(Manager->Purged.GetTotalItems(), 2);
}

TEST_F(ResourcesManagerTest, CacheFilesCountWhenNotOlderThanTheirSource) {
    auto* Shader = NewObject<tCountingShader>();
    Shader->FileName = "SHADERS\\SKY.SHADER";
    EXPECT_FALSE(Shader->IsCached());
    const std::string Cache = "Data/Cache/Shaders/SHADERS_SKY.SHADER.cached";
    Work.WriteFile(Cache, "");
    SetFileTime("Data/Shaders/Sky.shader", 100);
    SetFileTime(Cache, 100);
    tZObject::DisposeObject(FS);
    Mapped();
    EXPECT_TRUE(Shader->IsCached());
    SetFileTime("Data/Shaders/Sky.shader", 200);
    tZObject::DisposeObject(FS);
    Mapped();
    EXPECT_FALSE(Shader->IsCached());
    Shader->FileName = "SHADERS\\GONE.SHADER";
    Work.WriteFile("Data/Cache/Shaders/SHADERS_GONE.SHADER.cached", "");
    tZObject::DisposeObject(FS);
    Mapped();
    EXPECT_TRUE(Shader->IsCached());
    tZObject::DisposeObject(Shader);
}

TEST_F(ResourcesManagerTest, MisuseEndsTheProgram) {
    auto* Unnamed = NewObject<tCountingShader>();
    EXPECT_EXIT(Unnamed->RequestUsage(), ::testing::ExitedWithCode(255), "Resource wasn't properly initialized");
    tZObject::DisposeObject(Unnamed);
    EXPECT_EXIT(Manager->LoadMesh("Meshes\\Plane.ase", 0), ::testing::ExitedWithCode(255),
                "Only positive size meshes allowed");
}
