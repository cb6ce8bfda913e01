#include "kernel/vfs/filestream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/core/textchars.h"
#include "kernel/os/ossystem.h"
#include "kernel/vfs/ioerrors.h"

namespace {

constexpr int32_t LineBlock = 255;
constexpr mode_t NewFileMode = 0644;

}  // namespace

tFileStream::tFileStream(const ShortString& Name, tFStreamType Type, tFStreamErrors ErrorMode) {
    ProcTrace trace("tFileStream.Init(" + Name + ")");
    Position = 0;
    HaltOnErrors = ErrorMode;
    FileName = Name;
    FileSystem->AssignFile(DFile, Name);
    // An installed file is only ever read: a new one is written to the
    // player's folder, where it hides the installed one.
    const ShortString Writable = FileSystem->WritableNameToPhysical(Name);
    const bool Installed = DFile.Name != Writable;
    if (Installed && Type == FSTREAM_REWRITE) DFile.Name = Writable;

    // A read-only file of the player's is made writable again, as the
    // archive attribute alone.
    struct stat info;
    if (!Installed && stat(DFile.Name.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0)
        chmod(DFile.Name.c_str(), info.st_mode | S_IWUSR);

    if (Type == FSTREAM_REWRITE) {
        DFile.Handle = open(DFile.Name.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, NewFileMode);
    } else if (Installed) {
        DFile.Handle = open(DFile.Name.c_str(), O_RDONLY | O_CLOEXEC);
    } else {
        DFile.Handle = open(DFile.Name.c_str(), O_RDWR | O_CLOEXEC);
        // A file we may not write is still readable.
        if (DFile.Handle < 0 && (errno == EACCES || errno == EROFS))
            DFile.Handle = open(DFile.Name.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (DFile.Handle < 0 || fstat(DFile.Handle, &info) != 0) {
        IOError = IOErrorCode(errno);
        if (DFile.Handle >= 0) close(DFile.Handle);
        DFile.Handle = -1;
        if (HaltOnErrors == FSTREAM_HALTONERRORS) Logger->Fatal(OpenError());
        return;
    }
    Size = Type == FSTREAM_RESET ? static_cast<int32_t>(info.st_size) : 0;
    Open = true;
}

ShortString tFileStream::OpenError() const {
    if (Open) return {};
    return "Unable to open file: \"" + FileName + "\". Error code: " + Int2Str(IOError) + " " + IOErrorText(IOError);
}

tFileStream::~tFileStream() {
    ProcTrace trace("tFileStream.Done()");
    if (DFile.Handle >= 0) close(DFile.Handle);
    DFile.Handle = -1;
    Open = false;
}

void tFileStream::Fail(const char* Operation, int Errno) {
    IOError = IOErrorCode(Errno);
    Logger->Fatal("tFileStream(" + FileName + ")." + Operation + ": error code " + Int2Str(IOError) + " " +
                  IOErrorText(IOError));
}

void tFileStream::BlockRead_A(void* Buf, int32_t Count) {
    if (Count < 0 || Position < 0 || Count > Size - Position)
        Logger->Fatal("tFileStream(" + FileName + ").BlockRead: reading past the end of file");
    int32_t read;
    BlockRead_B(Buf, Count, read);
    if (read != Count) Logger->Fatal("tFileStream(" + FileName + ").BlockRead: reading past the end of file");
}

void tFileStream::BlockRead_B(void* Buf, int32_t Count, int32_t& Read) {
    Read = 0;
    auto* out = static_cast<char*>(Buf);
    while (Read < Count) {
        ssize_t n = read(DFile.Handle, out + Read, static_cast<std::size_t>(Count - Read));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Fail("BlockRead", errno);
        if (n == 0) break;
        Read += static_cast<int32_t>(n);
    }
    Position += Read;
}

void tFileStream::Seek(int32_t Pos) {
    if (lseek(DFile.Handle, Pos, SEEK_SET) < 0) {
        IOError = IOErrorCode(errno);
        if (HaltOnErrors == FSTREAM_HALTONERRORS) Logger->Fatal("tFileStram.Seek");
    }
    Position = Pos;
}

void tFileStream::ReadLine(ShortString& S) {
    S.clear();
    int32_t count = Size - Position < LineBlock ? Size - Position : LineBlock;
    if (count <= 0) return;
    char block[LineBlock];
    int32_t read;
    BlockRead_B(block, count, read);
    int32_t used = read;
    for (int32_t i = 0; i < read; ++i) {
        if (block[i] == LF) {
            used = i + 1;
            break;
        }
        if (block[i] != CR) S += block[i];
    }
    if (used != read) Seek(Position - read + used);
}

int32_t tFileStream::GetPosition() { return Position; }
int32_t tFileStream::FilePos() { return Position; }
int32_t tFileStream::GetSize() { return Size; }
int32_t tFileStream::FileSize() { return Size; }
bool tFileStream::EOF() { return !Open || Position >= Size; }

ShortString tFileStream::GetIOErrorString(int32_t Code) { return IOErrorText(Code); }

void tFileStream::WriteLine(const ShortString& S) {
    static constexpr char LineEnd[] = {CR, LF};
    BlockWrite(S.data(), static_cast<int32_t>(S.size()));
    BlockWrite(LineEnd, sizeof LineEnd);
}

void tFileStream::BlockWrite(const void* Buf, int32_t Count) {
    auto* in = static_cast<const char*>(Buf);
    for (int32_t written = 0; written < Count;) {
        ssize_t n = write(DFile.Handle, in + written, static_cast<std::size_t>(Count - written));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail("BlockWrite", n < 0 ? errno : ENOSPC);
        written += static_cast<int32_t>(n);
    }
    Position += Count;
    if (Position > Size) Size = Position;
}

void tFileStream::GetFTime(int32_t& Time) {
    struct stat info;
    if (fstat(DFile.Handle, &info) != 0) Fail("GetFTime", errno);
    Time = PackDOSDateTime(info.st_mtime);
}
