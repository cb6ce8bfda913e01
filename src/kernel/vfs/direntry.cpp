#include "kernel/vfs/direntry.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/os/ossystem.h"

namespace {

// Frees a sibling chain one by one: a directory of ten thousand files must not
// become ten thousand nested destructor calls.
void FreeChain(pDirectoryEntry E) {
    while (E) {
        pDirectoryEntry next = E->Next;
        E->Next = nullptr;
        delete E;
        E = next;
    }
}

}  // namespace

tDirectoryEntry::tDirectoryEntry(const ShortString& N, const ShortString& Physical, int32_t A, int32_t T)
    : Attrib(A), Time(T), Name(UpCaseStr(N)), PhysicalName(Physical) {}

tDirectoryEntry::~tDirectoryEntry() {
    FreeChain(Child);
    FreeChain(Next);
}

bool tDirectoryEntry::IsDirectory() const { return (Attrib & faDirectory) != 0; }

void tDirectoryEntry::AddNextEntry(pDirectoryEntry E) {
    pDirectoryEntry last = this;
    while (last->Next) last = last->Next;
    last->Next = E;
}

pDirectoryEntry tDirectoryEntry::AddChildEntry(pDirectoryEntry E) {
    if (!Child) {
        Child = E;
        return E;
    }
    pDirectoryEntry last = nullptr;
    for (pDirectoryEntry c = Child; c; c = c->Next) {
        if (c->Name == E->Name) {
            if (c->IsDirectory() != E->IsDirectory())
                Logger->Fatal("File system was unable to resolve duplicate file name: " + c->Name);
            delete E;
            return c;
        }
        last = c;
    }
    last->Next = E;
    return E;
}
