// Where an installed game, a portable copy and a run with --data and --home
// find their folders.

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "common/testenv.h"
#include "kernel/os/gamepaths.h"

namespace {

class GamePathsTest : public EngineTest {
protected:
    std::string Root() const { return Work.Path().string() + "/"; }
    TGamePathsResult Find(const std::string& Data = {}, const std::string& Home = {}) {
        TGamePathsContext C;
        C.DataOption = Data;
        C.HomeOption = Home;
        C.WorkingDirectory = Root() + "cwd";
        C.ExecutableDirectory = Root() + "usr/bin";
        C.Environment = [this](const char* Name) -> const char* {
            auto Found = Env.find(Name);
            return Found == Env.end() ? nullptr : Found->second.c_str();
        };
        return FindGamePaths(C);
    }
    std::map<std::string, std::string> Env{{"HOME", "/home/pilot"}};
};

}  // namespace

TEST_F(GamePathsTest, InstalledDataAndTheXdgFolders) {
    Work.WriteFile("cwd/notes.txt", "");
    TGamePathsResult R = Find();
    EXPECT_NE(R.Error.find("--data DIR"), std::string::npos) << R.Error;

    Work.WriteFile("usr/share/halvardine/StdConfig/engine.ini", "");
    R = Find();
    ASSERT_EQ(R.Error, "");
    EXPECT_FALSE(R.Paths.Portable);
    EXPECT_EQ(R.Paths.InstalledData, Root() + "usr/share/halvardine/");
    EXPECT_EQ(R.Paths.UserData, "/home/pilot/.local/share/halvardine/");
    EXPECT_EQ(R.Paths.UserConfig, "/home/pilot/.config/halvardine/");
    EXPECT_EQ(R.Paths.UserCache, "/home/pilot/.cache/halvardine/");

    // The variables when absolute; a relative one is ignored.
    Env["XDG_DATA_HOME"] = "/srv/data/";
    Env["XDG_CONFIG_HOME"] = "relative/config";
    Env["XDG_CACHE_HOME"] = "/tmp/cache";
    R = Find();
    EXPECT_EQ(R.Paths.UserData, "/srv/data/halvardine/");
    EXPECT_EQ(R.Paths.UserConfig, "/home/pilot/.config/halvardine/");
    EXPECT_EQ(R.Paths.UserCache, "/tmp/cache/halvardine/");

    // An unpacked archive's Data/ beside the executable comes first.
    Work.WriteFile("usr/bin/Data/StdConfig/engine.ini", "");
    EXPECT_EQ(Find().Paths.InstalledData, Root() + "usr/bin/Data/");
}

TEST_F(GamePathsTest, OptionsAndThePortableCopy) {
    Work.WriteFile("cwd/Data/StdConfig/engine.ini", "");
    // A working directory holding the game's data is a portable copy.
    TGamePathsResult R = Find();
    ASSERT_EQ(R.Error, "");
    EXPECT_TRUE(R.Paths.Portable);
    EXPECT_EQ(R.Paths.InstalledData, Root() + "cwd/Data/");
    EXPECT_EQ(R.Paths.UserConfig, Root() + "cwd/Data/");

    // --home alone reads that copy and writes everything to one folder,
    // relative to the working directory, laid out as the data is.
    R = Find("", "../me");
    ASSERT_EQ(R.Error, "");
    EXPECT_FALSE(R.Paths.Portable);
    EXPECT_EQ(R.Paths.InstalledData, Root() + "cwd/Data/");
    EXPECT_EQ(R.Paths.UserData, Root() + "me/");
    EXPECT_EQ(R.Paths.UserConfig, Root() + "me/StdConfig/");
    EXPECT_EQ(R.Paths.UserCache, Root() + "me/Cache/");

    // --data must name game data, and may not be the player's folder.
    Work.WriteFile("elsewhere/readme", "");
    EXPECT_NE(Find("../elsewhere").Error.find("no game data in"), std::string::npos);
    EXPECT_NE(Find("Data", "Data").Error.find("may not be the installed data"), std::string::npos);
    R = Find("Data", "/tmp/h");
    EXPECT_EQ(R.Paths.InstalledData, Root() + "cwd/Data/");
    EXPECT_FALSE(R.Paths.Portable);
}
