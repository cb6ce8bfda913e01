#include "kernel/platform/savedbindings.h"

#include "kernel/console/console.h"
#include "kernel/console/keynames.h"
#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "kernel/vfs/inifile.h"

namespace {

constexpr int KeyCount = 256;

struct tStartupBindings {
    bool Taken = false;
    ShortString Command[KeyCount];
};
tStartupBindings Startup;

}  // namespace

void ApplySavedBindings() {
    tEngineConsole* C = GameConsole();
    if (!C || !EngineINI) return;
    for (int K = 0; K < KeyCount; ++K) Startup.Command[K] = C->GetBinding(static_cast<uint8_t>(K));
    Startup.Taken = true;
    for (const tINIKey* Line = EngineINI->FirstKey(BindingsSection); Line; Line = Line->Next) {
        const uint8_t Key = KeyCodeByName(UpCaseStr(Line->Name));
        if (Key == 0) {
            Console->DisplayError("Saved binding for a key that does not exist: " + Line->Name);
            continue;
        }
        if (Line->Value.empty()) C->Unbind(Key);
        else C->Bind(Key, Line->Value);
    }
}

void StoreBindings() {
    tEngineConsole* C = GameConsole();
    if (!C || !EngineINI || !Startup.Taken) return;
    // Written whole: a key back on its start-up command leaves the list.
    EngineINI->ClearSection(BindingsSection);
    for (int K = 1; K < KeyCount; ++K) {
        const auto Key = static_cast<uint8_t>(K);
        const ShortString Name = MapKeys(Key);
        if (!Name.empty() && C->GetBinding(Key) != Startup.Command[K])
            EngineINI->SetValue(BindingsSection, Name, C->GetBinding(Key));
    }
}
