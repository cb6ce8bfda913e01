#include <gtest/gtest.h>

#include <cstring>

#include "kernel/loaders/ddsloader.h"
#include "kernel/loaders/wavloader.h"
#include "loaders/loaders_fixture.h"

namespace {

constexpr uint32_t Texture = 0x1000, CubeMap = 0x200, Volume = 0x200000, AllFaces = 0xFC00;

// A DDS header; Body follows it.
Bytes MakeDDS(uint32_t Width, uint32_t Height, uint32_t Depth, uint32_t Bits, uint32_t Caps1, uint32_t Caps2,
              const Bytes& Body) {
    Bytes F(128, 0);
    std::memcpy(F.data(), "DDS ", 4);
    WriteLE<uint32_t>(&F[4], 124);
    WriteLE<uint32_t>(&F[12], Height);
    WriteLE<uint32_t>(&F[16], Width);
    WriteLE<uint32_t>(&F[24], Depth);
    WriteLE<uint32_t>(&F[88], Bits);
    WriteLE<uint32_t>(&F[108], Caps1);
    WriteLE<uint32_t>(&F[112], Caps2);
    F.insert(F.end(), Body.begin(), Body.end());
    return F;
}

// Slices of BGR(A) pattern pixels whose rows are stored bottom first, or grey
// levels in row order for 8 bits.
Bytes VolumeBody(int W, int H, int D, int Bits) {
    Bytes B;
    for (int Z = 0; Z < D; ++Z)
        for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X) {
                if (Bits == 8) {
                    B.push_back(PatternByte(X, Y, 0, Z));
                    continue;
                }
                for (int Ch : {2, 1, 0}) B.push_back(PatternByte(X, H - 1 - Y, Ch, Z));
                if (Bits == 32) B.push_back(PatternByte(X, H - 1 - Y, 3, Z));
            }
    return B;
}

Bytes Counting(std::size_t N) {
    Bytes B(N);
    for (std::size_t I = 0; I < N; ++I) B[I] = static_cast<uint8_t>(I * 7);
    return B;
}

Bytes MakeWAV(uint16_t FormatTag, uint16_t Channels, uint32_t Rate, uint16_t Bits, const Bytes& Samples,
              const char* Magic = "RIFF") {
    Bytes F(44, 0);
    std::memcpy(F.data(), Magic, 4);
    WriteLE<uint32_t>(&F[4], static_cast<uint32_t>(36 + Samples.size()));
    std::memcpy(&F[8], "WAVEfmt ", 8);
    WriteLE<uint32_t>(&F[16], 16);
    WriteLE<uint16_t>(&F[20], FormatTag);
    WriteLE<uint16_t>(&F[22], Channels);
    WriteLE<uint32_t>(&F[24], Rate);
    WriteLE<uint32_t>(&F[28], Rate * Channels * Bits / 8);
    WriteLE<uint16_t>(&F[32], static_cast<uint16_t>(Channels * Bits / 8));
    WriteLE<uint16_t>(&F[34], Bits);
    std::memcpy(&F[36], "data", 4);
    WriteLE<uint32_t>(&F[40], static_cast<uint32_t>(Samples.size()));
    F.insert(F.end(), Samples.begin(), Samples.end());
    return F;
}

// A RIFF chunk: four characters, the body's size, the body and a pad byte
// when the size is odd.
Bytes Chunk(const char* ID, const Bytes& Body) {
    Bytes C(8, 0);
    std::memcpy(C.data(), ID, 4);
    WriteLE<uint32_t>(&C[4], static_cast<uint32_t>(Body.size()));
    C.insert(C.end(), Body.begin(), Body.end());
    if (Body.size() % 2) C.push_back(0);
    return C;
}

Bytes WAVFormat(uint16_t Channels, uint32_t Rate, uint16_t Bits, std::size_t ExtraBytes = 0) {
    const Bytes Canonical = MakeWAV(1, Channels, Rate, Bits, {});
    Bytes Body(Canonical.begin() + 20, Canonical.begin() + 36);
    Body.resize(Body.size() + ExtraBytes, 0);
    return Body;
}

Bytes RIFFFile(std::initializer_list<Bytes> Chunks) {
    Bytes F = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const Bytes& C : Chunks) F.insert(F.end(), C.begin(), C.end());
    WriteLE<uint32_t>(&F[4], static_cast<uint32_t>(F.size() - 8));
    return F;
}

}  // namespace

TEST_F(LoaderTest, DDSVolumesDecodeSliceBySlice) {
    for (int Bits : {24, 32}) {
        SCOPED_TRACE(Bits);
        // Both flags: the volume wins.
        TBMPRec Image = LoadImage(MakeDDS(4, 2, 3, Bits, Texture, Volume | CubeMap, VolumeBody(4, 2, 3, Bits)),
                                  "Textures/Noise.dds");
        EXPECT_EQ(Image.TextureType, Z_TEXTURE_3D);
        EXPECT_EQ(Image.Depth, 3);
        EXPECT_EQ(Image.UseAlpha, Bits == 32);
        const int C = Bits / 8;
        const uint8_t* P = Bits == 32 ? Image.PixelDataA.get() : Image.PixelData.get();
        ASSERT_NE(P, nullptr);
        for (int Z = 0; Z < 3; ++Z)
            for (int Y = 0; Y < 2; ++Y)
                for (int X = 0; X < 4; ++X)
                    for (int Ch = 0; Ch < C; ++Ch)
                        ASSERT_EQ(P[((Z * 2 + Y) * 4 + X) * C + Ch], PatternByte(X, Y, Ch, Z));
    }
    // Eight bits: grey levels become RGB, rows stay in file order.
    TBMPRec Grey = LoadImage(MakeDDS(2, 2, 2, 8, Texture, Volume, VolumeBody(2, 2, 2, 8)), "grey.DDS");
    ASSERT_NE(Grey.PixelData, nullptr);
    for (int N = 0; N < 8; ++N) {
        uint8_t G = PatternByte(N % 2, N / 2 % 2, 0, N / 4);
        EXPECT_EQ(Grey.PixelData[N * 3], G);
        EXPECT_EQ(Grey.PixelData[N * 3 + 1], G);
        EXPECT_EQ(Grey.PixelData[N * 3 + 2], G);
    }
}

TEST_F(LoaderTest, DDSCubeMapBytesAreKeptAsStored) {
    const Bytes Faces = Counting(64 * 64 * 6 * 4);
    ASSERT_EQ(Faces.size(), 98304u);
    auto File = FileReader(MakeDDS(64, 64, 0, 32, Texture, CubeMap | AllFaces, Faces), "Sky.dds");
    auto* Loader = LoaderFor<tBitmapLoader>("tBitmapLoader", "Sky.dds");
    EXPECT_FALSE(Loader->CanSave());
    EXPECT_EQ(Loader->EstimateTextureType(*File), Z_TEXTURE_CUBE_MAP);
    EXPECT_EQ(File->GetPosition(), 1);  // the estimate leaves the position alone
    tZObject::DisposeObject(Loader);

    TBMPRec Cube = LoadImage(MakeDDS(64, 64, 0, 32, Texture, CubeMap | AllFaces, Faces), "Sky.dds");
    EXPECT_EQ(Cube.TextureType, Z_TEXTURE_CUBE_MAP);
    EXPECT_EQ(Cube.Depth, 6);
    EXPECT_TRUE(Cube.UseAlpha);
    EXPECT_EQ(std::memcmp(Cube.PixelDataA.get(), Faces.data(), Faces.size()), 0);

    // Cube maps skip the power-of-two test; 24 bits land in PixelData.
    const Bytes Rgb = Counting(3 * 5 * 6 * 3);
    TBMPRec Odd = LoadImage(MakeDDS(3, 5, 0, 24, Texture, CubeMap | AllFaces, Rgb), "odd.dds");
    EXPECT_FALSE(Odd.UseAlpha);
    EXPECT_EQ(std::memcmp(Odd.PixelData.get(), Rgb.data(), Rgb.size()), 0);
}

TEST_F(LoaderTest, EmptyVolumesDecodeAtOnceWhateverTheirOtherDimensions) {
    // No width: no pixels and no data needed, but 2^30 rows of 4 billion slices
    // must not be walked through one by one.
    TBMPRec Empty = LoadImage(MakeDDS(0, 1u << 30, 0xFFFFFFFF, 32, Texture, Volume, {}), "empty.dds");
    EXPECT_EQ(Empty.Width, 0);
    EXPECT_EQ(Empty.Height, 1 << 30);
    EXPECT_TRUE(Empty.UseAlpha);
}

TEST_F(LoaderTest, DDSFilesTheLoaderRefuses) {
    const Bytes Body = Counting(4 * 4 * 4 * 6);
    auto Estimate = [&](const Bytes& File) {
        auto* Loader = NewObject<tDDSLoader>();
        Loader->EstimateTextureType(*FileReader(File, "a.dds"));
    };
    EXPECT_EXIT(Estimate(MakeDDS(4, 4, 1, 32, Texture, 0, Body)), ::testing::ExitedWithCode(255),
                "It is not a volume texture or cubemap\\) ! 0");
    EXPECT_EXIT(Estimate(MakeDDS(4, 4, 1, 32, 0, Volume, Body)), ::testing::ExitedWithCode(255),
                "It is not a volume texture\\(no DDSD_TEXTURE flag\\) !");
    EXPECT_EXIT(Estimate(Bytes(100, 0)), ::testing::ExitedWithCode(255),
                "Invalid DDS file: 100 bytes, shorter than its header");
    EXPECT_EXIT(LoadImage(MakeDDS(4, 4, 0, 32, Texture, CubeMap | 0x7C00, Body), "a.dds"),
                ::testing::ExitedWithCode(255), "All six faces of cubemap must be available !");
    EXPECT_EXIT(LoadImage(MakeDDS(4, 4, 0, 16, Texture, CubeMap | AllFaces, Body), "a.dds"),
                ::testing::ExitedWithCode(255), "CubeMap can be 24 or 32 bits only !");
    EXPECT_EXIT(LoadImage(MakeDDS(4, 4, 1, 16, Texture, Volume, Body), "a.dds"), ::testing::ExitedWithCode(255),
                "Can only decode 24 or 32 bits per pixel images");
    EXPECT_EXIT(LoadImage(MakeDDS(4, 6, 1, 32, Texture, Volume, Body), "a.dds"), ::testing::ExitedWithCode(255),
                "Unable to decode non-power-of-two texture");
    // Pixel data shorter than the header announces, for volumes and cube maps,
    // and a depth that reads as negative.
    EXPECT_EXIT(LoadImage(MakeDDS(4, 4, 7, 32, Texture, Volume, Body), "a.dds"), ::testing::ExitedWithCode(255),
                "Image data is shorter than its header announces: 4x4x7 pixels of 32 bits, 384 bytes present");
    EXPECT_EXIT(LoadImage(MakeDDS(4, 4, 0xFFFFFFFF, 32, Texture, Volume, Body), "a.dds"),
                ::testing::ExitedWithCode(255), "Image data is shorter than its header announces: 4x4x4294967295");
    EXPECT_EXIT(LoadImage(MakeDDS(0x7FFFFFFF, 0x7FFFFFFF, 0, 32, Texture, CubeMap | AllFaces, Body), "a.dds"),
                ::testing::ExitedWithCode(255), "Image data is shorter than its header announces");
}

TEST_F(LoaderTest, WAVFieldsAndSamples) {
    const Bytes Samples = Counting(1000);
    auto* Wave = NewObject<tRecordingWaveform>();
    auto* Loader = LoaderFor<tLoader>("tAudioLoader", "Sounds\\Lost.Wav");
    EXPECT_FALSE(Loader->CanSave());
    Loader->Load(*FileReader(MakeWAV(1, 2, 22050, 16, Samples), "Sounds/Lost.wav"), *Wave);
    EXPECT_TRUE(Wave->AttachedWhileLoading);
    EXPECT_FALSE(Wave->Loading);
    EXPECT_EQ(Wave->Wave.Channels, 2);
    EXPECT_EQ(Wave->Wave.SamplesPerSec, 22050);
    EXPECT_EQ(Wave->Wave.BitsPerSample, 16);
    EXPECT_EQ(Wave->Wave.WaveData, Samples);
    tZObject::DisposeObject(Loader);
    tZObject::DisposeObject(Wave);
}

TEST_F(LoaderTest, WAVChunksAreWalkedToTheFormatAndTheData) {
    const Bytes Samples = Counting(10);
    // An 18-byte format chunk, an odd-sized chunk with its pad byte, and a
    // LIST chunk before the data; 10 bytes of 16-bit stereo are two whole frames.
    const Bytes File = RIFFFile({Chunk("fmt ", WAVFormat(2, 44100, 16, 2)), Chunk("junk", Counting(3)),
                                 Chunk("LIST", Bytes{'I', 'N', 'F', 'O', 'I', 'S', 'F', 'T', 2, 0, 0, 0, 'x', 0}),
                                 Chunk("data", Samples)});
    const TWaveform Wave = tWAVLoader::ReadWaveform(*FileReader(File, "Sounds/hit.wav"));
    EXPECT_EQ(Wave.Channels, 2);
    EXPECT_EQ(Wave.SamplesPerSec, 44100);
    EXPECT_EQ(Wave.BitsPerSample, 16);
    EXPECT_EQ(Wave.WaveData, Bytes(Samples.begin(), Samples.begin() + 8));
}

TEST_F(LoaderTest, WAVFilesTheLoaderRefuses) {
    auto Load = [&](const Bytes& File) {
        auto* Wave = NewObject<tRecordingWaveform>();
        NewObject<tWAVLoader>()->Load(*FileReader(File, "a.wav"), *Wave);
    };
    const Bytes Samples = Counting(10);
    EXPECT_EXIT(Load(MakeWAV(3, 1, 8000, 32, Samples)), ::testing::ExitedWithCode(255), "Can only read PCM wave files");
    EXPECT_EXIT(Load(MakeWAV(1, 1, 8000, 8, Samples, "RIFX")), ::testing::ExitedWithCode(255),
                "Can only read RIFF files");
    Bytes Short = MakeWAV(1, 1, 8000, 8, Samples);
    Short.resize(50);
    EXPECT_EXIT(Load(Short), ::testing::ExitedWithCode(255),
                "Wave data is shorter than its header announces: 10 bytes announced, 6 present");
    Short.resize(30);
    EXPECT_EXIT(Load(Short), ::testing::ExitedWithCode(255), "reading past the end of file");
    Bytes Huge = MakeWAV(1, 1, 8000, 8, Samples);
    WriteLE<uint32_t>(&Huge[40], 0xFFFFFFF0u);
    EXPECT_EXIT(Load(Huge), ::testing::ExitedWithCode(255), "Wave data is shorter than its header announces");

    // Formats OpenAL cannot play are refused here rather than heard as silence.
    EXPECT_EXIT(Load(MakeWAV(1, 6, 48000, 16, Samples)), ::testing::ExitedWithCode(255),
                "Unsupported wave format: 6 channels, 16 bits per sample, 48000 samples per second");
    EXPECT_EXIT(Load(MakeWAV(1, 1, 44100, 24, Samples)), ::testing::ExitedWithCode(255),
                "Unsupported wave format: 1 channels, 24 bits per sample");
    EXPECT_EXIT(Load(MakeWAV(1, 2, 0, 8, Samples)), ::testing::ExitedWithCode(255), "0 samples per second");
    EXPECT_EXIT(Load(RIFFFile({Chunk("fmt ", WAVFormat(1, 8000, 8)), Chunk("LIST", Samples)})),
                ::testing::ExitedWithCode(255), "Wave file has no data chunk");
    EXPECT_EXIT(Load(RIFFFile({Chunk("data", Samples), Chunk("fmt ", WAVFormat(1, 8000, 8))})),
                ::testing::ExitedWithCode(255), "Wave file has no format chunk before its data");
    EXPECT_EXIT(Load(RIFFFile({Chunk("LIST", Samples)})), ::testing::ExitedWithCode(255), "Wave file has no format chunk");
    EXPECT_EXIT(Load(RIFFFile({Chunk("fmt ", Counting(14))})), ::testing::ExitedWithCode(255),
                "Wave format chunk is too short: 14 bytes");
}
