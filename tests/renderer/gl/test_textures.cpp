// Textures uploaded from images and from their cache files, and bound to
// texture units.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "kernel/renderer/textures/textures.h"
#include "kernel/resources/resourcesmanager.h"
#include "kernel/vfs/inifile.h"
#include "renderer/gl/glfixture.h"

namespace {

// A Width x Height x Depth image whose every slice is filled with its own
// colour: slice z has the bytes (z * 40 + channel * 7 + 1).
TBMPRec SlicedImage(int32_t Width, int32_t Height, int32_t Depth, bool Alpha) {
    TBMPRec I;
    I.Width = Width;
    I.Height = Height;
    I.Depth = Depth;
    I.UseAlpha = Alpha;
    const int Channels = Alpha ? 4 : 3;
    const std::size_t Size = std::size_t(Width) * Height * Depth * Channels;
    auto Pixels = std::make_unique<uint8_t[]>(Size);
    for (std::size_t K = 0; K < Size; ++K) {
        const std::size_t Slice = K / (std::size_t(Width) * Height * Channels);
        Pixels[K] = static_cast<uint8_t>(Slice * 40 + (K % Channels) * 7 + 1);
    }
    (Alpha ? I.PixelDataA : I.PixelData) = std::move(Pixels);
    return I;
}

std::vector<uint8_t> Bytes(const TBMPRec& I) {
    const uint8_t* P = I.UseAlpha ? I.PixelDataA.get() : I.PixelData.get();
    return std::vector<uint8_t>(P, P + std::size_t(I.Width) * I.Height * I.Depth * (I.UseAlpha ? 4 : 3));
}

GLint LevelWidth(GLenum Target, GLint Level) {
    GLint W = 0;
    glGetTexLevelParameteriv(Target, Level, GL_TEXTURE_WIDTH, &W);
    return W;
}

// Level 0 of the bound 2D texture.
std::vector<uint8_t> ReadBack2D(int32_t Width, int32_t Height, bool Alpha) {
    std::vector<uint8_t> Out(std::size_t(Width) * Height * (Alpha ? 4 : 3));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, Alpha ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, Out.data());
    return Out;
}

class TextureTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped()) return;
        Manager = NewObject<tZResourcesManager>();
        Resources = Manager;
    }
    void TearDown() override {
        if (Manager) tZObject::DisposeObject(Manager);
        Resources = nullptr;
        delete EngineINI;
        EngineINI = nullptr;
        GLTest::TearDown();
    }
    // A texture of the manager's, named as if loaded from Name.
    template <class T>
    T* Texture(const char* Name = "Textures\\Test.bmp") {
        T* Tex = NewObject<T>();
        Tex->SetBindedFileName(Name);
        Manager->Resources.AddItem(Tex->AllocateListItem());
        return Tex;
    }

    tZResourcesManager* Manager = nullptr;
};

}  // namespace

TEST_F(TextureTest, FlatImagesGetOneLevelWithAlphaAndAMipmapChainWithout) {
    TBMPRec Alpha = SlicedImage(4, 4, 1, true);
    const std::vector<uint8_t> AlphaPixels = Bytes(Alpha);
    auto* WithAlpha = Texture<t2DTexture>();
    WithAlpha->AttachImage(std::move(Alpha));
    EXPECT_NE(WithAlpha->TexID, 0u);
    EXPECT_EQ(LevelWidth(GL_TEXTURE_2D, 0), 4);
    EXPECT_EQ(LevelWidth(GL_TEXTURE_2D, 1), 0);
    EXPECT_EQ(ReadBack2D(4, 4, true), AlphaPixels);
    // The texture keeps the pixels it was given.
    EXPECT_EQ(Bytes(WithAlpha->Image), AlphaPixels);

    TBMPRec Plain = SlicedImage(4, 4, 1, false);
    const std::vector<uint8_t> PlainPixels = Bytes(Plain);
    auto* Mipmapped = Texture<t2DTexture>();
    Mipmapped->AttachImage(std::move(Plain));
    EXPECT_EQ(LevelWidth(GL_TEXTURE_2D, 2), 1);
    GLint MinFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &MinFilter);
    EXPECT_EQ(MinFilter, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(ReadBack2D(4, 4, false), PlainPixels);

    EXPECT_EXIT(Mipmapped->AttachImage(SlicedImage(4, 4, 1, false)), ::testing::ExitedWithCode(255),
                "Image had been already attached");
}

TEST_F(TextureTest, VolumesAndCubeMapsHoldTheirSlicesInOrder) {
    auto* Volume = Texture<t3DTexture>();
    Volume->AttachImage(SlicedImage(2, 2, 2, false));
    GLint Depth = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_3D, 0, GL_TEXTURE_DEPTH, &Depth);
    EXPECT_EQ(Depth, 2);
    EXPECT_EQ(LevelWidth(GL_TEXTURE_3D, 1), 1);

    // Faces +X, -X, +Y, -Y, +Z, -Z are slices 0..5.
    auto* Cube = Texture<tCubeTexture>();
    Cube->AttachImage(SlicedImage(4, 4, 6, false));
    for (int Face = 0; Face < tCubeTexture::Faces; ++Face) {
        uint8_t Pixels[4 * 4 * 3];
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB + Face, 0, GL_RGB, GL_UNSIGNED_BYTE, Pixels);
        // Stored compressed: solid faces come back within a step of the
        // compressor's colour precision.
        EXPECT_NEAR(Pixels[0], Face * 40 + 1, 8) << Face;
        EXPECT_NEAR(Pixels[2], Face * 40 + 15, 8) << Face;
    }
    EXPECT_EXIT(Texture<tCubeTexture>()->AttachImage(SlicedImage(4, 4, 1, false)), ::testing::ExitedWithCode(255),
                "A cube map needs 6 faces, got 1");
}

TEST_F(TextureTest, BindingEnablesOnlyItsTargetAndAPurgedTextureComesBackFirst) {
    auto* Flat = Texture<t2DTexture>();
    Flat->AttachImage(SlicedImage(2, 2, 1, false));
    glActiveTextureARB(GL_TEXTURE1_ARB);
    glEnable(GL_TEXTURE_CUBE_MAP_ARB);
    Flat->Bind(GL_TEXTURE1_ARB);
    GLint Bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &Bound);
    EXPECT_EQ(GLuint(Bound), Flat->TexID);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_CUBE_MAP_ARB));

    // Nothing changes while the texture comes back from the purged list.
    auto* Other = Texture<t2DTexture>("Textures\\Other.bmp");
    Other->AttachImage(SlicedImage(2, 2, 1, false));
    Flat->Bind(GL_TEXTURE1_ARB);
    Other->Purge();
    EXPECT_EQ(Manager->Purged.GetTotalItems(), 1);
    Other->Bind(GL_TEXTURE1_ARB);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &Bound);
    EXPECT_EQ(GLuint(Bound), Flat->TexID);
    EXPECT_EQ(Manager->Purged.GetTotalItems(), 0);
    Other->Bind(GL_TEXTURE1_ARB);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &Bound);
    EXPECT_EQ(GLuint(Bound), Other->TexID);
    glActiveTextureARB(GL_TEXTURE0_ARB);
}

TEST_F(TextureTest, CacheFileUploadsTheSamePixelsAndLeavesNoneInMemory) {
    Work.WriteFile("Data/StdConfig/engine.ini", "[ResourcesCache]\nTexturesCachingDir=Cache\\Textures\\\n");
    Remap();
    EngineINI = new tZINIFile("StdConfig\\engine.ini");
    TBMPRec Image = SlicedImage(4, 2, 1, true);
    const std::vector<uint8_t> Pixels = Bytes(Image);
    auto* Original = Texture<t2DTexture>("Textures\\Sky.bmp");
    Original->AttachImage(std::move(Image));
    Original->CacheTo();

    const std::filesystem::path File = Work.Path() / "Data/Cache/Textures/Textures_Sky.bmp.cached";
    const std::string Cached = ReadWholeFile(File);
    ASSERT_EQ(Cached.size(), tTextureFields::CacheRecordSize + Pixels.size());
    EXPECT_EQ(Cached.substr(0, 13), std::string("\4\0\0\0\2\0\0\0\1\0\0\0\1", 13));  // 4 x 2 x 1, alpha
    EXPECT_EQ(std::memcmp(Cached.data() + tTextureFields::CacheRecordSize, Pixels.data(), Pixels.size()), 0);

    Remap();
    auto* Restored = Texture<t2DTexture>("Textures\\Sky.bmp");
    Restored->CacheFrom();
    EXPECT_TRUE(Restored->Attached);
    EXPECT_EQ(Restored->Image.PixelDataA, nullptr);
    EXPECT_EQ(Restored->Image.Width, 4);
    EXPECT_EQ(ReadBack2D(4, 2, true), Pixels);

    // A cache file cut short is refused before anything is read past its end.
    std::filesystem::resize_file(File, Cached.size() - 1);
    Remap();
    EXPECT_EXIT(Texture<t2DTexture>("Textures\\Sky.bmp")->CacheFrom(), ::testing::ExitedWithCode(255),
                "Texture cache file holds fewer pixels than its record announces");
}
