#pragma once
// The OS services on POSIX systems.

#include "kernel/os/ossystem.h"

// Shared libraries through dlopen.
class tWinOSLibrary : public tOSLibrary {
public:
    explicit tWinOSLibrary(const ShortString& FileName);
    ~tWinOSLibrary() override;
    void* GetProc(const char* Name) override;

    void* Handle = nullptr;  // nullptr: nothing is loaded
    ShortString FileName;    // exactly as passed to the constructor
};

// POSIX implementation: uname, dlopen, opendir/readdir with fnmatch.
class tWinOSSystem : public tOSSystem {
public:
    ShortString GetOSVersion() override;
    std::unique_ptr<tOSLibrary> LoadLibrary(const ShortString& Name) override;
    int32_t GetSysLastError() override;
    int32_t FindFirst(const ShortString& Mask, tSearchRec& SR) override;
    int32_t FindNext(tSearchRec& SR) override;

private:
    int32_t LastError = 0;
};
