#pragma once
// The engine's file system (see libraries/classes/filesystem.h): a tree of
// directory entries built from the root directory and the mounted ones.

#include "kernel/vfs/direntry.h"
#include "libraries/classes/commandbindings.h"
#include "libraries/classes/filesystem.h"

class tVirtualFileSystem : public tFileSystem {
    Z_DECLARE_CLASS(tVirtualFileSystem, tFileSystem)
public:
    tVirtualFileSystem();
    ~tVirtualFileSystem() override;

    pDirectoryEntry GetDirectoryEntry(const ShortString& Name) override;
    void SetRootDir(const ShortString& Dir) override;
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
    tCommandBindings Commands;  // "Mount"
};
