#include "kernel/vfs/filemapper.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/core/textchars.h"
#include "kernel/vfs/ioerrors.h"

namespace {

constexpr uint8_t EmptyFile[1] = {0};  // what an empty reader maps
constexpr const char* VirtualFilesUnsupported = "This implementation doen't support virtual files";

// Opens the physical file for mapping; 0, or the errno of the failure (the
// descriptor, if one was opened, is left in File for the caller to close).
int OpenForMapping(const ShortString& PhysicalName, int& File, struct stat& Info) {
    File = open(PhysicalName.c_str(), O_RDONLY | O_CLOEXEC);
    if (File < 0) return errno;
    if (fstat(File, &Info) != 0) return errno;
    if (S_ISDIR(Info.st_mode)) return EISDIR;
    if (Info.st_size > std::numeric_limits<int32_t>::max()) return EFBIG;
    return 0;
}

ShortString OpenErrorText(int32_t IOError, const ShortString& PhysicalName) {
    return "Error code: " + Int2Str(IOError) + " <" + IOErrorText(IOError) + "> \"" + PhysicalName + "\"";
}

}  // namespace

tIFileMapper::tIFileMapper(const ShortString& Name, tFStreamErrors ErrorMode, const ShortString& Physical) {
    ProcTrace trace("tIFileMapper.Init(" + Name + ")");
    FileName = Physical.empty() ? FileSystem->VirtualNameToPhysical(Name) : Physical;
    Logger->Log(Name + " mapped to " + FileName);
    Position = 0;
    HaltOnErrors = ErrorMode;
    if (Name.find("::") != ShortString::npos) Logger->Fatal(VirtualFilesUnsupported);

    struct stat info;
    int error = OpenForMapping(FileName, MapFile, info);
    if (error == 0 && info.st_size > 0) {
        void* view = mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, MapFile, 0);
        if (view == MAP_FAILED)
            error = errno;
        else {
            FileData = static_cast<const uint8_t*>(view);
            Size = static_cast<int32_t>(info.st_size);
        }
    }
    if (error != 0) {
        IOError = IOErrorCode(error);
        Logger->Fatal(OpenErrorText(IOError, FileName));
    }
}

ShortString tIFileMapper::OpenError(const ShortString& Name) {
    if (Name.find("::") != ShortString::npos) return VirtualFilesUnsupported;
    const ShortString physical = FileSystem->VirtualNameToPhysical(Name);
    int file = -1;
    struct stat info;
    const int error = OpenForMapping(physical, file, info);
    if (file >= 0) close(file);
    return error == 0 ? ShortString() : OpenErrorText(IOErrorCode(error), physical);
}

tIFileMapper::~tIFileMapper() {
    if (FileData) munmap(const_cast<uint8_t*>(FileData), static_cast<std::size_t>(Size));
    if (MapFile >= 0) close(MapFile);
}

int32_t tIFileMapper::Remaining() const { return Position >= 0 && Position < Size ? Size - Position : 0; }

void tIFileMapper::BlockRead_A(void* Buf, int32_t Count) {
    ProcTrace trace("tIFileMapper.BlockRead_A()");
    // A position or count outside the file would read outside the mapping.
    if (Count < 0 || Position < 0 || Position > Size || Count > Size - Position)
        Logger->Fatal("tIFileMapper(" + FileName + "). BlockRead: reading past the end of file: " + CR +
                      "Position: " + Int2Str(Position) + CR + "Count   : " + Int2Str(Count) + CR +
                      "Size    : " + Int2Str(Size));
    if (Count > 0) std::memcpy(Buf, FileData + Position, static_cast<std::size_t>(Count));
    Position += Count;
}

void tIFileMapper::BlockRead_B(void* Buf, int32_t Count, int32_t& Read) {
    ProcTrace trace("tIFileMapper.BlockRead_B()");
    int32_t remaining = Remaining();
    Read = Count < remaining ? (Count > 0 ? Count : 0) : remaining;
    if (Read > 0) std::memcpy(Buf, FileData + Position, static_cast<std::size_t>(Read));
    Position += Read;
}

void tIFileMapper::Seek(int32_t Pos) { Position = Pos; }

void tIFileMapper::ReadLine(ShortString& S) {
    S.clear();
    while (Remaining() > 0) {
        char c = static_cast<char>(FileData[Position++]);
        if (c == LF) return;
        if (c == CR) {
            if (Remaining() > 0 && FileData[Position] == LF) ++Position;
            return;
        }
        S += c;  // beyond 255 characters the rest of the line is dropped
    }
}

int32_t tIFileMapper::GetPosition() { return Position + 1; }
int32_t tIFileMapper::GetSize() { return Size; }
int32_t tIFileMapper::FilePos() { return GetPosition(); }
int32_t tIFileMapper::FileSize() { return Size; }
bool tIFileMapper::EOF() { return Position >= Size; }

ShortString tIFileMapper::GetIOErrorString(int32_t Code) { return IOErrorText(Code); }

const uint8_t* tIFileMapper::MapStream() { return FileData ? FileData : EmptyFile; }

const uint8_t* tIFileMapper::MapStreamFromCurrentPos() {
    if (Position < 0 || Position > Size) return nullptr;
    return MapStream() + Position;
}
