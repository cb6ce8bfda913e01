#include <gtest/gtest.h>

#include "kernel/loaders/scriptloaders.h"
#include "loaders/loaders_fixture.h"

namespace {

// Records every parameter and section of its script, and whether they came
// inside the load bracket; fatal on parameters it does not know.
template <class Kind>
class tScriptRecorder : public tTestResource<Kind> {
public:
    void AcceptParameter(const ShortString& Name, const ShortString& Value) override {
        if (Name == "UNKNOWN") this->UnknownToken(Name, Value);
        Calls.push_back((this->Loading ? "P " : "late P ") + Name.str() + "=" + Value.str());
    }
    void BeginSection(const ShortString& Name) override { Calls.push_back("B " + Name.str()); }
    std::vector<std::string> Calls;
};

class tTestShader : public tScriptRecorder<tShaderResource> {
    Z_DECLARE_CLASS(tTestShader, tShaderResource)
public:
    void SetState() override {}
    void UpdateState(tShaderResource*) override {}
    void RestoreMatrices() override {}
    void AttachTextureMatrix(int32_t, const TMatrix4&) override {}
};

}  // namespace

// The terrain's height-map resource as the ZHM loader asks the registry for it.
namespace zhmtest {
class tHeightMapResource : public tScriptRecorder<tResource> {
    Z_DECLARE_CLASS(tHeightMapResource, tResource)
public:
    ShortString GetLoaderName() override { return "tHeightMapLoader"; }
};
Z_IMPLEMENT_CLASS(tHeightMapResource, .Operations = {{"GetCachingDir"}, {"GetLoaderName"}})
}  // namespace zhmtest

Z_IMPLEMENT_CLASS(tTestShader)

using Calls = std::vector<std::string>;

TEST_F(LoaderTest, ShaderScriptsAreVisitedInsideTheLoadBracket) {
    auto* Shader = NewObject<tTestShader>();
    auto* Loader = LoaderFor<tLoader>("tShaderLoader", "Shaders\\Sky.Shader");
    EXPECT_EQ(Loader->ClassName(), "TZSSLOADER");
    EXPECT_FALSE(Loader->CanSave());
    Loader->Load(*Reader("!!ZSS1.1\r\nSurfaceShader\r\n{\r\n  Cull  none\r\n}\r\n", "Shaders/Sky.shader"), *Shader);
    EXPECT_EQ(Shader->Calls, (Calls{"P RESOURCETYPE=ZSS", "P RESOURCEVERSION=1.1", "B SURFACESHADER", "P CULL=none"}));
    EXPECT_FALSE(Shader->Loading);

    EXPECT_EXIT(Loader->Load(*Reader("SurfaceShader { }\r\n", "bad.shader"), *Shader), ::testing::ExitedWithCode(255),
                "Unable to parse XZML script !");
    EXPECT_EXIT(Loader->Load(*Reader("!!ZSS1.1\r\nS {\r\n unknown 1 2\r\n}\r\n", "u.shader"), *Shader),
                ::testing::ExitedWithCode(255), "Unknown token:\rParamName: \"UNKNOWN\"\rParamValue: \"1 2\"");
    // The load bracket cannot be opened twice or closed when it is not open.
    EXPECT_EXIT(
        {
            Shader->BeginLoad();
            Shader->BeginLoad();
        },
        ::testing::ExitedWithCode(255), "Already loading");
    EXPECT_EXIT(Shader->EndLoad(), ::testing::ExitedWithCode(255), "Not loading");
    tZObject::DisposeObject(Loader);
    tZObject::DisposeObject(Shader);
}

TEST_F(LoaderTest, HeightMapDescriptionsMakeTheirOwnResource) {
    // A registry that knows the height-map resource by its engine name.
    tZObject::DisposeObject(Linker);
    Linker = NewObject<tObjectsLinker>();
    Linker->AddClass(tZObject::StaticClass());
    Linker->AddClass(tLoader::StaticClass());
    Linker->AddClass(tZHMLoader::StaticClass());
    Linker->AddClass(zhmtest::tHeightMapResource::StaticClass());

    auto* Loader = LoaderFor<tHeightMapLoader>("tHeightMapLoader", "Terrain\\Island.ZHM");
    ASSERT_NE(Loader, nullptr);
    EXPECT_FALSE(Loader->CanSave());
    tResource* Map = Loader->LoadZHM(*Reader("!!ZHM1.0\r\nHeightMap\r\n{\r\n  Size 256\r\n}\r\n", "Terrain/Island.zhm"));
    auto* Recorded = dynamic_cast<zhmtest::tHeightMapResource*>(Map);
    ASSERT_NE(Recorded, nullptr);
    EXPECT_EQ(Recorded->Calls, (Calls{"P RESOURCETYPE=ZHM", "P RESOURCEVERSION=1.0", "B HEIGHTMAP", "P SIZE=256"}));
    EXPECT_FALSE(Map->Loading);
    tZObject::DisposeObject(Map);
    tZObject::DisposeObject(Loader);
}
