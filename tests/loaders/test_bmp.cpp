#include <gtest/gtest.h>

#include "kernel/core/logger.h"
#include "kernel/loaders/bmploader.h"
#include "loaders/loaders_fixture.h"

Z_IMPLEMENT_CLASS(tRecordingTexture)

namespace {

// Every pixel of Image equals the test pattern, top row first, RGB(A).
void ExpectPattern(const TBMPRec& Image, int Channels) {
    const uint8_t* P = Channels == 4 ? Image.PixelDataA.get() : Image.PixelData.get();
    ASSERT_NE(P, nullptr);
    for (int Y = 0; Y < Image.Height; ++Y)
        for (int X = 0; X < Image.Width; ++X)
            for (int Ch = 0; Ch < Channels; ++Ch)
                ASSERT_EQ(P[(Y * Image.Width + X) * Channels + Ch], PatternByte(X, Y, Ch))
                    << "pixel " << X << "," << Y << " channel " << Ch;
}

TBMPRec ReadBMP(const std::vector<uint8_t>& File) {
    tMemoryStream S(File);
    return tBMPLoader::ReadImage(S);
}

}  // namespace

TEST_F(LoaderTest, BitmapLoaderFoundByExtensionInAnyCase) {
    for (const char* Name : {"shot.bmp", "Textures\\Sky.Bmp", "A.BMP"}) {
        tZClass C;
        ASSERT_TRUE(Linker->FindFileLoader("tBitmapLoader", Name, C));
        EXPECT_EQ(C.ClassName, "TBMPLOADER");
    }
    auto* Loader = LoaderFor<tBitmapLoader>("tBitmapLoader", "shot.bmp");
    ASSERT_NE(Loader, nullptr);
    EXPECT_TRUE(Loader->CanSave());
    tMemoryStream Empty;
    EXPECT_EQ(Loader->EstimateTextureType(Empty), Z_TEXTURE_2D);
    tZObject::DisposeObject(Loader);
    EXPECT_EXIT(LoaderFor<tBitmapLoader>("tBitmapLoader", "shot.tga"), ::testing::ExitedWithCode(255),
                "Unable to find apropriate loader for: .TGA \\(shot.tga\\)");
    EXPECT_EXIT(tZObject::Instantiate(tLoader::StaticClass(), ""), ::testing::ExitedWithCode(255),
                "Class is abstract: TLOADER");
    EXPECT_NE(ReadWholeFile("engine.log").find("Class TLOADER has an abstract entry at 17"), std::string::npos);
}

TEST_F(LoaderTest, BMPDecodesTopRowFirstInRGBOrder) {
    TBMPRec Image = ReadBMP(MakeBMP(8, 4, 24));
    EXPECT_EQ(Image.Width, 8);
    EXPECT_EQ(Image.Height, 4);
    EXPECT_EQ(Image.Depth, 1);
    EXPECT_FALSE(Image.UseAlpha);
    EXPECT_EQ(Image.TextureType, Z_TEXTURE_2D);
    EXPECT_EQ(Image.PixelDataA, nullptr);
    ExpectPattern(Image, 3);

    TBMPRec Alpha = ReadBMP(MakeBMP(4, 8, 32));
    EXPECT_TRUE(Alpha.UseAlpha);
    EXPECT_EQ(Alpha.PixelData, nullptr);
    ExpectPattern(Alpha, 4);
}

TEST_F(LoaderTest, BMPRowsNarrowerThanFourBytesArePadded) {
    for (int Width : {1, 2}) {
        SCOPED_TRACE(Width);
        TBMPRec Image = ReadBMP(MakeBMP(Width, 4, 24));
        ExpectPattern(Image, 3);
    }
}

TEST_F(LoaderTest, BMPLoadFillsTheTextureInsideTheLoadBracket) {
    auto* Texture = NewObject<tRecordingTexture>();
    auto* Loader = LoaderFor<tBitmapLoader>("tBitmapLoader", "a.bmp");
    tMemoryStream S(MakeBMP(2, 2, 32));
    Loader->Load(S, *Texture);
    EXPECT_TRUE(Texture->Attached);
    EXPECT_TRUE(Texture->AttachedWhileLoading);
    EXPECT_FALSE(Texture->Loading);
    ExpectPattern(Texture->Image, 4);
    tZObject::DisposeObject(Loader);
    tZObject::DisposeObject(Texture);
}

TEST_F(LoaderTest, BMPRefusesWhatItCannotDecode) {
    EXPECT_EXIT(ReadBMP(MakeBMP(100, 4, 24)), ::testing::ExitedWithCode(255),
                "Unable to decode non-power-of-two texture");
    std::vector<uint8_t> TopDown = MakeBMP(4, 4, 24);
    WriteLE<int32_t>(&TopDown[22], -4);
    EXPECT_EXIT(ReadBMP(TopDown), ::testing::ExitedWithCode(255), "Unable to decode non-power-of-two texture");
    EXPECT_EXIT(ReadBMP(MakeBMP(4, 4, 8)), ::testing::ExitedWithCode(255),
                "Only 24-bit and 32-bit bitmaps are supported");
    EXPECT_EXIT(ReadBMP(MakeBMP(4, 4, 32, 3)), ::testing::ExitedWithCode(255),
                "Compressed bitmaps are not supported");
    // A header shorter than 54 bytes stops in the reader.
    std::vector<uint8_t> Short = MakeBMP(4, 4, 24);
    Short.resize(40);
    EXPECT_EXIT(ReadBMP(Short), ::testing::ExitedWithCode(255), "reading past the end");
}

TEST_F(LoaderTest, BMPWithFewerPixelsThanItsHeaderAnnouncesIsRefused) {
    std::vector<uint8_t> File = MakeBMP(4, 4, 24);
    File.pop_back();
    EXPECT_EXIT(ReadBMP(File), ::testing::ExitedWithCode(255),
                "Image data is shorter than its header announces: 4x4x1 pixels of 24 bits, 47 bytes present");
    // Dimensions far beyond the file must not overflow the size check.
    std::vector<uint8_t> Huge = MakeBMP(1, 1, 32);
    WriteLE<int32_t>(&Huge[18], 1 << 30);
    WriteLE<int32_t>(&Huge[22], 1 << 30);
    EXPECT_EXIT(ReadBMP(Huge), ::testing::ExitedWithCode(255), "Image data is shorter than its header announces");
}

TEST_F(LoaderTest, SaveBitmapWritesA24BitFileAndKeepsTheCallersPixels) {
    auto* Loader = LoaderFor<tBitmapLoader>("tBitmapLoader", "shot.bmp");
    TBMPRec Frame;
    Frame.Width = 4;
    Frame.Height = 2;
    Frame.Depth = 1;
    Frame.PixelData = std::make_unique<uint8_t[]>(4 * 2 * 3);
    for (int Y = 0; Y < 2; ++Y)
        for (int X = 0; X < 4; ++X)
            for (int Ch = 0; Ch < 3; ++Ch) Frame.PixelData[(Y * 4 + X) * 3 + Ch] = PatternByte(X, Y, Ch);

    tMemoryStream Out;
    Loader->SaveBitmap(Out, Frame);
    const std::vector<uint8_t>& F = Out.Bytes();
    ASSERT_EQ(F.size(), 78u);
    EXPECT_EQ(F[0], 'B');
    EXPECT_EQ(F[1], 'M');
    EXPECT_EQ(ReadLE<uint32_t>(&F[2]), 78u);
    EXPECT_EQ(ReadLE<uint32_t>(&F[10]), 54u);
    EXPECT_EQ(ReadLE<uint32_t>(&F[14]), 40u);
    EXPECT_EQ(ReadLE<int32_t>(&F[18]), 4);
    EXPECT_EQ(ReadLE<int32_t>(&F[22]), 2);
    EXPECT_EQ(ReadLE<uint16_t>(&F[26]), 1);
    EXPECT_EQ(ReadLE<uint16_t>(&F[28]), 24);
    EXPECT_EQ(ReadLE<uint32_t>(&F[30]), 0u);
    EXPECT_EQ(ReadLE<uint32_t>(&F[38]), 6000u);
    EXPECT_EQ(ReadLE<uint32_t>(&F[42]), 6000u);
    // The first row in memory is the file's bottom row, stored as BGR.
    EXPECT_EQ(F[54], PatternByte(0, 0, 2));
    EXPECT_EQ(F[56], PatternByte(0, 0, 0));
    // Saving leaves the caller's RGB pixels alone, so a second save is identical.
    EXPECT_EQ(Frame.PixelData[0], PatternByte(0, 0, 0));
    tMemoryStream Again;
    Loader->SaveBitmap(Again, Frame);
    EXPECT_EQ(Again.Bytes(), F);
    tZObject::DisposeObject(Loader);
}

TEST_F(LoaderTest, SavedBitmapsOfPaddedWidthsLoadBackUpsideDown) {
    for (int Width : {1, 2, 4}) {
        SCOPED_TRACE(Width);
        TBMPRec Frame;
        Frame.Width = Width;
        Frame.Height = 2;
        Frame.Depth = 1;
        Frame.PixelData = std::make_unique<uint8_t[]>(Width * 2 * 3);
        // Bottom row first, as read back from the frame buffer.
        for (int Y = 0; Y < 2; ++Y)
            for (int X = 0; X < Width; ++X)
                for (int Ch = 0; Ch < 3; ++Ch) Frame.PixelData[(Y * Width + X) * 3 + Ch] = PatternByte(X, 1 - Y, Ch);
        tMemoryStream Out;
        auto* Saver = NewObject<tBMPLoader>();
        Saver->SaveBitmap(Out, Frame);
        tZObject::DisposeObject(Saver);
        const std::size_t RowBytes = (Width * 3 + 3) / 4 * 4;
        EXPECT_EQ(Out.Bytes().size(), 54 + 2 * RowBytes);
        EXPECT_EQ(ReadLE<uint32_t>(&Out.Bytes()[2]), 54 + 2 * RowBytes);
        ExpectPattern(ReadBMP(Out.Bytes()), 3);
    }
}
