#pragma once
// Start-up and shutdown of the global services (kernel/core/globals.h), in
// their fixed order, for the program and for the test hosts alike. Each stage
// of the shutdown frees what a stage of the start-up created, in the reverse
// order; the program runs them all (StartUp, ShutDown), a test host the ones
// it needs.

// Finds the installed data and the player's folders for the command line
// read, creates the player's folders and makes the player's data folder the
// working directory (not for a portable copy in the working directory). The
// answer is the exit code to end with when no game can run (the reason is on
// standard error), or -1.
int FindGameFolders(const char* Program);
// Logger (to "engine.log") and Warning.
void StartLogging();
// OSSystem, Linker with the class table, FileSystem over the folders found
// (or rooted at the working directory's "Data\") and EngineINI read from
// "StdConfig\engine.ini".
void StartBaseServices();
// MathServer, Console, EngineVars, Resources and Engine: each an object of the
// class the INI file names in its section Core; the game's match (its
// variables) just before the engine.
void StartCoreServices();

// Writes the INI file back, the console's typed-line history and the
// profiler report.
void SaveSession();
// Frees EngineVars, Console, Resources, Engine and MathServer, those that exist.
void FreeCoreServices();
// Frees EngineINI and FileSystem.
void FreeFiles();
// Frees Linker and OSSystem.
void FreeObjectModel();
void StopLogging();

// Every stage, as the program runs them.
void StartUp();
void ShutDown();
