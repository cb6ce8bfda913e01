// The recorded flight's text: what is written reads back the same, and a
// damaged, cut-off or later-version file is refused with a reason; a
// version-1 file (before the network) still reads.

#include <gtest/gtest.h>

#include "kernel/console/flightfile.h"

namespace {

tRecordedFlight SampleFlight() {
    tRecordedFlight F;
    F.Seed = 42;
    F.PlayerFlies = false;
    F.SunStart = 12.345678901234567;
    F.Width = 1024;
    F.Height = 768;
    F.Weather = "tStormyDay";
    F.WeatherHour = 16;
    F.Settings = {{"PlaneChassis", 's', "tPursuitPlane"}, {"BotSkill", 'f', "0.333333343"},
                  {"PlayerName", 's', "Red Baron"},      {"Craters", 'b', "0"}};
    F.Ticks = 250;
    F.Keys = {{0, 70, true}, {3, 255, true}, {40, 70, false}};
    F.Pointer = {{0, 0, 0}, {5, -12, 300}};
    F.Pauses = {{0, 0}, {120, 3}};
    F.Lines = {{0, 0, true, "Set ShowFPS True"}, {7, 1, true, "SpawnClass tStormyDay 16; Echo \"a;b\""},
               {7, 0, false, "+MoveUp"}};
    F.Positions = {{99, 1, 64.0001f, -3.5f, 199.987654f}, {199, 16, 1e-7f, 1024.5f, 0}};
    F.Roster = {{30, 4, true, "tBiplane", "tRailGun", "Ace (2)"}, {200, 4, false, "", "", ""}};
    F.RemoteInputs = {{30, 4, 511, -4096, 4096}, {31, 4, 0, 0, -1}};
    return F;
}

}  // namespace

TEST(FlightFile, WhatIsWrittenReadsBackTheSame) {
    const tRecordedFlight In = SampleFlight();
    const std::string Text = WriteFlight(In);
    EXPECT_TRUE(LooksLikeFlight(Text));
    tRecordedFlight Out;
    ASSERT_EQ(ReadFlight(Text, Out), "");
    EXPECT_EQ(Out.Seed, 42);
    EXPECT_FALSE(Out.PlayerFlies);
    EXPECT_EQ(Out.SunStart, In.SunStart);  // to the last bit: the sky starts where it did
    EXPECT_EQ(Out.Width, 1024);
    EXPECT_EQ(Out.Weather, "tStormyDay");
    EXPECT_EQ(Out.WeatherHour, 16);
    ASSERT_EQ(Out.Settings.size(), 4u);
    EXPECT_EQ(Out.Settings[2].Value, "Red Baron");
    EXPECT_EQ(Out.Settings[3].Type, 'b');
    EXPECT_EQ(Out.Ticks, 250);
    ASSERT_EQ(Out.Keys.size(), 3u);
    EXPECT_EQ(Out.Keys[1].Code, 255);
    EXPECT_FALSE(Out.Keys[2].Down);
    ASSERT_EQ(Out.Pointer.size(), 2u);
    EXPECT_EQ(Out.Pointer[1].X, -12);
    EXPECT_EQ(Out.Pauses[1].Flags, 3);
    ASSERT_EQ(Out.Lines.size(), 3u);
    EXPECT_EQ(Out.Lines[1].Text, "SpawnClass tStormyDay 16; Echo \"a;b\"");
    EXPECT_EQ(Out.Lines[1].Phase, 1);
    EXPECT_FALSE(Out.Lines[2].Pressed);
    ASSERT_EQ(Out.Positions.size(), 2u);
    for (std::size_t I = 0; I < 2; ++I) {
        EXPECT_EQ(Out.Positions[I].X, In.Positions[I].X);  // exact: drift is measured against them
        EXPECT_EQ(Out.Positions[I].Y, In.Positions[I].Y);
        EXPECT_EQ(Out.Positions[I].Z, In.Positions[I].Z);
    }
    ASSERT_EQ(Out.Roster.size(), 2u);
    EXPECT_EQ(Out.Roster[0].Name, "Ace (2)");  // blanks in a name are kept
    EXPECT_EQ(Out.Roster[0].Weapon, "tRailGun");
    EXPECT_FALSE(Out.Roster[1].Joins);
    ASSERT_EQ(Out.RemoteInputs.size(), 2u);
    EXPECT_EQ(Out.RemoteInputs[0].Controls, 511);
    EXPECT_EQ(Out.RemoteInputs[0].X, -4096);
    EXPECT_EQ(Out.RemoteInputs[1].Y, -1);
    EXPECT_EQ(WriteFlight(Out), Text);
    // Files edited on another system keep their CR LF line ends.
    std::string Dos;
    for (char C : Text) Dos += C == '\n' ? std::string("\r\n") : std::string(1, C);
    EXPECT_EQ(ReadFlight(Dos, Out), "");
}

TEST(FlightFile, DamagedFilesAreRefusedWithTheirLine) {
    const std::string Good = WriteFlight(SampleFlight());
    tRecordedFlight F;
    auto Replaced = [&](const std::string& From, const std::string& To) {
        std::string T = Good;
        const std::size_t At = T.find(From);
        EXPECT_NE(At, std::string::npos) << From;
        return T.replace(At, From.size(), To);
    };
    EXPECT_EQ(ReadFlight("", F), "not a recorded flight");
    EXPECT_EQ(ReadFlight("Exec something\n", F), "not a recorded flight");
    EXPECT_EQ(ReadFlight(Good.substr(0, Good.size() - 4), F), "cut off before its end");
    EXPECT_EQ(ReadFlight(Good + "k 1 2 1\n", F).substr(0, 5), "line ");
    // Records out of tick order, past the last tick, or before the count.
    EXPECT_NE(ReadFlight(Replaced("k 40 70 0", "k 2 70 0"), F), "");
    EXPECT_NE(ReadFlight(Replaced("a 199 16", "a 251 16"), F), "");
    EXPECT_NE(ReadFlight(Replaced("ticks 250\n", "") , F), "");
    // Values out of range or not numbers.
    EXPECT_NE(ReadFlight(Replaced("k 3 255 1", "k 3 256 1"), F), "");
    EXPECT_NE(ReadFlight(Replaced("k 3 255 1", "k 3 255 2"), F), "");
    EXPECT_NE(ReadFlight(Replaced("p 120 3", "p 120 9"), F), "");
    EXPECT_NE(ReadFlight(Replaced("a 99 1 ", "a 99 17 "), F), "");
    EXPECT_NE(ReadFlight(Replaced("a 99 1 64", "a 99 1 nan"), F), "");
    EXPECT_NE(ReadFlight(Replaced("m 5 -12 300", "m 5 -12"), F), "");
    EXPECT_NE(ReadFlight(Replaced("ticks 250", "ticks 99999999999"), F), "");
    EXPECT_NE(ReadFlight(Replaced("seed 42", "seed x"), F), "");
    EXPECT_NE(ReadFlight(Replaced("set Craters b 0", "set Craters x 0"), F), "");
    EXPECT_NE(ReadFlight(Replaced("c 0 0 1 Set ShowFPS True", "c 0 0 1 " + std::string(300, 'x')), F), "");
    // The network's pilots: never pilot 1 (the machine's own), a name of
    // 1 to 15 characters, controls and pointer within what a client may send.
    EXPECT_NE(ReadFlight(Replaced("j 30 4 ", "j 30 1 "), F), "");
    EXPECT_NE(ReadFlight(Replaced("l 200 4", "l 200 17"), F), "");
    EXPECT_NE(ReadFlight(Replaced("Ace (2)", "A name far too long"), F), "");
    EXPECT_NE(ReadFlight(Replaced("tRailGun Ace (2)", "tRailGun"), F), "");
    EXPECT_NE(ReadFlight(Replaced("i 30 4 511", "i 30 4 512"), F), "");
    EXPECT_NE(ReadFlight(Replaced("-4096 4096", "-4097 4096"), F), "");
    EXPECT_NE(ReadFlight(Replaced("i 31 4 0 0 -1", "i 31 4 0 0"), F), "");
    const std::string Unknown = ReadFlight(Replaced("p 0 0", "zz 0 0"), F);
    EXPECT_NE(Unknown.find("line "), std::string::npos);
    EXPECT_NE(Unknown.find("zz"), std::string::npos);
}

TEST(FlightFile, ALaterVersionIsNamedAsSuch) {
    std::string Text = WriteFlight(SampleFlight());
    Text.replace(0, Text.find('\n'), "HalvardineFlight " + std::to_string(tRecordedFlight::Version + 1));
    tRecordedFlight F;
    const std::string Error = ReadFlight(Text, F);
    EXPECT_NE(Error.find("later version"), std::string::npos) << Error;
    EXPECT_NE(ReadFlight("HalvardineFlight 0\nticks 0\nend\n", F), "");
    EXPECT_EQ(ReadFlight("HalvardineFlight 1\nticks 0\nend\n", F), "");
    EXPECT_EQ(ReadFlight("HalvardineFlight 1\nseed 3\nticks 9\nk 0 70 1\np 2 3\na 8 1 1 2 3\nend\n", F), "");
    EXPECT_EQ(F.Keys.size(), 1u);
    EXPECT_TRUE(F.Roster.empty());
    EXPECT_TRUE(F.PlayerFlies);
}
