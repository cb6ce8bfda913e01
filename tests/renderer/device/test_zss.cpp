// Shader scripts read into the OpenGL shader resource: what every section
// sets, which textures the end of loading asks for, and the exact reports of
// malformed scripts.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel/core/globals.h"
#include "kernel/objects/registry.h"
#include "kernel/renderer/shadersetup/oglshader.h"
#include "kernel/resources/loader.h"
#include "libraries/classes/resourcesmanager.h"
#include "vfs/xzml_fixture.h"

namespace {

// Remembers the textures asked for; hands out none.
class tRecordingResources : public tResourcesManager {
    Z_DECLARE_CLASS(tRecordingResources, tResourcesManager)
public:
    tTextureResource* LoadTexture(const ShortString& Name) override {
        Textures.push_back(Name.str());
        return nullptr;
    }
    tShaderResource* LoadShader(const ShortString&) override { return nullptr; }
    tMeshResource* LoadMesh(const ShortString&, float) override { return nullptr; }
    tWaveformResource* LoadWaveform(const ShortString&) override { return nullptr; }
    void ConvertName(ShortString&) override {}
    void PurgeResource(tResource*) override {}
    void PrecacheResource(tResource*) override {}
    void PurgeEverything(float) override {}
    std::vector<std::string> Textures;
};

// A death-test pattern that matches Message literally.
std::string Literally(const std::string& Message) {
    std::string Pattern;
    for (char C : Message) {
        if (std::string("\\^$.|?*+()[]{}").find(C) != std::string::npos) Pattern += '\\';
        Pattern += C;
    }
    return Pattern;
}

class ZSSTest : public XZMLTest {
protected:
    void SetUp() override {
        XZMLTest::SetUp();
        Linker = NewObject<tObjectsLinker>();
        Linker->RegisterClasses();
        Recorder = NewObject<tRecordingResources>();
        Resources = Recorder;
        Shader = NewObject<tOGLShaderResource>();
    }
    void TearDown() override {
        tZObject::DisposeObject(Shader);
        tZObject::DisposeObject(Recorder);
        Resources = nullptr;
        if (FS) tZObject::DisposeObject(FS);
        tZObject::DisposeObject(Linker);
        XZMLTest::TearDown();
    }

    // Loads Body (the lines inside "SurfaceShader { }") with the header given.
    void Load(const std::string& Body, const std::string& Header = "!!ZSS1.1") {
        const std::string Script = Header + "\r\nSurfaceShader\r\n{\r\n" + Body + "}\r\n";
        tZClass C;
        Linker->FindFileLoader("tShaderLoader", "test.shader", C);
        tZObject* Loader = tZObject::Instantiate(C, "");
        static_cast<tLoader*>(Loader)->Load(*Reader(Script, "test.shader"), *Shader);
        tZObject::DisposeObject(Loader);
    }

    tRecordingResources* Recorder = nullptr;
    tOGLShaderResource* Shader = nullptr;
};

}  // namespace

Z_IMPLEMENT_CLASS(tRecordingResources)

TEST_F(ZSSTest, EverySectionSetsItsPartOfTheState) {
    Load("  Projection ZPR_PERSPECTIVE\r\n"
         "  Texture0\r\n  {\r\n    File Textures\\fire%i.bmp\r\n    TexCombine GL_ADD\r\n"
         "    Animate\r\n    {\r\n      IterateTextures 3 12.5 2\r\n    }\r\n  }\r\n"
         "  Texture1\r\n  {\r\n    File Textures\\clouds.bmp\r\n"
         "    Animate\r\n    {\r\n      DisplaceUV 0.25 -0.5\r\n    }\r\n  }\r\n"
         "  Texture2\r\n  {\r\n    Animate\r\n    {\r\n      RotateUV 90\r\n    }\r\n  }\r\n"
         "  Blend\r\n  {\r\n    BlendFunc GL_ONE GL_ONE\r\n  }\r\n"
         "  Enable\r\n  {\r\n    DepthTest\r\n    ColorWrites\r\n    OcclusionTest\r\n  }\r\n"
         "  Disable\r\n  {\r\n    ColorWrites\r\n  }\r\n"
         "  PointSprite\r\n  {\r\n    PointSize 16\r\n  }\r\n"
         "  Animate\r\n  {\r\n    Rotate 300.4 0 0 1\r\n  }\r\n");
    EXPECT_TRUE(Shader->Loaded);
    EXPECT_EQ(Shader->Projection, ZPR_PERSPECTIVE);
    // Units are used up to the last one that names a file.
    EXPECT_EQ(Shader->TexturesUsed, 2);
    EXPECT_EQ(Shader->Texture[0].TexCombine, 0x0104u);
    EXPECT_EQ(Shader->Texture[0].Animation, TA_ITERATETEXTURES);
    EXPECT_EQ(Shader->Texture[0].AnimationParams.Iterations, 3);
    EXPECT_FLOAT_EQ(Shader->Texture[0].AnimationParams.FPS, 12.5f);
    EXPECT_EQ(Shader->Texture[1].Animation, TA_DISPLACEUV);
    EXPECT_FLOAT_EQ(Shader->Texture[1].AnimationParams.DeltaV, -0.5f);
    EXPECT_EQ(Shader->Texture[2].Animation, TA_ROTATEUV);
    EXPECT_FLOAT_EQ(Shader->Texture[2].AnimationParams.Angle, 90);
    EXPECT_TRUE(Shader->Blending.Blended);
    EXPECT_EQ(Shader->Blending.BlendSrc, 1u);
    EXPECT_EQ(Shader->Blending.BlendDst, 1u);
    EXPECT_TRUE(Shader->DepthTest);
    EXPECT_FALSE(Shader->ColorWrites);  // disabled after being enabled
    EXPECT_TRUE(Shader->OcclusionTest);
    EXPECT_FALSE(Shader->DepthWrites);
    EXPECT_TRUE(Shader->PointSprite.Enabled);
    EXPECT_EQ(Shader->PointSprite.PointSize, 16);
    EXPECT_EQ(Shader->Animation, VA_ROTATE);
    EXPECT_EQ(Shader->AnimationParams.DeltaA, 300);
    EXPECT_FLOAT_EQ(Shader->AnimationParams.ZAxis, 1);
    // The animated sequence's frames with two-digit numbers, then unit 1's file.
    EXPECT_EQ(Recorder->Textures, (std::vector<std::string>{"Textures\\fire01.bmp", "Textures\\fire02.bmp",
                                                            "Textures\\fire03.bmp", "Textures\\clouds.bmp"}));
    EXPECT_EQ(Shader->Section, ShortString());
}

TEST_F(ZSSTest, MalformedScriptsStopWithTheirReport) {
    const std::string Unit0 = "  Texture0\r\n  {\r\n    File a.bmp\r\n  }\r\n";
    struct TCase {
        std::string Body, Header, Message;
    };
    const std::vector<TCase> Cases = {
        {Unit0 + "  Texture2\r\n  {\r\n  }\r\n", "!!ZSS1.1", "Texture units must go in ascending order: \rGot 2 expected 1"},
        {"  Blend\r\n  {\r\n    BlendFunc GL_ONE GL_TWO\r\n  }\r\n", "!!ZSS1.1", "Invalid enum for \"GL_TWO\""},
        {"  Texture0\r\n  {\r\n    TexCombine GL_BLEND\r\n  }\r\n", "!!ZSS1.1", "Invalid enum for \"GL_BLEND\""},
        {"  Fog\r\n  {\r\n    Density 1\r\n  }\r\n", "!!ZSS1.1",
         "Unable to find appropriate acceptor for section: \"SURFACESHADER FOG\""},
        {"  Animate\r\n  {\r\n    Rotate 0 0 0 1\r\n  }\r\n", "!!ZSS1.1", "Supply DeltaA > 0"},
        {"  Texture0\r\n  {\r\n    File f%i.bmp\r\n    Animate\r\n    {\r\n      IterateTextures 3 1 9\r\n    }\r\n"
         "  }\r\n", "!!ZSS1.1", "Unable to use ExpandZeroes>8"},
        {"  Texture0\r\n  {\r\n    Animate\r\n    {\r\n      IterateTextures 3 1 2\r\n    }\r\n  }\r\n", "!!ZSS1.1",
         "File name for texture must be given"},
        {"  Projection ZPR_FISHEYE\r\n", "!!ZSS1.1", "Unknown projection type: \"ZPR_FISHEYE\""},
        {"", "!!ZHM1.1", "Can only accept SurfaceShader params"},
        {"", "!!ZSS1.0", "Can only accept ZSS 1.1"},
        {"  Cull none\r\n", "!!ZSS1.1", "Unknown token:\rParamName: \"CULL\"\rParamValue: \"none\""},
        // A fifth unit would have no record to go to; a unit needs its number.
        {Unit0 + "  Texture1\r\n  {\r\n  }\r\n  Texture2\r\n  {\r\n  }\r\n  Texture3\r\n  {\r\n  }\r\n"
             "  Texture4\r\n  {\r\n  }\r\n", "!!ZSS1.1", "At most 4 texture units, got TEXTURE4"},
        {"  Texture\r\n  {\r\n  }\r\n", "!!ZSS1.1", "Invalid texture section name: \"TEXTURE\""},
    };
    for (const TCase& C : Cases)
        EXPECT_EXIT(Load(C.Body, C.Header), ::testing::ExitedWithCode(255), Literally(C.Message))
            << C.Body;
}

TEST_F(ZSSTest, SectionsCloseInTheOrderTheyOpened) {
    Shader->BeginSection("SURFACESHADER");
    Shader->BeginSection("ENABLE");
    EXPECT_EQ(Shader->Section, ShortString("SURFACESHADER ENABLE"));
    EXPECT_EXIT(Shader->EndSection("BLEND"), ::testing::ExitedWithCode(255),
                Literally("Section name mismatch: \rGot \"BLEND\" expected \"ENABLE\""));
    EXPECT_EXIT(Shader->AttachTextureMatrix(4, IdentityMatrix4), ::testing::ExitedWithCode(255),
                "Invalid texture unit: 4");
}
