#pragma once
// The OS services object (the global OSSystem): the operating system's version
// text, shared libraries, the last OS error and directory search. Every call the
// engine makes into the operating system for these sits behind this class, so
// another platform replaces only its implementation (here tWinOSSystem,
// kernel/os/winossystem.h).

#include <cstdint>
#include <ctime>
#include <memory>
#include "kernel/core/shortstring.h"

// Attribute bits of a directory-search result.
constexpr int32_t faReadOnly = 0x01;
constexpr int32_t faDirectory = 0x10;
constexpr int32_t faArchive = 0x20;

// Status of FindFirst/FindNext when nothing (more) matches.
constexpr int32_t ERROR_NO_MORE_FILES = 18;

// A modification time as the packed DOS date-time: date in the high 16 bits
// ((year - 1980) << 9 | month << 5 | day), time in the low 16 bits
// (hour << 11 | minute << 5 | second / 2), local time. Times before 1980 give
// 1980-01-01 00:00:00, times after 2107 give 2107-12-31 23:59:58.
int32_t PackDOSDateTime(std::time_t Time);

// An open directory search between FindFirst and FindNext, and after each
// successful call the entry found: Name without its directory, its attributes
// and its time. Closes the search when it goes out of scope.
class tSearchRec {
public:
    tSearchRec() = default;
    ~tSearchRec();
    tSearchRec(const tSearchRec&) = delete;
    tSearchRec& operator=(const tSearchRec&) = delete;

    ShortString Name;
    int32_t Attr = 0;
    int32_t Time = 0;
    int64_t Size = 0;

private:
    friend class tWinOSSystem;
    void Close();
    void* Handle = nullptr;  // the open directory stream
    ShortString Dir;         // ends in "/" (empty for the working directory)
    ShortString Pattern;     // empty: every entry
};

class tOSLibrary {
public:
    tOSLibrary() = default;
    virtual ~tOSLibrary() = default;
    tOSLibrary(const tOSLibrary&) = delete;
    tOSLibrary& operator=(const tOSLibrary&) = delete;

    // The address of the exported symbol Name, or nullptr when there is none.
    virtual void* GetProc(const char* Name) = 0;
};

class tOSSystem {
public:
    tOSSystem() = default;
    virtual ~tOSSystem() = default;
    tOSSystem(const tOSSystem&) = delete;
    tOSSystem& operator=(const tOSSystem&) = delete;

    virtual ShortString GetOSVersion() = 0;
    // The loaded library, or nullptr when the operating system cannot load it
    // (GetSysLastError then tells why).
    virtual std::unique_ptr<tOSLibrary> LoadLibrary(const ShortString& Name) = 0;
    virtual int32_t GetSysLastError() = 0;
    // Mask is a directory and a wildcard pattern ("Data/Packages/*.so"); "*.*"
    // matches every entry, as it does on DOS. Both return the search status:
    // 0 when an entry was found (its name is in SR.Name), non-zero when nothing
    // (more) matches. Entries come in the order the operating system yields
    // them, "." and ".." included.
    virtual int32_t FindFirst(const ShortString& Mask, tSearchRec& SR) = 0;
    virtual int32_t FindNext(tSearchRec& SR) = 0;
};
