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

#include "gamerun.h"

namespace {

const std::string ShotsDir = HALVARDINE_SOURCE_DIR "/tests/integration/flightshots/";
constexpr int32_t Shrink = 4, Columns = 8, Rows = 6;
// Between builds the drawing order and the GPU programs' rounding move a few
// pixels by a step or two (0.05 % in the worst region). One region (1/48 of
// the frame) may differ by 2 %, so a change that averages away over the frame
// (the fog on a far hill, the sea's sheen near a wreck) is still seen.
constexpr double MaxMeanDifference = 0.01, MaxRegionDifference = 0.02;

// The picture as the tool writes it: RGB bytes of a binary PPM.
tScreenImage ReadPPM(const std::string& File) {
    std::ifstream In(File, std::ios::binary);
    std::string Magic;
    tScreenImage Image;
    int32_t Max = 0;
    In >> Magic >> Image.Width >> Image.Height >> Max;
    In.get();
    if (Magic != "P6" || Max != 255 || Image.Width <= 0 || Image.Height <= 0) return {};
    Image.Pixels.resize(std::size_t(Image.Width) * Image.Height * 3);
    return In.read(reinterpret_cast<char*>(Image.Pixels.data()), std::streamsize(Image.Pixels.size())) ? Image
                                                                                                        : tScreenImage{};
}

// Mean absolute channel differences (fractions of full scale) of the whole
// picture, then of each region; the shot shrunk, a pixel its block's mean.
std::vector<double> Differences(const tScreenImage& Shot, const tScreenImage& Reference) {
    std::vector<double> Regions(Columns * Rows + 1, 0.0);
    constexpr int32_t N = Shrink * Shrink;
    for (int32_t Y = 0; Y < Reference.Height; ++Y)
        for (int32_t X = 0; X < Reference.Width; ++X)
            for (int32_t C = 0; C < 3; ++C) {
                int32_t Total = 0;
                for (int32_t D = 0; D < N; ++D)
                    Total += Shot.Pixels[(std::size_t(Y * Shrink + D / Shrink) * Shot.Width + X * Shrink + D % Shrink) * 3 + C];
                const int32_t Now = (Total + N / 2) / N, Then = Reference.Pixels[(std::size_t(Y) * Reference.Width + X) * 3 + C];
                const double Off = std::abs(Now - Then) / 255.0 / (double(Reference.Width) * Reference.Height * 3);
                Regions[0] += Off;
                Regions[1 + std::size_t(Y * Rows / Reference.Height) * Columns + X * Columns / Reference.Width] += Off * Columns * Rows;
            }
    return Regions;
}

}  // namespace

TEST(FlightPictures, ShippedFlightLooksAsItDid) {
    // shots.txt: "stride N" (updates a frame), then "update name" lines.
    std::ifstream List(ShotsDir + "shots.txt");
    int32_t Stride = 2, Last = 0;
    std::vector<std::pair<int32_t, std::string>> Shots;
    for (std::string Line; std::getline(List, Line);) {
        std::istringstream Words(Line.substr(0, Line.find('#')));
        std::string First, Second;
        if (!(Words >> First >> Second)) continue;
        if (First == "stride") Stride = std::stoi(Second);
        else Shots.emplace_back(std::stoi(First), Second), Last = std::max(Last, Shots.back().first);
    }
    ASSERT_FALSE(Shots.empty()) << "no shots listed in " << ShotsDir << "shots.txt";

    tGameRun Game;
    Game.UseGameLevel();
    Game.AddArguments({"+Set TimeDemoUpdates " + std::to_string(Stride), "+Set TimeDemoQuit True"});
    for (const auto& [Update, Name] : Shots) Game.AddArguments({"+ReplayShot " + std::to_string(Update) + " " + Name + ".bmp"});
    // The replay ends a frame after the last shot.
    Game.AddArguments({"+TimeDemo island " + std::to_string((Last + 2 * Stride) / 100.0)});
    for (const auto& Shot : Shots) Game.WaitForDataFile("ScreenShots/" + Shot.second + ".bmp", 120);
    const tGameResult R = Game.Run(180);
    ASSERT_EQ(R.ExitCode, 0) << R.Stdout << R.Stderr;
    EXPECT_FALSE(Contains(R.Stdout, "drifted")) << R.Stdout;

    for (const auto& [Update, Name] : Shots) {
        SCOPED_TRACE(Name);
        const tScreenImage Reference = ReadPPM(ShotsDir + Name + ".ppm");
        const tScreenImage Now = R.Screenshot("ScreenShots/" + Name + ".bmp");
        ASSERT_GT(Reference.Width, 0);
        ASSERT_EQ(Now.Width, Reference.Width * Shrink);
        ASSERT_EQ(Now.Height, Reference.Height * Shrink);
        const std::vector<double> D = Differences(Now, Reference);
        const auto Worst = std::max_element(D.begin() + 1, D.end());
        const int32_t Region = int32_t(Worst - D.begin() - 1);
        std::cout << Name << " at update " << Update << ": mean difference " << D[0] * 100 << " %, worst region ("
                  << Region % Columns << ", " << Region / Columns << ") " << *Worst * 100 << " %\n";
        EXPECT_LT(D[0], MaxMeanDifference);
        EXPECT_LT(*Worst, MaxRegionDifference) << "region " << Region % Columns << ", " << Region / Columns;
    }
}
