#include "kernel/core/globals.h"

tCoreLogger* Logger = nullptr;
tOutputDevice* Warning = nullptr;
tOSSystem* OSSystem = nullptr;
tObjectsLinker* Linker = nullptr;
tFileSystem* FileSystem = nullptr;
tZINIFile* EngineINI = nullptr;
tMathServer* MathServer = nullptr;
tConsole* Console = nullptr;
tVarsManager* EngineVars = nullptr;
tResourcesManager* Resources = nullptr;
tEngine* Engine = nullptr;
