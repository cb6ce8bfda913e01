#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <filesystem>
#include <string>

#include "kernel/vfs/filemapper.h"
#include "kernel/vfs/filesystem.h"
#include "vfs/vfsfixture.h"

namespace {

namespace fs = std::filesystem;

TEST_F(VFSTest, NamesResolveWithoutRegardToCase) {
    Work.WriteFile("Data/StdConfig/engine.ini", "[Core]\r\n");
    Work.WriteFile("Data/readme.txt", "");
    tVirtualFileSystem& vfs = Mapped();

    pDirectoryEntry ini = vfs.GetDirectoryEntry("StdConfig\\engine.ini");
    ASSERT_NE(ini, nullptr);
    EXPECT_EQ(ini->Name, "ENGINE.INI");
    EXPECT_EQ(ini->PhysicalName, "Data/StdConfig/engine.ini");
    EXPECT_EQ(vfs.GetDirectoryEntry("stdconfig\\ENGINE.INI"), ini);
    EXPECT_EQ(vfs.GetDirectoryEntry("STDCONFIG\\"), vfs.GetDirectoryEntry("StdConfig"));
    EXPECT_EQ(vfs.GetDirectoryEntry("StdConfig")->PhysicalName, "Data/StdConfig");
    EXPECT_EQ(vfs.GetDirectoryEntry("StdConfig/engine.ini"), nullptr);  // only "\" separates
    EXPECT_EQ(vfs.GetDirectoryEntry("StdConfig\\\\engine.ini"), nullptr);
    EXPECT_EQ(vfs.GetDirectoryEntry("readme.txt\\x"), nullptr);

    // The root: "\" and the empty name; a leading "\" resolves nothing.
    EXPECT_EQ(vfs.GetDirectoryEntry("\\"), vfs.Root);
    EXPECT_EQ(vfs.GetDirectoryEntry(""), vfs.Root);
    EXPECT_EQ(vfs.Root->PhysicalName, "Data/");
    EXPECT_TRUE(vfs.FileExists(""));
    EXPECT_TRUE(vfs.FileExists("stdconfig"));
    EXPECT_FALSE(vfs.FileExists("\\StdConfig\\engine.ini"));
    EXPECT_TRUE(vfs.IsFileVirtual("README.TXT"));
    EXPECT_FALSE(vfs.IsFileVirtual("missing.txt"));

    // Names not in the tree still have a physical path below the root.
    EXPECT_EQ(vfs.VirtualNameToPhysical("\\StdConfig\\engine.ini"), "Data/StdConfig/engine.ini");
    EXPECT_EQ(vfs.VirtualNameToPhysical("Screenshots\\shot.bmp"), "Data/Screenshots/shot.bmp");
    EXPECT_EQ(vfs.VirtualNameToPhysical("STDCONFIG\\ENGINE.INI"), "Data/StdConfig/engine.ini");
}

TEST_F(VFSTest, RootDirectoryMustBeNamed) {
    FS = NewObject<tVirtualFileSystem>();
    EXPECT_EXIT(FS->SetRootDir(""), ::testing::ExitedWithCode(255), "No root directory specified");
}

TEST_F(VFSTest, FileTimesArePackedDOSDateTimes) {
    Work.WriteFile("Data/Meshes/ship.ase", "*3DSMAX_ASCIIEXPORT");
    tm t{};
    t.tm_year = 2006 - 1900, t.tm_mon = 4, t.tm_mday = 8, t.tm_hour = 14, t.tm_min = 0, t.tm_sec = 44, t.tm_isdst = -1;
    std::time_t stamp = mktime(&t);
    utimbuf times{stamp, stamp};
    ASSERT_EQ(utime("Data/Meshes/ship.ase", &times), 0);
    tVirtualFileSystem& vfs = Mapped();

    const int32_t packed = (26 << 9 | 5 << 5 | 8) << 16 | (14 << 11 | 22);
    EXPECT_EQ(vfs.GetFileTime("meshes\\SHIP.ASE"), packed);
    EXPECT_EQ(vfs.GetFileTime("\\"), 0);
    EXPECT_EXIT(vfs.GetFileTime("Meshes\\missing.ase"), ::testing::ExitedWithCode(255),
                "File Meshes\\\\missing.ase not found");
}

TEST_F(VFSTest, MountsMergeDirectoriesAndKeepTheFirstFile) {
    Work.WriteFile("Data/Textures/sky.bmp", "base sky");
    Work.WriteFile("Data/Textures/Clouds/a.bmp", "base clouds");
    Work.WriteFile("Mod/SKY.BMP", "mod sky");
    Work.WriteFile("Mod/grass.bmp", "mod grass");
    Work.WriteFile("Mod/clouds/b.bmp", "mod clouds");
    tVirtualFileSystem& vfs = Mapped();

    vfs.Mount("Mod", "textures");
    EXPECT_EQ(vfs.GetDirectoryEntry("Textures\\sky.bmp")->PhysicalName, "Data/Textures/sky.bmp");
    EXPECT_EQ(vfs.GetDirectoryEntry("Textures\\grass.bmp")->PhysicalName, "Mod/grass.bmp");
    EXPECT_EQ(vfs.GetDirectoryEntry("Textures\\Clouds\\a.bmp")->PhysicalName, "Data/Textures/Clouds/a.bmp");
    EXPECT_EQ(vfs.GetDirectoryEntry("Textures\\Clouds\\b.bmp")->PhysicalName, "Mod/clouds/b.bmp");
    // One merged directory, not two of the same name.
    int clouds = 0;
    for (pDirectoryEntry c = vfs.GetDirectoryEntry("Textures")->Child; c; c = c->Next) clouds += c->Name == "CLOUDS";
    EXPECT_EQ(clouds, 1);

    // The first mapping wins wherever it stands among its siblings.
    Work.WriteFile("Mod2/grass.bmp", "later grass");
    vfs.Mount("Mod2/", "Textures\\");
    EXPECT_EQ(vfs.GetDirectoryEntry("Textures\\grass.bmp")->PhysicalName, "Mod/grass.bmp");

    std::string log = Log();
    EXPECT_NE(log.find("\"Mounting file system...\""), std::string::npos);
    EXPECT_NE(log.find("\"...\"Mod\" mapped to: \"textures\"\""), std::string::npos) << log;
}

TEST_F(VFSTest, MountOntoAMissingPointChangesNothing) {
    Work.WriteFile("Data/a.txt", "");
    Work.WriteFile("Mod/b.txt", "");
    tVirtualFileSystem& vfs = Mapped();
    ::testing::internal::CaptureStdout();
    vfs.Mount("Mod", "Nowhere");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Mount point not found\n");
    EXPECT_EQ(vfs.Root->Child->Next, nullptr);
    EXPECT_FALSE(vfs.FileExists("b.txt"));

    ::testing::internal::CaptureStdout();
    vfs.MountC("Mod");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Usage: mount [physical path] [mount point]\n");
    vfs.MountC("\"Mod\" \\");
    EXPECT_TRUE(vfs.FileExists("b.txt"));
}

TEST_F(VFSTest, AFileAndADirectoryOfTheSameNameAreFatal) {
    Work.WriteFile("Data/Sounds/boom.wav", "");
    Work.WriteFile("Mod/sounds", "a file");
    Work.WriteFile("Mod2/Sounds/BOOM.WAV/inner.wav", "");
    tVirtualFileSystem& vfs = Mapped();
    EXPECT_EXIT(vfs.Mount("Mod", "\\"), ::testing::ExitedWithCode(255),
                "File system was unable to resolve duplicate file name: SOUNDS");
    EXPECT_EXIT(vfs.Mount("Mod2", "\\"), ::testing::ExitedWithCode(255),
                "File system was unable to resolve duplicate file name: BOOM.WAV");
}

TEST_F(VFSTest, LinksBackToAnAncestorAreMappedOnce) {
    Work.WriteFile("Data/Levels/One/map.zhm", "");
    ASSERT_EQ(symlink("..", "Data/Levels/One/up"), 0);
    ASSERT_EQ(symlink("..", "Data/Levels/root"), 0);
    ASSERT_EQ(symlink("nowhere", "Data/dangling"), 0);
    tVirtualFileSystem& vfs = Mapped();

    EXPECT_TRUE(vfs.FileExists("Levels\\One\\map.zhm"));
    pDirectoryEntry up = vfs.GetDirectoryEntry("Levels\\One\\Up");
    ASSERT_NE(up, nullptr);
    EXPECT_TRUE(up->IsDirectory());
    EXPECT_EQ(up->Child, nullptr);
    EXPECT_EQ(vfs.GetDirectoryEntry("Levels\\root")->Child, nullptr);
    EXPECT_TRUE(vfs.FileExists("dangling"));
}

TEST_F(VFSTest, CreateDirsMakesTheMissingChain) {
    Work.WriteFile("Data/Cache/old.bin", "");
    tVirtualFileSystem& vfs = Mapped();
    vfs.CreateDirs("Cache\\Meshes\\Big\\");
    EXPECT_TRUE(fs::is_directory("Data/Cache/Meshes/Big"));
    EXPECT_FALSE(vfs.FileExists("Cache\\Meshes"));  // the tree is not rebuilt
    vfs.CreateDirs("Cache\\Meshes\\Big");            // existing directories are fine
    EXPECT_EXIT(vfs.CreateDirs("Cache\\old.bin\\x"), ::testing::ExitedWithCode(255),
                "Unable to create directory: \"Cache\\\\old.bin\\\\x\" Duplicate name for: \"Data/Cache/old.bin\"");
}

TEST_F(VFSTest, WriterFlagsAndContainerFiles) {
    Work.WriteFile("Data/a.txt", "keep");
    tVirtualFileSystem& vfs = Mapped();
    EXPECT_EXIT(vfs.CreateFileWriter("a.txt", {}), ::testing::ExitedWithCode(255), "Unknown WF flags");
    EXPECT_EXIT(vfs.CreateFileWriter("a.txt", {WF_HALTONERRORS, WF_APPEND}), ::testing::ExitedWithCode(255),
                "Unknown WF flags");
    vfs.CreateFileWriter("a.txt", {WF_NOOVERWRITE});
    EXPECT_EQ(ReadWholeFile("Data/a.txt"), "keep");
    vfs.CreateFileWriter("a.txt", {WF_OVERWRITE, WF_NOOVERWRITE});
    EXPECT_EQ(ReadWholeFile("Data/a.txt"), "");

    tVirtualFile vf;
    EXPECT_EXIT(vfs.AssignVirtualFile(vf, "pak.zip::a.txt"), ::testing::ExitedWithCode(255),
                "Virtual files are not implemented yet");
    EXPECT_EXIT(vfs.CreateFileReader("pak.zip::a.txt", {}), ::testing::ExitedWithCode(255),
                "This implementation doen't support virtual files");
}

TEST_F(VFSTest, LoadTextFileJoinsLinesWithCR) {
    Work.WriteFile("Data/Scripts/crlf.cfg", "a\r\nb\r\n");
    Work.WriteFile("Data/Scripts/lf.cfg", "bind x quit\n\nexec y");
    Work.WriteFile("Data/Scripts/long.cfg", std::string(300, 'x') + "\n");
    Work.WriteFile("Data/Scripts/empty.cfg", "");
    tVirtualFileSystem& vfs = Mapped();

    EXPECT_STREQ(vfs.LoadTextFile("Scripts\\crlf.cfg").get(), "a\rb\r");
    EXPECT_STREQ(vfs.LoadTextFile("scripts\\LF.cfg").get(), "bind x quit\r\rexec y\r");
    EXPECT_STREQ(vfs.LoadTextFile("Scripts\\long.cfg").get(), (std::string(255, 'x') + "\r" + std::string(45, 'x') + "\r").c_str());
    EXPECT_STREQ(vfs.LoadTextFile("Scripts\\empty.cfg").get(), "");
    EXPECT_NE(Log().find("\"Program:\""), std::string::npos);
}

}  // namespace
