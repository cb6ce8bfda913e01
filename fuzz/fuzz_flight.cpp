// A recorded flight (Demos\*.dem): read as "PlayDemo" and "TimeDemo" read
// it. A refused file carries its reason; an accepted one is written back and
// read again to the same text.

#include <cstdlib>
#include <string>
#include <string_view>

#include "kernel/console/flightfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    const std::string_view Text(reinterpret_cast<const char*>(Data), Size);
    tRecordedFlight Flight;
    const std::string Error = ReadFlight(Text, Flight);
    if (!Error.empty()) return 0;
    const std::string Written = WriteFlight(Flight);
    tRecordedFlight Again;
    if (!ReadFlight(Written, Again).empty() || WriteFlight(Again) != Written) std::abort();
    return 0;
}
