#include "net/client/recentservers.h"

#include <algorithm>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/vfs/inifile.h"
#include "libraries/classes/console.h"
#include "net/session/clientsession.h"

namespace {

constexpr size_t MaxAddressLength = 64;
constexpr const char* KeyPrefix = "Server";

}  // namespace

bool tRecentServers::IsServerAddress(const std::string& Text) {
    if (Text.empty() || Text.size() > MaxAddressLength) return false;
    if (!std::all_of(Text.begin(), Text.end(), [](char C) { return C > ' ' && C < 127; })) return false;
    std::string Host;
    uint16_t Port = 0;
    return SplitHostPort(Text, Host, Port);
}

void tRecentServers::Load() {
    List.clear();
    ++Changes;
    if (!EngineINI) return;
    for (const tINIKey* Line = EngineINI->FirstKey(Section); Line; Line = Line->Next) {
        const std::string Address = Trim(Line->Value).c_str();
        const bool Known = std::find(List.begin(), List.end(), Address) != List.end();
        if (!IsServerAddress(Address) || Known || static_cast<int32_t>(List.size()) >= MaxKept) {
            const ShortString Skipped = "Recent server skipped: " + Line->Name + "=" + Line->Value;
            if (Console) Console->DisplayError(Skipped);
            if (Logger) Logger->Log(Skipped);
            continue;
        }
        List.push_back(Address);
    }
}

void tRecentServers::Remember(const std::string& Address) {
    if (!IsServerAddress(Address)) return;
    List.erase(std::remove(List.begin(), List.end(), Address), List.end());
    List.insert(List.begin(), Address);
    if (static_cast<int32_t>(List.size()) > MaxKept) List.resize(MaxKept);
    ++Changes;
    Store();
}

// Written whole, in order, at once: the file itself is saved at exit.
void tRecentServers::Store() const {
    if (!EngineINI) return;
    EngineINI->ClearSection(Section);
    for (size_t I = 0; I < List.size(); ++I)
        EngineINI->SetValue(Section, ShortString(KeyPrefix) + Int2Str(static_cast<int64_t>(I + 1)), ShortString(List[I].c_str()));
}
