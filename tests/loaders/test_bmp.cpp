#include <gtest/gtest.h>

#include "kernel/core/logger.h"
#include "kernel/loaders/bmploader.h"
#include "libraries/classes/filesystem.h"
#include "loaders/loaders_fixture.h"

Z_IMPLEMENT_CLASS(tRecordingTexture)
Z_IMPLEMENT_CLASS(tRecordingWaveform)

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

// An RGB frame of Width x Height pattern pixels, bottom row first as read back
// from the frame buffer (row Y holds pattern row Height - 1 - Y).
TBMPRec Frame(int Width, int Height) {
    TBMPRec F;
    F.Width = Width;
    F.Height = Height;
    F.Depth = 1;
    F.PixelData = std::make_unique<uint8_t[]>(static_cast<std::size_t>(Width) * Height * 3);
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            for (int Ch = 0; Ch < 3; ++Ch) F.PixelData[(Y * Width + X) * 3 + Ch] = PatternByte(X, Height - 1 - Y, Ch);
    return F;
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
    EXPECT_EQ(Loader->EstimateTextureType(*FileReader(MakeBMP(2, 2, 24), "a.bmp")), Z_TEXTURE_2D);
    tZObject::DisposeObject(Loader);
    EXPECT_EXIT(LoaderFor<tBitmapLoader>("tBitmapLoader", "shot.tga"), ::testing::ExitedWithCode(255),
                "Unable to find apropriate loader for: .TGA \\(shot.tga\\)");
    EXPECT_EXIT(tZObject::Instantiate(tLoader::StaticClass(), ""), ::testing::ExitedWithCode(255),
                "Class is abstract: TLOADER");
    EXPECT_NE(Log().find("Class TLOADER has an abstract entry at 17"), std::string::npos);
}

TEST_F(LoaderTest, BMPDecodesTopRowFirstInRGBOrder) {
    TBMPRec Image = LoadImage(MakeBMP(8, 4, 24), "Textures/Rgb.bmp");
    EXPECT_EQ(Image.Width, 8);
    EXPECT_EQ(Image.Height, 4);
    EXPECT_EQ(Image.Depth, 1);
    EXPECT_FALSE(Image.UseAlpha);
    EXPECT_EQ(Image.TextureType, Z_TEXTURE_2D);
    EXPECT_EQ(Image.PixelDataA, nullptr);
    ExpectPattern(Image, 3);

    TBMPRec Alpha = LoadImage(MakeBMP(4, 8, 32), "alpha.BMP");
    EXPECT_TRUE(Alpha.UseAlpha);
    EXPECT_EQ(Alpha.PixelData, nullptr);
    ExpectPattern(Alpha, 4);

    // Rows narrower than four bytes are padded in the file.
    for (int Width : {1, 2}) {
        SCOPED_TRACE(Width);
        ExpectPattern(LoadImage(MakeBMP(Width, 4, 24), "narrow.bmp"), 3);
    }
}

TEST_F(LoaderTest, BMPRefusesWhatItCannotDecode) {
    EXPECT_EXIT(LoadImage(MakeBMP(100, 4, 24), "a.bmp"), ::testing::ExitedWithCode(255),
                "Unable to decode non-power-of-two texture");
    Bytes TopDown = MakeBMP(4, 4, 24);
    WriteLE<int32_t>(&TopDown[22], -4);
    EXPECT_EXIT(LoadImage(TopDown, "a.bmp"), ::testing::ExitedWithCode(255), "Unable to decode non-power-of-two texture");
    EXPECT_EXIT(LoadImage(MakeBMP(4, 4, 8), "a.bmp"), ::testing::ExitedWithCode(255),
                "Only 24-bit and 32-bit bitmaps are supported");
    EXPECT_EXIT(LoadImage(MakeBMP(4, 4, 32, 3), "a.bmp"), ::testing::ExitedWithCode(255),
                "Compressed bitmaps are not supported");
    // A header shorter than 54 bytes stops in the reader.
    Bytes Short = MakeBMP(4, 4, 24);
    Short.resize(40);
    EXPECT_EXIT(LoadImage(Short, "a.bmp"), ::testing::ExitedWithCode(255), "reading past the end of file");
}

TEST_F(LoaderTest, BMPWithFewerPixelsThanItsHeaderAnnouncesIsRefused) {
    Bytes File = MakeBMP(4, 4, 24);
    File.pop_back();
    EXPECT_EXIT(LoadImage(File, "a.bmp"), ::testing::ExitedWithCode(255),
                "Image data is shorter than its header announces: 4x4x1 pixels of 24 bits, 47 bytes present");
    // Dimensions far beyond the file must not overflow the size check.
    Bytes Huge = MakeBMP(1, 1, 32);
    WriteLE<int32_t>(&Huge[18], 1 << 30);
    WriteLE<int32_t>(&Huge[22], 1 << 30);
    EXPECT_EXIT(LoadImage(Huge, "a.bmp"), ::testing::ExitedWithCode(255),
                "Image data is shorter than its header announces");
}

TEST_F(LoaderTest, SaveBitmapWritesA24BitFileAndKeepsTheCallersPixels) {
    auto* Loader = LoaderFor<tBitmapLoader>("tBitmapLoader", "shot.bmp");
    TBMPRec Shot = Frame(4, 2);
    std::filesystem::create_directories("Data");
    Mapped();
    for (const char* Name : {"shot.bmp", "again.bmp"}) {
        auto Out = FileSystem->CreateFileWriter(Name, {WF_OVERWRITE});
        Loader->SaveBitmap(*Out, Shot);
    }
    const std::string F = ReadWholeFile("Data/shot.bmp");
    auto At = [&](std::size_t I) { return reinterpret_cast<const uint8_t*>(F.data()) + I; };
    ASSERT_EQ(F.size(), 78u);
    EXPECT_EQ(F.substr(0, 2), "BM");
    EXPECT_EQ(ReadLE<uint32_t>(At(2)), 78u);
    EXPECT_EQ(ReadLE<uint32_t>(At(6)), 0u);
    EXPECT_EQ(ReadLE<uint32_t>(At(10)), 54u);
    EXPECT_EQ(ReadLE<uint32_t>(At(14)), 40u);
    EXPECT_EQ(ReadLE<int32_t>(At(18)), 4);
    EXPECT_EQ(ReadLE<int32_t>(At(22)), 2);
    EXPECT_EQ(ReadLE<uint16_t>(At(26)), 1);
    EXPECT_EQ(ReadLE<uint16_t>(At(28)), 24);
    EXPECT_EQ(ReadLE<uint32_t>(At(30)), 0u);
    EXPECT_EQ(ReadLE<uint32_t>(At(34)), 0u);
    EXPECT_EQ(ReadLE<uint32_t>(At(38)), 6000u);
    EXPECT_EQ(ReadLE<uint32_t>(At(42)), 6000u);
    EXPECT_EQ(ReadLE<uint32_t>(At(46)), 0u);
    EXPECT_EQ(ReadLE<uint32_t>(At(50)), 0u);
    // The first row in memory is the file's bottom row, stored as BGR.
    EXPECT_EQ(*At(54), PatternByte(0, 1, 2));
    EXPECT_EQ(*At(56), PatternByte(0, 1, 0));
    // The caller's RGB pixels are left alone, so a second save is identical.
    EXPECT_EQ(Shot.PixelData[0], PatternByte(0, 1, 0));
    EXPECT_EQ(ReadWholeFile("Data/again.bmp"), F);
    tZObject::DisposeObject(Loader);
}

TEST_F(LoaderTest, SavedBitmapsOfPaddedWidthsLoadBackUpright) {
    auto* Saver = NewObject<tBMPLoader>();
    std::filesystem::create_directories("Data");
    for (int Width : {1, 2, 4}) {
        SCOPED_TRACE(Width);
        Mapped();
        Saver->SaveBitmap(*FileSystem->CreateFileWriter("saved.bmp", {WF_OVERWRITE}), Frame(Width, 2));
        std::string F = ReadWholeFile("Data/saved.bmp");
        const std::size_t RowBytes = (Width * 3 + 3) / 4 * 4;
        EXPECT_EQ(F.size(), 54 + 2 * RowBytes);
        EXPECT_EQ(ReadLE<uint32_t>(reinterpret_cast<const uint8_t*>(F.data()) + 2), 54 + 2 * RowBytes);
        ExpectPattern(LoadImage(Bytes(F.begin(), F.end()), "saved.bmp"), 3);
    }
    tZObject::DisposeObject(Saver);
}
