#include "kernel/console/flightlookup.h"

#include <fstream>
#include <string>

#include "kernel/console/flightfile.h"
#include "kernel/core/globals.h"
#include "kernel/vfs/filemapper.h"
#include "libraries/classes/filesystem.h"

namespace {

bool StartsAsFlight(const ShortString& VirtualName) {
    std::ifstream In(FileSystem->VirtualNameToPhysical(VirtualName).str(), std::ios::binary);
    std::string Start(32, '\0');
    In.read(Start.data(), std::streamsize(Start.size()));
    Start.resize(std::size_t(In.gcount()));
    return LooksLikeFlight(Start);
}

bool Readable(const ShortString& VirtualName) { return tIFileMapper::OpenError(VirtualName).empty(); }

}  // namespace

ShortString RecordedFlightFile(const ShortString& Name) {
    if (Name.empty() || !FileSystem) return {};
    if (Readable(Name)) return StartsAsFlight(Name) ? Name : ShortString();
    for (const ShortString& Candidate : {"Demos\\" + Name, "Demos\\" + Name + ".dem"})
        if (Readable(Candidate) && StartsAsFlight(Candidate)) return Candidate;
    return {};
}
