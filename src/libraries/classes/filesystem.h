#pragma once
// The file system (the global FileSystem): every file the engine reads or writes
// is named by a virtual name such as "StdConfig\engine.ini" and resolved, without
// regard to case, in a tree built once from the root directory "Data\" and from
// whatever is mounted later. "\" separates the components of virtual names;
// physical paths use "/". An installed game has two roots: the player's
// folders lie over the read-only installed data, a file of the player's hides
// the installed one of the same name, and every write goes to the player's.

#include <cstdint>
#include <initializer_list>
#include <memory>

#include "kernel/core/shortstring.h"
#include "kernel/core/stream.h"
#include "kernel/objects/zobject.h"

struct tDirectoryEntry;
using pDirectoryEntry = tDirectoryEntry*;

enum tFStreamType : int32_t { FSTREAM_RESET = 0, FSTREAM_REWRITE = 1 };
enum tFStreamErrors : int32_t { FSTREAM_HALTONERRORS = 0, FSTREAM_REAPORTERRORS = 1 };
enum tReadFlags : int32_t { RF_HALTONERRORS = 0, RF_REAPORTERRORS = 1 };
enum tWriteFlags : int32_t {
    WF_HALTONERRORS = 0,
    WF_REAPORTERRORS = 1,
    WF_OVERWRITE = 2,
    WF_NOOVERWRITE = 3,
    WF_APPEND = 4,
};

// A set of flags as a 32-bit mask in which the flag of ordinal n is bit n:
//   FileSystem->CreateFileWriter(name, {WF_HALTONERRORS, WF_OVERWRITE})
template <typename Flag>
class tFlagSet {
public:
    constexpr tFlagSet() = default;
    constexpr tFlagSet(std::initializer_list<Flag> flags) {
        for (Flag f : flags) Mask |= 1u << static_cast<uint32_t>(f);
    }
    constexpr bool Has(Flag f) const { return (Mask >> static_cast<uint32_t>(f)) & 1u; }
    uint32_t Mask = 0;
};
using tFileReadingFlags = tFlagSet<tReadFlags>;
using tFileWritingFlags = tFlagSet<tWriteFlags>;

// A file stored inside a container file; containers are not supported.
struct tVirtualFile {
    ShortString Name;  // at most 32 characters
    uint8_t Attr = 0;
    int32_t Time = 0, Size = 0, Offset = 0;
    bool Opened = false;
    uint8_t Access = 0;
    uint16_t VFSIndex = 0;
    int32_t FilePos = 0;
};

// A file bound to its physical name by AssignFile, opened by its user.
struct tUntypedFile {
    ShortString Name;  // physical
    int Handle = -1;
};

class tFileSystem : public tZObject {
    Z_DECLARE_CLASS(tFileSystem, tZObject)
public:
    virtual pDirectoryEntry GetDirectoryEntry(const ShortString& Name) = 0;
    // True for files and directories in the tree; the empty name is the root.
    virtual bool FileExists(const ShortString& Name);
    // The packed DOS date-time of a name in the tree; any other name is fatal.
    virtual int32_t GetFileTime(const ShortString& Name);
    virtual void SetRootDir(const ShortString& Dir);
    virtual void Mount(const ShortString& PhysicalPath, const ShortString& MountPoint) = 0;
    virtual void UnMount(const ShortString& MountPoint) = 0;
    virtual void AssignVirtualFile(tVirtualFile& VF, const ShortString& Name) = 0;
    virtual void AssignFile(tUntypedFile& F, const ShortString& Name) = 0;
    virtual void CreateDirs(const ShortString& Path) = 0;
    virtual bool IsFileVirtual(const ShortString& Name) = 0;
    virtual ShortString VirtualNameToPhysical(const ShortString& Name) = 0;
    virtual std::unique_ptr<tXZMLStream> CreateFileReader(const ShortString& Name, tFileReadingFlags Flags) = 0;
    virtual std::unique_ptr<tStream> CreateFileWriter(const ShortString& Name, tFileWritingFlags Flags) = 0;
    // The whole text, each line followed by one CR (13), NUL-terminated.
    virtual std::unique_ptr<char[]> LoadTextFile(const ShortString& Name) = 0;
    // Where a writer of Name creates or replaces the file: in the player's
    // folder, never in the installed data.
    virtual ShortString WritableNameToPhysical(const ShortString& Name) { return VirtualNameToPhysical(Name); }
    // A reader of the installed file of this name, whether the player's own
    // file hides it or not; nullptr when the name has none (no installed data
    // under a player's folder, or a file of the player's alone).
    virtual std::unique_ptr<tXZMLStream> CreateInstalledFileReader(const ShortString& Name) { return nullptr; }

    ShortString RootDir;
};

