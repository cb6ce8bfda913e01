#pragma once
// The engine's file system (see libraries/classes/filesystem.h): a tree of
// directory entries built from the root directory and the mounted ones.

#include <unordered_map>
#include <vector>

#include "kernel/vfs/direntry.h"
#include "libraries/classes/commandbindings.h"
#include "libraries/classes/filesystem.h"

// A folder of the player's and the virtual directory it takes the files of:
// "" for the root, or one top directory such as "StdConfig\".
struct tUserFolder {
    ShortString VirtualDir;
    ShortString PhysicalDir;
};

class tVirtualFileSystem : public tFileSystem {
    Z_DECLARE_CLASS(tVirtualFileSystem, tFileSystem)
public:
    tVirtualFileSystem();
    ~tVirtualFileSystem() override;

    pDirectoryEntry GetDirectoryEntry(const ShortString& Name) override;
    // One writable root that holds everything (a portable copy, tests).
    void SetRootDir(const ShortString& Dir) override;
    // The installed, read-only data under the player's folders; Folders[0]
    // is the player's root (VirtualDir ""), the others take a top directory.
    void SetRoots(const ShortString& InstalledDir, const std::vector<tUserFolder>& Folders);
    void Mount(const ShortString& PhysicalPath, const ShortString& MountPoint) override;
    void UnMount(const ShortString& MountPoint) override;
    void AssignVirtualFile(tVirtualFile& VF, const ShortString& Name) override;
    void AssignFile(tUntypedFile& F, const ShortString& Name) override;
    void CreateDirs(const ShortString& Path) override;
    bool IsFileVirtual(const ShortString& Name) override;
    ShortString VirtualNameToPhysical(const ShortString& Name) override;
    std::unique_ptr<tXZMLStream> CreateFileReader(const ShortString& Name, tFileReadingFlags Flags) override;
    std::unique_ptr<tStream> CreateFileWriter(const ShortString& Name, tFileWritingFlags Flags) override;
    std::unique_ptr<char[]> LoadTextFile(const ShortString& Name) override;
    ShortString WritableNameToPhysical(const ShortString& Name) override;
    std::unique_ptr<tXZMLStream> CreateInstalledFileReader(const ShortString& Name) override;
    // The child of Parent named Name (any case), or nullptr.
    virtual pDirectoryEntry FindChildNode(pDirectoryEntry Parent, const ShortString& Name);

    // Adds the physical tree below Dir to Entry's children, merging by name.
    void MapFileSystem(const ShortString& Dir, pDirectoryEntry Entry);
    // Container files are not supported: maps nothing.
    void MapContainerFile(const ShortString& Name, pDirectoryEntry Entry) {}
    // The console command "Mount <physical path> <mount point>".
    void MountC(const ShortString& Params);
    // Joins the running engine: registers "Mount" with the console.
    void PostInit();

    pDirectoryEntry Root = nullptr;

private:
    // The installed data ("" when the root is writable): its files are read,
    // never written.
    ShortString InstalledDir;
    std::vector<tUserFolder> UserFolders;
    // Installed files hidden by the player's file of the same name.
    std::unordered_map<pDirectoryEntry, ShortString> HiddenInstalled;

    bool IsInstalled(const ShortString& Physical) const;
    void MapInto(const ShortString& Dir, pDirectoryEntry Entry, bool Installed);
    tCommandBindings Commands;  // "Mount"
};
