// The shipped flight replayed with TimeDemo looks as it did when the pictures
// in flightshots/ were made (tools/flights/flightshots.py): at each update
// listed in shots.txt the frame, shrunk by four as the tool shrinks it, may
// differ from its picture by under 1 % on average, and no region of an 8 x 6
// grid by more than 2 %. Work that makes the frame faster must not change
// what a player sees: a lost sea, fog, texture or aircraft fails it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "gamerun.h"

namespace {

const std::string ShotsDir = HALVARDINE_SOURCE_DIR "/tests/integration/flightshots/";
constexpr int32_t Shrink = 4;
constexpr int32_t Columns = 8, Rows = 6;
// Rendering is exact for a build; between builds the order things are drawn
// in and the rounding of the GPU programs move a few pixels by a step or two
// (0.05 % in the worst region). The whole frame may differ by 1 %; one region
// (1/48 of the frame) by 2 %, five steps of 255 on every pixel of it, so a
// change of a small part of the picture that averages away over the frame
// (the fog on a far hill, the sea's sheen near a wreck) is still seen.
constexpr double MaxMeanDifference = 0.01, MaxRegionDifference = 0.02;

struct tShot {
    int32_t Update = 0;
    std::string Name;
};

struct tShotList {
    int32_t Stride = 2;
    std::vector<tShot> Shots;
};

tShotList ReadShotList() {
    tShotList List;
    std::ifstream In(ShotsDir + "shots.txt");
    for (std::string Line; std::getline(In, Line);) {
        std::istringstream Words(Line.substr(0, Line.find('#')));
        std::string First;
        if (!(Words >> First)) continue;
        if (First == "stride") {
            Words >> List.Stride;
            continue;
        }
        tShot Shot{std::stoi(First), ""};
        Words >> Shot.Name;
        List.Shots.push_back(Shot);
    }
    return List;
}

// The picture as the tool writes it: RGB bytes of a binary PPM.
tScreenImage ReadPPM(const std::string& File) {
    std::ifstream In(File, std::ios::binary);
    std::string Magic;
    int32_t Width = 0, Height = 0, Max = 0;
    In >> Magic >> Width >> Height >> Max;
    In.get();
    tScreenImage Image;
    if (Magic != "P6" || Max != 255 || Width <= 0 || Height <= 0) return Image;
    Image.Pixels.resize(std::size_t(Width) * Height * 3);
    if (!In.read(reinterpret_cast<char*>(Image.Pixels.data()), std::streamsize(Image.Pixels.size()))) return {};
    Image.Width = Width;
    Image.Height = Height;
    return Image;
}

// Each pixel the rounded mean of its Shrink x Shrink block.
tScreenImage Shrunk(const tScreenImage& Shot) {
    tScreenImage Small;
    Small.Width = Shot.Width / Shrink;
    Small.Height = Shot.Height / Shrink;
    Small.Pixels.resize(std::size_t(Small.Width) * Small.Height * 3);
    constexpr int32_t N = Shrink * Shrink;
    for (int32_t Y = 0; Y < Small.Height; ++Y)
        for (int32_t X = 0; X < Small.Width; ++X)
            for (int32_t C = 0; C < 3; ++C) {
                int32_t Total = 0;
                for (int32_t DY = 0; DY < Shrink; ++DY)
                    for (int32_t DX = 0; DX < Shrink; ++DX)
                        Total += Shot.Pixels[(std::size_t(Y * Shrink + DY) * Shot.Width + X * Shrink + DX) * 3 + C];
                Small.Pixels[(std::size_t(Y) * Small.Width + X) * 3 + C] = uint8_t((Total + N / 2) / N);
            }
    return Small;
}

struct tDifference {
    double Mean = 0, WorstRegion = 0;
    int32_t WorstColumn = 0, WorstRow = 0;
};

// Mean absolute differences of the channels, as a fraction of full scale.
tDifference Difference(const tScreenImage& A, const tScreenImage& B) {
    std::vector<double> Regions(Columns * Rows, 0.0);
    double Total = 0;
    for (int32_t Y = 0; Y < A.Height; ++Y)
        for (int32_t X = 0; X < A.Width; ++X)
            for (int32_t C = 0; C < 3; ++C) {
                const std::size_t I = (std::size_t(Y) * A.Width + X) * 3 + C;
                const double D = std::abs(int32_t(A.Pixels[I]) - int32_t(B.Pixels[I])) / 255.0;
                Total += D;
                Regions[std::size_t(Y * Rows / A.Height) * Columns + X * Columns / A.Width] += D;
            }
    tDifference Result;
    Result.Mean = Total / (double(A.Width) * A.Height * 3);
    const double PerRegion = double(A.Width) * A.Height * 3 / (Columns * Rows);
    for (int32_t R = 0; R < Columns * Rows; ++R) {
        if (Regions[R] / PerRegion <= Result.WorstRegion) continue;
        Result.WorstRegion = Regions[R] / PerRegion;
        Result.WorstColumn = R % Columns;
        Result.WorstRow = R / Columns;
    }
    return Result;
}

}  // namespace

TEST(FlightPictures, ShippedFlightLooksAsItDid) {
    const tShotList List = ReadShotList();
    ASSERT_FALSE(List.Shots.empty()) << "no shots listed in " << ShotsDir << "shots.txt";
    int32_t Last = 0;
    tGameRun Game;
    Game.UseGameLevel();
    Game.AddArguments({"+Set TimeDemoUpdates " + std::to_string(List.Stride), "+Set TimeDemoQuit True"});
    for (const tShot& S : List.Shots) {
        Game.AddArguments({"+ReplayShot " + std::to_string(S.Update) + " " + S.Name + ".bmp"});
        Last = std::max(Last, S.Update);
    }
    // The replay ends a frame after the last shot.
    Game.AddArguments({"+TimeDemo island " + std::to_string((Last + 2 * List.Stride) / 100.0)});
    for (const tShot& S : List.Shots) Game.WaitForDataFile("ScreenShots/" + S.Name + ".bmp", 120);
    const tGameResult R = Game.Run(180);
    ASSERT_EQ(R.ExitCode, 0) << R.Stdout << R.Stderr;
    EXPECT_FALSE(Contains(R.Stdout, "drifted")) << R.Stdout;

    for (const tShot& S : List.Shots) {
        SCOPED_TRACE(S.Name);
        const tScreenImage Reference = ReadPPM(ShotsDir + S.Name + ".ppm");
        const tScreenImage Now = Shrunk(R.Screenshot("ScreenShots/" + S.Name + ".bmp"));
        ASSERT_GT(Reference.Width, 0);
        ASSERT_EQ(Now.Width, Reference.Width);
        ASSERT_EQ(Now.Height, Reference.Height);
        const tDifference D = Difference(Now, Reference);
        std::cout << S.Name << " at update " << S.Update << ": mean difference " << D.Mean * 100 << " %, worst region ("
                  << D.WorstColumn << ", " << D.WorstRow << ") " << D.WorstRegion * 100 << " %\n";
        EXPECT_LT(D.Mean, MaxMeanDifference);
        EXPECT_LT(D.WorstRegion, MaxRegionDifference) << "region " << D.WorstColumn << ", " << D.WorstRow;
    }
}
