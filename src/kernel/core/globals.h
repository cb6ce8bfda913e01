#pragma once
// The global service objects, created by the main program in this order and
// freed in the reverse order (the logger first and last).

class tCoreLogger;
class tOutputDevice;
class tOSSystem;
class tObjectsLinker;
class tFileSystem;
class tZINIFile;
class tMathServer;
class tConsole;
class tVarsManager;
class tResourcesManager;
class tEngine;

extern tCoreLogger* Logger;
extern tOutputDevice* Warning;
extern tOSSystem* OSSystem;
extern tObjectsLinker* Linker;
extern tFileSystem* FileSystem;
extern tZINIFile* EngineINI;
extern tMathServer* MathServer;
extern tConsole* Console;
extern tVarsManager* EngineVars;
extern tResourcesManager* Resources;
extern tEngine* Engine;
