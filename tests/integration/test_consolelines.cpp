// Lines a player might type or a script might hold never end the game: a
// wrong argument shows a red console error and the game goes on to a clean
// "Quit". Only what the program itself needs stays fatal.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gamerun.h"

namespace fs = std::filesystem;

namespace {

// Pixels of the console's error colour (pure red) in the message line at the
// top left.
int32_t ErrorTextPixels(const tScreenImage& Shot) {
    int32_t Count = 0;
    for (int32_t Y = 0; Y < 48 && Y < Shot.Height; ++Y)
        for (int32_t X = 0; X < 600 && X < Shot.Width; ++X) {
            const uint32_t C = Shot.At(X, Y);
            if ((C >> 16) >= 200 && ((C >> 8) & 0xFF) < 60 && (C & 0xFF) < 60) ++Count;
        }
    return Count;
}

// Every bitmap below Dir, as paths relative to it.
std::vector<std::string> BitmapsBelow(const fs::path& Dir) {
    std::vector<std::string> Found;
    for (const auto& Entry : fs::recursive_directory_iterator(Dir))
        if (Entry.path().extension() == ".bmp") Found.push_back(fs::relative(Entry.path(), Dir).string());
    return Found;
}

}  // namespace

TEST(GameConsoleLines, WrongArgumentsAreConsoleErrorsAndTheGameGoesOn) {
    const std::vector<std::string> Lines = {
        "Exec nosuch.cfg",     "PlayDemo nosuch.dem",   "ScreenShot shot",          "ScreenShot C:\\x.bmp",
        "SpawnClass tNoSuchClass", "SpawnClass tSubSystem", "ScreenShot ../../x.bmp", "ScreenShot ..\\..\\x.bmp",
        "ScreenShot \\x.bmp",  "Alias Echo Quit",
    };
    std::string Demo = "WAIT 0.3\n";
    for (std::size_t I = 0; I < Lines.size(); ++I)
        Demo += Lines[I] + "\nWAIT 0.2\nScreenShot error" + std::to_string(I) + ".bmp\nWAIT 0.1\n";
    // A shot shows the frame drawn after its tick's commands, so each error
    // shot's frame ends before the next line runs.
    Demo += "Set ScreenShotDir Shots\\Today\nScreenShot my shot.bmp\nQuit\n";

    tGameRun Game;
    const std::vector<std::string> Before = BitmapsBelow(Game.WorkDir());
    Game.PlayDemo(Demo);
    tGameResult R = Game.Run();
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr;
    EXPECT_TRUE(Contains(R.Stdout, "Objects left: 0")) << R.Stdout;

    // Each line's error is on screen, in red, a moment later.
    for (std::size_t I = 0; I < Lines.size(); ++I) {
        tScreenImage Shot = R.Screenshot("ScreenShots/error" + std::to_string(I) + ".bmp");
        ASSERT_EQ(Shot.Width, 1024) << Lines[I];
        EXPECT_GT(ErrorTextPixels(Shot), 100) << Lines[I];
    }

    // The screenshots are in their directory and nowhere else; a name with
    // blanks is one file name.
    std::vector<std::string> Written;
    for (const std::string& File : BitmapsBelow(Game.WorkDir()))
        if (std::find(Before.begin(), Before.end(), File) == Before.end()) Written.push_back(File);
    EXPECT_EQ(Written.size(), Lines.size() + 1);
    for (const std::string& File : Written)
        EXPECT_TRUE(File.starts_with("Data/ScreenShots/error") || File == "Data/Shots/Today/my shot.bmp") << File;
}

TEST(GameConsoleLines, APauseSetByTheStartUpScriptOutlastsTheFirstFocus) {
    tGameRun Game;
    Game.AppendDataFile("StdConfig/engine.cfg", "\nSet EnginePaused True\n");
    Game.WriteDataFile("True", "ScreenShot paused.bmp\n");
    Game.WriteDataFile("False", "ScreenShot running.bmp\n");
    Game.PlayDemo("WAIT 0.5\nExec %EnginePaused\nQuit\n");
    tGameResult R = Game.Run();
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr;
    EXPECT_TRUE(R.DataFileExists("ScreenShots/paused.bmp"));
    EXPECT_FALSE(R.DataFileExists("ScreenShots/running.bmp"));
}

// Lines that name files which are missing, malformed or too large: each one's
// fatal message comes back as a console error, whatever it had half built is
// gone, and a file mended while the game runs loads on a later line.
TEST(GameConsoleLines, FilesThatCannotLoadAreConsoleErrorsUntilMended) {
    tGameRun Game;
    Game.CaptureSound(22050);
    Game.AddPackage(MESH_SCENE_PACKAGE);
    Game.AddPackage(OLD_VERSION_PACKAGE);
    const fs::path Data = Game.WorkDir() / "Data";
    const auto Text = [&](const std::string& File) {
        std::ifstream In(Data / File, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(In), {});
    };
    const auto Replaced = [](std::string S, const std::string& From, const std::string& To) {
        return S.replace(S.find(From), From.size(), To);
    };
    const std::string Island = Text("Terrain/island.zhm"), Terrain = Text("Shaders/terrain.shader");
    const std::string Sample = Text("UI/Sample.gui"), Ase = Text("box/boulder_normals.ase");
    Game.WriteDataFile("UI/Cut.gui", Sample.substr(0, Sample.find("tGUIStaticWidget") + 40));
    Game.WriteDataFile("Terrain/cut.zhm", Island.substr(0, Island.find("HScale") + 12));
    Game.WriteDataFile("Terrain/wide.zhm", Replaced(Island, "island.raw", "wide.raw"));
    fs::resize_file((Game.WriteDataFile("Terrain/wide.raw", ""), Data / "Terrain/wide.raw"), 4097 * 4097);
    Game.WriteDataFile("Terrain/noraw.zhm", Replaced(Island, "island.raw", "nosuch.raw"));
    Game.WriteDataFile("Shaders/cut.shader", Terrain.substr(0, Terrain.find("Texture1")));
    Game.WriteDataFile("Terrain/cutshader.zhm", Replaced(Island, "terrain.shader", "cut.shader"));
    Game.WriteDataFile("Shaders/wrong.vert", "void main() { gl_Position = ftransform() +; }\n");
    Game.WriteDataFile("Shaders/wrong.shader", Replaced(Terrain, "terrain.vert", "wrong.vert"));
    Game.WriteDataFile("Terrain/wrongglsl.zhm", Replaced(Island, "terrain.shader", "wrong.shader"));
    Game.WriteDataFile("box/cut.ase", Ase.substr(0, Ase.size() / 2));
    Game.WriteDataFile("Sounds/cut.wav", Text("Sounds/Announcer/one.wav").substr(0, 30));
    // Its texture is cut short; it is mended while the game runs.
    Game.WriteDataFile("Terrain/late.bmp", Text("Terrain/detail.bmp").substr(0, 100));
    Game.WriteDataFile("Shaders/late.shader", Replaced(Terrain, "detail.bmp", "late.bmp"));
    Game.WriteDataFile("Terrain/late.zhm", Replaced(Island, "terrain.shader", "late.shader"));

    const struct {
        std::string Line, Message;
    } Cases[] = {
        {"AddGUI UI\\Cut.gui", "\"}\" expected at the end of GUIObject tGUIStaticWidget"},
        {"SpawnClass tMipTerrain Terrain\\nosuch.zhm", "<File not found> \"Data/Terrain/nosuch.zhm\""},
        {"SpawnClass tMipTerrain Terrain\\cut.zhm", "Unable to parse XZML script"},
        {"SpawnClass tMipTerrain Terrain\\wide.zhm", "Maximal terrain size is 2049x2049"},
        {"SpawnClass tMipTerrain Terrain\\noraw.zhm", "<File not found> \"Data/Terrain/nosuch.raw\""},
        {"SpawnClass tMipTerrain Terrain\\cutshader.zhm", "Unable to parse XZML script"},
        {"SpawnClass tMipTerrain Terrain\\wrongglsl.zhm", "Shader wasn't compiled"},
        {"SpawnClass tMipTerrain Terrain\\late.zhm", "Image data is shorter than its header announces"},
        {"SpawnClass tMeshExhibit \"0 0 0 10 box\\cut.ase\"", "Unexpected end of file inside an ASE block"},
        {"SpawnClass tAnnouncer Sounds\\cut.wav", "BlockRead: reading past the end of file"},
        {"ScreenShot a.bmp\\b.bmp", "Unable to create directory: \"ScreenShots\\a.bmp\\\""},
        {"ClassInfo tPackageTimer", "seems to be compiled for older engine version (0.2.58)"},
        {"SpawnClass tPlasmaGun", ""},  // refused before anything is made
    };
    std::string Demo = "WAIT 0.3\nScreenShot a.bmp\nWAIT 0.1\n";
    for (std::size_t I = 0; I < std::size(Cases); ++I)
        Demo += Cases[I].Line + "\nWAIT 0.2\nScreenShot failed" + std::to_string(I) + ".bmp\nWAIT 0.1\n";
    Game.PlayDemo(Demo + "ScreenShot broken.bmp\n");
    // Once every line has failed, the missing texture appears and a key runs
    // the line that failed for want of it again.
    Game.AppendDataFile("StdConfig/console.cfg", "\nBind VK_F11 \"SpawnClass tMipTerrain Terrain\\late.zhm; ScreenShot mended.bmp\"\n");
    Game.WaitForDataFile("ScreenShots/broken.bmp");
    Game.AddDriverStep("cp Data/Terrain/detail.bmp Data/Terrain/late.bmp; xdotool key F11");
    Game.WaitForDataFile("ScreenShots/mended.bmp");
    Game.AddDriverStep("xdotool key F10");
    tGameResult R = Game.Run(120);
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr;
    EXPECT_TRUE(Contains(R.Stdout, "Objects left: 0")) << R.Stdout;

    // One fatal error logged for each failed load, none for the refused gun.
    std::size_t Fatal = 0;
    for (std::size_t At = 0; (At = R.EngineLog.find("\"Fatal error: ", At)) != std::string::npos; ++At) ++Fatal;
    EXPECT_EQ(Fatal, std::size(Cases) - 1);
    for (std::size_t I = 0; I < std::size(Cases); ++I) {
        EXPECT_TRUE(Contains(R.EngineLog, Cases[I].Message)) << Cases[I].Line;
        EXPECT_GT(ErrorTextPixels(R.Screenshot("ScreenShots/failed" + std::to_string(I) + ".bmp")), 100)
            << Cases[I].Line;
    }
    // The mended terrain is the only one that got as far as its forest.
    ASSERT_TRUE(R.DataFileExists("ScreenShots/mended.bmp"));
    const std::size_t Forest = R.EngineLog.find("Populating forest...");
    EXPECT_NE(Forest, std::string::npos);
    EXPECT_EQ(R.EngineLog.find("Populating forest...", Forest + 1), std::string::npos);
}

// Lines that once ended the game from outside: a second match, recordings
// whose settings cannot be applied, a window no device can give, a script
// that runs itself twenty times a line, an alias that explodes, music the
// synthesizer cannot read, a damaged line of the saved bindings. Each is a
// console error, the window keeps its size, and the game quits cleanly,
// writing its INI file back whole.
TEST(GameConsoleLines, LinesThatOnceEndedTheGameAreConsoleErrors) {
    tGameRun Game;
    Game.CaptureSound(22050);
    const auto Recording = [&](const std::string& Name, const std::string& Settings) {
        Game.WriteDataFile("Demos/" + Name + ".dem", "HalvardineFlight 1\nseed 7\nsun 12.5\n" + Settings + "ticks 10\nend\n");
    };
    Recording("badtype", "window 1024 768\nset BotCount s abc\n");
    Recording("newvar", "set NoSuchSetting i 1\n");
    Recording("bigwindow", "window 100000 100000\n");
    Recording("match", "weather tMatch 12\n");
    std::string Bomb, Pieces = "q";
    for (int I = 0; I < 20; ++I) Bomb += "Exec bomb.cfg\n";
    for (int I = 1; I < 118; ++I) Pieces += ";q";
    Game.WriteDataFile("bomb.cfg", Bomb);
    Game.WriteDataFile("alias.cfg", "Alias q \"" + Pieces + "\"\n");
    Game.WriteDataFile("Music/empty.mid", "");
    Game.AppendDataFile("StdConfig/engine.ini", "\n[Bindings]\nJustAWord\nVK_J=Echo j\n");
    const std::vector<std::string> Lines = {
        "SpawnClass tMatch", "PlayDemo badtype", "PlayDemo newvar", "PlayDemo bigwindow", "PlayDemo match",
        "Set ScreenWidth 100000; Set ScreenHeight 100000; ApplyDisplay", "Exec bomb.cfg", "Exec alias.cfg; q",
        "PlayAmbientSound Music\\empty.mid",
    };
    std::string Demo = "WAIT 0.3\n";
    for (std::size_t I = 0; I < Lines.size(); ++I)
        Demo += Lines[I] + "\nWAIT 0.2\nScreenShot error" + std::to_string(I) + ".bmp\nWAIT 0.1\n";
    // Two aircraft in a null world bind the same variables; the first one
    // goes after the variables manager at shutdown.
    Game.PlayDemo(Demo + "SpawnClass tNullWorld\nSpawnClass tPursuitPlane\nSpawnClass tPursuitPlane\nWAIT 0.2\nQuit\n");
    tGameResult R = Game.Run();
    ASSERT_EQ(R.ExitCode, 0) << R.Stdout;
    EXPECT_TRUE(Contains(R.Stdout, "Objects left: 0")) << R.Stdout;
    EXPECT_TRUE(Contains(R.Stdout, "Invalid key name in line")) << R.Stdout;
    for (std::size_t I = 0; I < Lines.size(); ++I) {
        tScreenImage Shot = R.Screenshot("ScreenShots/error" + std::to_string(I) + ".bmp");
        ASSERT_EQ(Shot.Width, 1024) << Lines[I];
        EXPECT_GT(ErrorTextPixels(Shot), 100) << Lines[I];
    }
    const std::string INI = R.ReadDataFile("StdConfig/engine.ini");
    EXPECT_TRUE(Contains(INI, "VK_J=Echo j")) << INI;
    EXPECT_FALSE(Contains(INI, "JustAWord")) << INI;
    EXPECT_TRUE(Contains(INI, "[Core]")) << INI;
    EXPECT_TRUE(Contains(INI, "ScreenWidth=1024")) << INI;
}
