#pragma once
// One node of the file system's in-memory tree: a file or a directory with its
// physical path. Children of a directory form a singly linked list through
// Next, in the order they were added.

#include <cstdint>
#include "kernel/core/shortstring.h"

struct tDirectoryEntry;
using pDirectoryEntry = tDirectoryEntry*;

struct tDirectoryEntry {
    int32_t Attrib = 0;        // bit 0x10 (faDirectory) marks a directory
    int32_t Time = 0;          // packed DOS date-time
    ShortString Name;          // one path component, upper case
    ShortString PhysicalName;  // the file's or directory's path on the disk
    pDirectoryEntry Child = nullptr;
    pDirectoryEntry Next = nullptr;

    tDirectoryEntry(const ShortString& Name, const ShortString& PhysicalName, int32_t Attrib, int32_t Time);
    // Frees the children and the following siblings with them.
    virtual ~tDirectoryEntry();
    tDirectoryEntry(const tDirectoryEntry&) = delete;
    tDirectoryEntry& operator=(const tDirectoryEntry&) = delete;

    int32_t GetAttrib() const { return Attrib; }
    int32_t GetTime() const { return Time; }
    bool IsDirectory() const;

    void AddNextEntry(pDirectoryEntry E);
    // Adds E to the children and returns the entry that now stands for its
    // name: E itself, or the existing child of the same name (E is then freed),
    // so a directory met twice is merged and the first of two files stays.
    // A file and a directory of the same name are fatal.
    pDirectoryEntry AddChildEntry(pDirectoryEntry E);
};
