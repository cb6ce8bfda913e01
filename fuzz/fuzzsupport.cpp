#include "fuzzsupport.h"

#include <cstdlib>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"

void InitFuzzEngine() {
    if (Logger) return;
    // Fatal messages go to standard error instead of a box.
    setenv("HALVARDINE_NO_MSGBOX", "1", 1);
    Logger = new tCoreLogger("fuzz.log", LOG_DISABLED);
    Warning = new tANSIOutput();
    SetHaltHook(ThrowingHaltHook);
}
