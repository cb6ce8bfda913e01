#pragma once
// What the engine and its packages exchange. A package is a shared library in
// the virtual directory "Packages\" that exports, with C linkage:
//
//   bool InitPackage(tPluginAPIStruct* API);         // true: ready
//   int32_t GetPackageContent();                     // how many classes
//   void GetPackage(uint8_t* Record, int32_t Index); // class Index (1-based)
//
// GetPackage fills a class record of PackageRecordSize bytes with
// WritePackageRecord. A record named like a built-in class must set Patch and
// carry a CompilationDate not older than the built-in one; it then replaces it.
// Packages are built against the engine's headers and resolve the engine's
// symbols from the program itself, so their classes derive from the
// program's own classes.

#include <cstddef>
#include <cstdint>

#include "kernel/objects/classdesc.h"

// Pointers are 8 bytes wide in both records on this platform.
inline constexpr std::size_t PackagePointerSize = 8;

// The process's allocator, for packages that must free what the engine
// allocated or the reverse.
struct tMemoryManagerEntries {
    uint8_t NeedLock;
    uint8_t Padding[7];
    void* (*GetMem)(std::size_t Size);
    void (*FreeMem)(void* P);
    void (*FreeMemSize)(void* P, std::size_t Size);
    void* (*AllocMem)(std::size_t Size);  // zeroed
    void* (*ReallocMem)(void* P, std::size_t Size);
    std::size_t (*SizeOfBlock)(void* P);
    std::size_t (*HeapStatus)();  // bytes in use
};

#pragma pack(push, 1)
// The record InitPackage receives. Its layout is fixed (no padding) and _SIZE
// states its size, so a package built for another layout can refuse it.
struct tPluginAPIStruct {
    int32_t _SIZE;
    uint8_t _ENGINEVERSION[256];  // length byte + characters
    void* _LINKER;
    void* _LOGGER;
    void* _WARNING;
    void* _ENGINE;
    void* _OSSYSTEM;
    void* _FILESYSTEM;
    void* _MATHSERVER;
    void* _ENGINEVARS;
    void* _CONSOLE;
    void* _RESOURCES;
    tMemoryManagerEntries _MEMORYMANAGER;
    void* _ENGINEINI;
};
#pragma pack(pop)
static_assert(sizeof(void*) == PackagePointerSize);
static_assert(sizeof(tPluginAPIStruct) == 412);

// The API record filled from the global services.
tPluginAPIStruct MakePluginAPI();
// The engine version text of an API record.
ShortString PluginAPIVersion(const tPluginAPIStruct& API);

// The class record's byte layout: ClassName 81, ExpandsClass 81, StaticClass 8,
// ClassConstructor 4, AbstractErrPtr 8, VersionNeeded 21, CompilationDate 21,
// PackageID 8, PackageName 256, Patch 1; text fields are a length byte and the
// characters, numbers little-endian.
inline constexpr std::size_t PackageRecordSize = 489;

void WritePackageRecord(uint8_t* Record, const tZClass& C);
tZClass ReadPackageRecord(const uint8_t* Record);

using tInitPackageProc = bool (*)(tPluginAPIStruct* API);
using tGetPackageContentProc = int32_t (*)();
using tGetPackageProc = void (*)(uint8_t* Record, int32_t Index);
