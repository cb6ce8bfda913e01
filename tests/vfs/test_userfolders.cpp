// An installed game: the player's folders over read-only installed data.

#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>

#include "kernel/vfs/filestream.h"
#include "kernel/vfs/filesystem.h"
#include "kernel/vfs/inifile.h"
#include "vfs/vfsfixture.h"

namespace {

namespace fs = std::filesystem;

class UserFoldersTest : public VFSTest {
protected:
    // Installed data in "usr/", the player's data, configuration and cache
    // folders in "home/".
    tVirtualFileSystem& Overlaid() {
        fs::create_directories("home/data");
        fs::create_directories("home/config");
        fs::create_directories("home/cache");
        if (FS) tZObject::DisposeObject(FS);
        FS = NewObject<tVirtualFileSystem>();
        FileSystem = FS;
        FS->SetRoots("usr", {{"", "home/data"}, {"StdConfig\\", "home/config"}, {"Cache\\", "home/cache"}});
        return *FS;
    }
    static mode_t Mode(const char* Path) {
        struct stat Info{};
        stat(Path, &Info);
        return Info.st_mode & 07777;
    }
};

}  // namespace

TEST_F(UserFoldersTest, ThePlayersFilesHideTheInstalledOnesAndTakeEveryWrite) {
    Work.WriteFile("usr/StdConfig/engine.ini", "[Core]\r\n");
    Work.WriteFile("usr/Demos/island.dem", "installed");
    Work.WriteFile("usr/UI/About.gui", "installed");
    Work.WriteFile("home/data/UI/about.GUI", "the player's");
    Work.WriteFile("home/config/history.txt", "");
    chmod("usr/Demos/island.dem", 0444);
    tVirtualFileSystem& vfs = Overlaid();

    // Reading: the player's file where there is one, any letter case.
    EXPECT_EQ(vfs.VirtualNameToPhysical("UI\\About.gui"), "home/data/UI/about.GUI");
    EXPECT_EQ(vfs.VirtualNameToPhysical("Demos\\Island.dem"), "usr/Demos/island.dem");
    EXPECT_EQ(vfs.VirtualNameToPhysical("StdConfig\\engine.ini"), "usr/StdConfig/engine.ini");
    EXPECT_EQ(vfs.VirtualNameToPhysical("stdconfig\\HISTORY.txt"), "home/config/history.txt");

    // Writing: always into the player's folders, spelled as the data spells it.
    EXPECT_EQ(vfs.WritableNameToPhysical("demos\\island.dem"), "home/data/Demos/island.dem");
    EXPECT_EQ(vfs.WritableNameToPhysical("StdConfig\\engine.ini"), "home/config/engine.ini");
    EXPECT_EQ(vfs.WritableNameToPhysical("StdConfig\\engine.ini.tmp"), "home/config/engine.ini.tmp");
    EXPECT_EQ(vfs.WritableNameToPhysical("Cache\\Textures\\sky.cached"), "home/cache/Textures/sky.cached");
    EXPECT_EQ(vfs.WritableNameToPhysical("ScreenShots\\shot0000.png"), "home/data/ScreenShots/shot0000.png");
    vfs.CreateDirs("Cache\\Heightmaps\\");
    vfs.CreateDirs("ScreenShots\\");
    EXPECT_TRUE(fs::is_directory("home/cache/Heightmaps"));
    EXPECT_TRUE(fs::is_directory("home/data/ScreenShots"));
    EXPECT_FALSE(fs::exists("usr/ScreenShots"));

    // Reading an installed file through a writer neither opens it for
    // writing nor makes it writable (root may write anything).
    EXPECT_NE(vfs.LoadTextFile("Demos\\island.dem"), nullptr);
    EXPECT_EQ(Mode("usr/Demos/island.dem"), 0444u);

    // Writing over an installed file leaves it alone; the copy hides it from then on.
    vfs.CreateDirs("Demos\\");
    {
        tFileStream Writer("Demos\\island.dem", FSTREAM_REWRITE, FSTREAM_HALTONERRORS);
        Writer.WriteLine("the player's");
    }
    EXPECT_EQ(ReadWholeFile("usr/Demos/island.dem"), "installed");
    EXPECT_EQ(ReadWholeFile("home/data/Demos/island.dem"), "the player's\r\n");
    EXPECT_EQ(vfs.VirtualNameToPhysical("Demos\\island.dem"), "home/data/Demos/island.dem");
    // A name nobody has is read from where it would be written.
    EXPECT_EQ(vfs.VirtualNameToPhysical("Demos\\mine.dem"), "home/data/Demos/mine.dem");
}

TEST_F(UserFoldersTest, TheINIFileKeepsThePlayersDifferencesOverTheInstalledOne) {
    Work.WriteFile("usr/StdConfig/engine.ini", "[Core]\r\nEngine=tWinGameEngine\r\nAudio=tAudioSystem\r\n[Engine]\r\nRunsCount=0\r\n");
    // Damaged: a line without a key; the keys it lacks keep the installed values.
    Work.WriteFile("home/config/engine.ini", "[Core]\r\n=broken\r\nAudio=tNullAudioSubSystem\r\n[Options]\r\nShowFPS=True\r\n");
    Overlaid();
    {
        tZINIFile INI("StdConfig\\engine.ini");
        EXPECT_EQ(INI.GetValue("Core", "Engine"), "tWinGameEngine");
        EXPECT_EQ(INI.GetValue("Core", "Audio"), "tNullAudioSubSystem");
        EXPECT_EQ(INI.GetValue("Options", "ShowFPS"), "True");
        EXPECT_EQ(INI.GetValue("Engine", "RunsCount"), "0");
        ASSERT_EQ(INI.SkippedLines.size(), 1u);
        EXPECT_EQ(INI.SkippedLines[0], "Invalid key name in line 2");
        INI.SetValue("Engine", "RunsCount", "1");
        INI.SaveINI();
    }
    EXPECT_EQ(ReadWholeFile("usr/StdConfig/engine.ini"),
              "[Core]\r\nEngine=tWinGameEngine\r\nAudio=tAudioSystem\r\n[Engine]\r\nRunsCount=0\r\n");
    const std::string Saved = ReadWholeFile("home/config/engine.ini");
    EXPECT_NE(Saved.find("[Core]\r\nAudio=tNullAudioSubSystem\r\n"), std::string::npos) << Saved;
    EXPECT_NE(Saved.find("[Engine]\r\nRunsCount=1\r\n"), std::string::npos) << Saved;
    EXPECT_NE(Saved.find("[Options]\r\nShowFPS=True\r\n"), std::string::npos) << Saved;
    EXPECT_EQ(Saved.find("Engine=tWinGameEngine"), std::string::npos) << Saved;

    // The first save of a player with no copy yet holds only what changed.
    fs::remove("home/config/engine.ini");
    Overlaid();
    {
        tZINIFile First("StdConfig\\engine.ini");
        First.SetValue("Options", "ShowFPS", "False");
        First.SaveINI();
    }
    EXPECT_EQ(ReadWholeFile("home/config/engine.ini").substr(ReadWholeFile("home/config/engine.ini").find('[')),
              "[Options]\r\nShowFPS=False\r\n");

    // A copy that cannot be read at all (a link to nowhere): the installed
    // file, and the reason.
    fs::remove("home/config/engine.ini");
    fs::create_symlink("gone.ini", "home/config/engine.ini");
    Overlaid();
    tZINIFile Fallback("StdConfig\\engine.ini");
    EXPECT_EQ(Fallback.GetValue("Core", "Audio"), "tAudioSystem");
    ASSERT_EQ(Fallback.SkippedLines.size(), 1u);
    EXPECT_NE(Fallback.SkippedLines[0].view().find("the player's copy that cannot be read"), std::string_view::npos);
}
