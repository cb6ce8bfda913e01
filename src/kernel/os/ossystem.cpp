#include "kernel/os/winossystem.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <sys/utsname.h>

#include <cerrno>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"

namespace {

constexpr int DOSEpochYear = 1980;
constexpr int DOSLastYear = 2107;  // seven bits of years
constexpr std::string_view EveryEntryPattern = "*.*";

}  // namespace

int32_t PackDOSDateTime(std::time_t Time) {
    tm local;
    if (!localtime_r(&Time, &local)) return (1 << 5 | 1) << 16;  // 1980-01-01
    int year = local.tm_year + 1900;
    if (year < DOSEpochYear) return (1 << 5 | 1) << 16;
    if (year > DOSLastYear) {
        year = DOSLastYear;
        local = tm{};
        local.tm_mon = 11;
        local.tm_mday = 31;
        local.tm_hour = 23;
        local.tm_min = 59;
        local.tm_sec = 58;
    }
    uint32_t date = static_cast<uint32_t>((year - DOSEpochYear) << 9 | (local.tm_mon + 1) << 5 | local.tm_mday);
    uint32_t time = static_cast<uint32_t>(local.tm_hour << 11 | local.tm_min << 5 | local.tm_sec / 2);
    return static_cast<int32_t>(date << 16 | time);
}

// ---- tSearchRec --------------------------------------------------------------

tSearchRec::~tSearchRec() { Close(); }

void tSearchRec::Close() {
    if (Handle) closedir(static_cast<DIR*>(Handle));
    Handle = nullptr;
}

// ---- tWinOSLibrary -----------------------------------------------------------

tWinOSLibrary::tWinOSLibrary(const ShortString& Name) : FileName(Name) {
    Handle = dlopen(FileName.c_str(), RTLD_NOW | RTLD_LOCAL);
}

tWinOSLibrary::~tWinOSLibrary() {
    if (Handle) dlclose(Handle);
}

void* tWinOSLibrary::GetProc(const char* Name) { return Handle ? dlsym(Handle, Name) : nullptr; }

// ---- tWinOSSystem ------------------------------------------------------------

ShortString tWinOSSystem::GetOSVersion() {
    utsname info;
    if (uname(&info) != 0) return "Unknown operating system";
    return ShortString(info.sysname) + " " + info.release;
}

std::unique_ptr<tOSLibrary> tWinOSSystem::LoadLibrary(const ShortString& Name) {
    auto library = std::make_unique<tWinOSLibrary>(Name);
    if (library->Handle) return library;
    // dlopen explains itself only in dlerror()'s text. A path that names no
    // file gives that file's error; a name searched on the library path was
    // not found there; anything else is no library this process can load.
    struct stat info;
    if (Name.find('/') == ShortString::npos)
        LastError = ENOENT;
    else
        LastError = stat(Name.c_str(), &info) != 0 ? errno : ENOEXEC;
    const char* reason = dlerror();
    if (Logger && reason) Logger->Log(ShortString("dlopen: ") + reason);
    return nullptr;
}

int32_t tWinOSSystem::GetSysLastError() { return LastError; }

int32_t tWinOSSystem::FindFirst(const ShortString& Mask, tSearchRec& SR) {
    SR.Close();
    std::size_t slash = Mask.view().rfind('/');
    SR.Dir = slash == std::string_view::npos ? ShortString() : Mask.substr(0, slash + 1);
    SR.Pattern = slash == std::string_view::npos ? Mask : Mask.substr(slash + 1);
    if (SR.Pattern == EveryEntryPattern) SR.Pattern.clear();

    DIR* dir = opendir(SR.Dir.empty() ? "." : SR.Dir.c_str());
    if (!dir) {
        LastError = errno;
        return LastError;
    }
    SR.Handle = dir;
    return FindNext(SR);
}

int32_t tWinOSSystem::FindNext(tSearchRec& SR) {
    DIR* dir = static_cast<DIR*>(SR.Handle);
    if (!dir) {
        LastError = ERROR_NO_MORE_FILES;
        return LastError;
    }
    while (dirent* entry = readdir(dir)) {
        if (!SR.Pattern.empty() && fnmatch(SR.Pattern.c_str(), entry->d_name, 0) != 0) continue;
        ShortString path = SR.Dir + entry->d_name;
        struct stat info;
        // A link is what it points to; a dangling link is an ordinary file.
        if (stat(path.c_str(), &info) != 0 && lstat(path.c_str(), &info) != 0) continue;
        SR.Name = entry->d_name;
        SR.Attr = S_ISDIR(info.st_mode) ? faDirectory : faArchive;
        if ((info.st_mode & S_IWUSR) == 0) SR.Attr |= faReadOnly;
        SR.Time = PackDOSDateTime(info.st_mtime);
        SR.Size = info.st_size;
        return 0;
    }
    SR.Close();
    LastError = ERROR_NO_MORE_FILES;
    return LastError;
}
