#include "kernel/vfs/filesystem.h"

#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/core/textchars.h"
#include "kernel/os/ossystem.h"
#include "kernel/vfs/filemapper.h"
#include "kernel/vfs/filestream.h"

namespace {

constexpr char VirtualSeparator = '\\';
constexpr char PhysicalSeparator = '/';
constexpr std::string_view EveryEntry = "*.*";

// Physical paths take "/" wherever the engine's own names use "\".
ShortString ToPhysical(ShortString Path) {
    for (std::size_t i = 0; i < Path.size(); ++i)
        if (Path[i] == VirtualSeparator) Path[i] = PhysicalSeparator;
    return Path;
}

ShortString WithSeparator(ShortString Dir) {
    if (Dir.empty() || Dir[Dir.size() - 1] != PhysicalSeparator) Dir += PhysicalSeparator;
    return Dir;
}

bool StartsWith(const ShortString& S, const ShortString& Prefix) {
    return !Prefix.empty() && S.view().starts_with(Prefix.view());
}

// The last component of a physical path: the name as the disk spells it.
std::string_view DiskName(const ShortString& Physical) {
    std::string_view P = Physical.view();
    return P.substr(P.find_last_of(PhysicalSeparator) + 1);
}

// Directories already mapped by one walk, by device and inode: a link back to
// an ancestor (or a second way into the same directory) is mapped once.
using tMappedDirs = std::set<std::pair<dev_t, ino_t>>;

}  // namespace

Z_IMPLEMENT_CLASS(tFileSystem,
                  .Operations = {{"GetDirectoryEntry", ZOP_ABSTRACT}, {"FileExists"}, {"GetFileTime"}, {"SetRootDir"},
                                 {"Mount", ZOP_ABSTRACT}, {"UnMount", ZOP_ABSTRACT},
                                 {"AssignVirtualFile", ZOP_ABSTRACT}, {"AssignFile", ZOP_ABSTRACT},
                                 {"CreateDirs", ZOP_ABSTRACT}, {"IsFileVirtual", ZOP_ABSTRACT},
                                 {"VirtualNameToPhysical", ZOP_ABSTRACT}, {"CreateFileReader", ZOP_ABSTRACT},
                                 {"CreateFileWriter", ZOP_ABSTRACT}, {"LoadTextFile", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tVirtualFileSystem,
                  .Operations = {{"GetDirectoryEntry"}, {"Mount"}, {"UnMount"}, {"AssignVirtualFile"},
                                 {"AssignFile"}, {"CreateDirs"}, {"IsFileVirtual"}, {"VirtualNameToPhysical"},
                                 {"CreateFileReader"}, {"CreateFileWriter"}, {"LoadTextFile"}, {"FindChildNode"}},
                  .Published = {ZPublished<&tVirtualFileSystem::PostInit>("PostInit")})

// ---- tFileSystem ---------------------------------------------------------------

bool tFileSystem::FileExists(const ShortString& Name) { return GetDirectoryEntry(Name) != nullptr; }

int32_t tFileSystem::GetFileTime(const ShortString& Name) {
    pDirectoryEntry entry = GetDirectoryEntry(Name);
    if (!entry) Logger->Fatal("File " + Name + " not found");
    return entry->GetTime();
}

void tFileSystem::SetRootDir(const ShortString& Dir) { RootDir = Dir; }

// ---- tVirtualFileSystem: the tree ---------------------------------------------

tVirtualFileSystem::tVirtualFileSystem() { ProcTrace trace("tVirtualFileSystem.Init()"); }

tVirtualFileSystem::~tVirtualFileSystem() {
    ProcTrace trace("tVirtualFileSystem.Done()");
    Logger->Log("Unmounting file system...");
    delete Root;
    Root = nullptr;
}

void tVirtualFileSystem::SetRootDir(const ShortString& Dir) {
    ProcTrace trace("tVirtualFileSystem.SetRootDir(" + Dir + ")");
    if (Dir.empty()) Logger->Fatal("No root directory specified");
    RootDir = WithSeparator(ToPhysical(Dir));
    InstalledDir = ShortString();
    UserFolders = {{{}, RootDir}};
    HiddenInstalled.clear();
    delete Root;
    Root = new tDirectoryEntry(ShortString(VirtualSeparator), RootDir, faDirectory, 0);
    MapFileSystem(RootDir, Root);
}

// The player's folders are mapped first, so that where a name is met twice
// the player's file is the one the tree keeps; the installed data fills in
// the rest.
void tVirtualFileSystem::SetRoots(const ShortString& Installed, const std::vector<tUserFolder>& Folders) {
    ProcTrace trace("tVirtualFileSystem.SetRoots(" + Installed + ")");
    if (Installed.empty() || Folders.empty() || !Folders[0].VirtualDir.empty() || Folders[0].PhysicalDir.empty())
        Logger->Fatal("No root directory specified");
    RootDir = WithSeparator(ToPhysical(Folders[0].PhysicalDir));
    InstalledDir = WithSeparator(ToPhysical(Installed));
    UserFolders.clear();
    HiddenInstalled.clear();
    delete Root;
    Root = new tDirectoryEntry(ShortString(VirtualSeparator), RootDir, faDirectory, 0);
    for (const tUserFolder& Folder : Folders) {
        tUserFolder& Added = UserFolders.emplace_back(tUserFolder{Folder.VirtualDir, WithSeparator(ToPhysical(Folder.PhysicalDir))});
        if (Added.VirtualDir.empty()) continue;
        if (Added.VirtualDir[Added.VirtualDir.size() - 1] != VirtualSeparator) Added.VirtualDir += VirtualSeparator;
        const ShortString Name = Added.VirtualDir.substr(0, Added.VirtualDir.size() - 1);
        const ShortString Physical = Added.PhysicalDir.substr(0, Added.PhysicalDir.size() - 1);
        MapInto(Added.PhysicalDir, Root->AddChildEntry(new tDirectoryEntry(Name, Physical, faDirectory, 0)), false);
    }
    MapInto(RootDir, Root, false);
    MapInto(InstalledDir, Root, true);
}

namespace {

// Installed files that a file already in the tree hides, with their paths.
using tHiddenFiles = std::unordered_map<pDirectoryEntry, ShortString>;

void MapDirectory(ShortString Dir, pDirectoryEntry Entry, tMappedDirs& Mapped, tHiddenFiles* Hidden) {
    Logger->Log("...mapping: " + Quoted(Dir) + " to " + Quoted(Entry->Name));
    if (Dir.empty() || Dir[Dir.size() - 1] != PhysicalSeparator) Dir += PhysicalSeparator;

    struct stat info;
    if (stat(Dir.c_str(), &info) == 0 && !Mapped.emplace(info.st_dev, info.st_ino).second) {
        Logger->Log("...already mapped: " + Quoted(Dir));
        return;
    }

    tSearchRec search;
    for (int32_t status = OSSystem->FindFirst(Dir + EveryEntry, search); status == 0;
         status = OSSystem->FindNext(search)) {
        const ShortString& name = search.Name;
        bool isDir = (search.Attr & faDirectory) != 0;
        if (isDir && (name == "." || name == "..")) continue;
        // A path the engine's 255-character names cannot hold would be cut
        // into the name of some other file.
        if (Dir.size() + name.size() >= ShortString::Capacity) {
            Logger->Log("...skipped, path too long: " + Dir + name);
            continue;
        }
        pDirectoryEntry added = Entry->AddChildEntry(new tDirectoryEntry(name, Dir + name, search.Attr, search.Time));
        if (isDir) MapDirectory(Dir + name, added, Mapped, Hidden);
        else if (Hidden && added->PhysicalName != Dir + name) Hidden->emplace(added, Dir + name);
    }
}

}  // namespace

void tVirtualFileSystem::MapFileSystem(const ShortString& Dir, pDirectoryEntry Entry) { MapInto(Dir, Entry, false); }

void tVirtualFileSystem::MapInto(const ShortString& Dir, pDirectoryEntry Entry, bool Installed) {
    tMappedDirs mapped;
    MapDirectory(ToPhysical(Dir), Entry, mapped, Installed ? &HiddenInstalled : nullptr);
}

bool tVirtualFileSystem::IsInstalled(const ShortString& Physical) const {
    return StartsWith(WithSeparator(Physical), InstalledDir);
}

pDirectoryEntry tVirtualFileSystem::FindChildNode(pDirectoryEntry Parent, const ShortString& Name) {
    if (!Parent) return nullptr;
    ShortString upper = UpCaseStr(Name);
    for (pDirectoryEntry c = Parent->Child; c; c = c->Next)
        if (c->Name == upper) return c;
    return nullptr;
}

pDirectoryEntry tVirtualFileSystem::GetDirectoryEntry(const ShortString& Name) {
    if (Name == "\\") return Root;
    pDirectoryEntry current = Root;
    std::string_view rest = Name.view();
    while (!rest.empty() && current) {
        std::size_t sep = rest.find(VirtualSeparator);
        std::string_view component = sep == std::string_view::npos ? rest : rest.substr(0, sep + 1);
        rest.remove_prefix(component.size());
        // A lone "\" stays a component of its own, which no child matches.
        if (component.size() > 1 && component.back() == VirtualSeparator) component.remove_suffix(1);
        current = FindChildNode(current, component);
    }
    return current;
}

bool tVirtualFileSystem::IsFileVirtual(const ShortString& Name) {
    pDirectoryEntry entry = GetDirectoryEntry(Name);
    return entry && !entry->PhysicalName.empty();
}

ShortString tVirtualFileSystem::VirtualNameToPhysical(const ShortString& Name) {
    ProcTrace trace("tVirtualFileSystem.VirtualNameToPhysical(" + Name + ")");
    pDirectoryEntry entry = GetDirectoryEntry(Name);
    if (!entry) return WritableNameToPhysical(Name);
    if (!IsInstalled(entry->PhysicalName)) return entry->PhysicalName;
    // The player may have written the file since the tree was built: theirs
    // hides the installed one from then on.
    const ShortString own = WritableNameToPhysical(Name);
    struct stat info;
    return stat(own.c_str(), &info) == 0 ? own : entry->PhysicalName;
}

// In the player's folder that takes the name's top directory (or the root
// one), below the deepest directory of its path that the tree knows: a
// directory the disk spells in another letter case takes the file rather than
// a new one beside it, and one the installed data has is spelled its way.
ShortString tVirtualFileSystem::WritableNameToPhysical(const ShortString& Name) {
    std::string_view rest = Name.view();
    if (!rest.empty() && rest.front() == VirtualSeparator) rest.remove_prefix(1);
    if (UserFolders.empty()) return ToPhysical(RootDir + rest);
    const tUserFolder* folder = &UserFolders[0];
    pDirectoryEntry dir = Root;
    for (std::size_t i = 1; i < UserFolders.size(); ++i) {
        const std::string_view top = UserFolders[i].VirtualDir.view();
        if (UpCaseStr(ShortString(rest.substr(0, top.size()))) != UpCaseStr(UserFolders[i].VirtualDir) &&
            UpCaseStr(ShortString(rest)) != UpCaseStr(ShortString(top.substr(0, top.size() - 1))))
            continue;
        folder = &UserFolders[i];
        dir = FindChildNode(Root, ShortString(top.substr(0, top.size() - 1)));
        rest.remove_prefix(std::min(rest.size(), top.size()));
        break;
    }
    ShortString base = folder->PhysicalDir;
    while (dir && !rest.empty()) {
        const std::size_t sep = rest.find(VirtualSeparator);
        pDirectoryEntry child = FindChildNode(dir, ShortString(rest.substr(0, sep)));
        if (!child) break;
        const ShortString spelled = StartsWith(child->PhysicalName, folder->PhysicalDir)
                                        ? child->PhysicalName
                                        : base + DiskName(child->PhysicalName);
        if (sep == std::string_view::npos) return spelled;
        if (!child->IsDirectory()) break;
        base = spelled + PhysicalSeparator;
        rest.remove_prefix(sep + 1);
        dir = child;
    }
    return ToPhysical(base + rest);
}

std::unique_ptr<tXZMLStream> tVirtualFileSystem::CreateInstalledFileReader(const ShortString& Name) {
    pDirectoryEntry entry = GetDirectoryEntry(Name);
    if (!entry || entry->IsDirectory()) return nullptr;
    if (auto hidden = HiddenInstalled.find(entry); hidden != HiddenInstalled.end())
        return std::make_unique<tIFileMapper>(Name, FSTREAM_HALTONERRORS, hidden->second);
    if (!IsInstalled(entry->PhysicalName)) return nullptr;
    return std::make_unique<tIFileMapper>(Name, FSTREAM_HALTONERRORS, entry->PhysicalName);
}

// ---- Mounting and directories -------------------------------------------------

void tVirtualFileSystem::Mount(const ShortString& PhysicalPath, const ShortString& MountPoint) {
    ProcTrace trace("tVirtualFileSystem.Mount(" + PhysicalPath + "," + MountPoint + ")");
    pDirectoryEntry point = GetDirectoryEntry(MountPoint);
    if (!point) {
        Warning->Log("Mount point not found");
        return;
    }
    Logger->Log("Mounting file system...");
    MapFileSystem(PhysicalPath, point);
    Logger->Log("..." + Quoted(PhysicalPath) + " mapped to: " + Quoted(MountPoint));
}

void tVirtualFileSystem::UnMount(const ShortString& MountPoint) {
    ProcTrace trace("tVirtualFileSystem.UnMount(" + MountPoint + ")");
}

void tVirtualFileSystem::CreateDirs(const ShortString& Path) {
    ProcTrace trace("tVirtualFileSystem.CreateDirs(" + Path + ")");
    ShortString physical = WritableNameToPhysical(Path);
    std::string_view p = physical.view();
    while (p.size() > 1 && p.back() == PhysicalSeparator) p.remove_suffix(1);
    // Every prefix that ends before a "/", then the whole path.
    for (std::size_t end = p.find(PhysicalSeparator, 1);; end = p.find(PhysicalSeparator, end + 1)) {
        ShortString prefix(p.substr(0, end));
        if (!prefix.empty()) {
            struct stat info;
            if (stat(prefix.c_str(), &info) == 0) {
                Logger->Log(prefix);
                if (!S_ISDIR(info.st_mode))
                    Logger->Fatal("Unable to create directory: " + Quoted(Path) + " Duplicate name for: " + Quoted(prefix));
            } else {
                mkdir(prefix.c_str(), 0755);  // a failure shows when the directory is used
            }
        }
        if (end == std::string_view::npos) break;
    }
}

// ---- Files ----------------------------------------------------------------------

void tVirtualFileSystem::AssignVirtualFile(tVirtualFile& VF, const ShortString& Name) {
    ProcTrace trace("tVirtualFileSystem.AssignVirtualFile(" + Name + ")");
    Logger->Fatal("Virtual files are not implemented yet");
}

void tVirtualFileSystem::AssignFile(tUntypedFile& F, const ShortString& Name) {
    ProcTrace trace("tVirtualFileSystem.AssignFile(" + Name + ")");
    F.Name = VirtualNameToPhysical(Name);
    Logger->Log(Quoted(Name) + " mapped to: " + Quoted(F.Name));
}

std::unique_ptr<tXZMLStream> tVirtualFileSystem::CreateFileReader(const ShortString& Name, tFileReadingFlags) {
    return std::make_unique<tIFileMapper>(Name, FSTREAM_HALTONERRORS);
}

std::unique_ptr<tStream> tVirtualFileSystem::CreateFileWriter(const ShortString& Name, tFileWritingFlags Flags) {
    if (!Flags.Has(WF_OVERWRITE) && !Flags.Has(WF_NOOVERWRITE)) Logger->Fatal("Unknown WF flags");
    tFStreamType type = Flags.Has(WF_OVERWRITE) ? FSTREAM_REWRITE : FSTREAM_RESET;
    return std::make_unique<tFileStream>(Name, type, FSTREAM_HALTONERRORS);
}

std::unique_ptr<char[]> tVirtualFileSystem::LoadTextFile(const ShortString& Name) {
    ProcTrace trace("tVirtualFileSystem.LoadTextFile()");
    std::unique_ptr<tStream> stream = CreateFileWriter(Name, {WF_HALTONERRORS, WF_NOOVERWRITE});
    std::string text;
    text.reserve(static_cast<std::size_t>(stream->GetSize()) + 1);
    ShortString line;
    while (!stream->EOF()) {
        stream->ReadLine(line);
        text += line.view();
        text += '\r';
    }
    stream.reset();
    auto block = std::make_unique<char[]>(text.size() + 1);
    text.copy(block.get(), text.size());
    block[text.size()] = '\0';
    Logger->Log("Program:");
    Logger->LogP(block.get());
    return block;
}
