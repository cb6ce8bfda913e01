#pragma once
// The engine's version, the one place every text that shows it is made from:
// the banner of "Version", the log and profiler headers, the INI file's
// "FirstRun" and the version a class or package may need at most.

#define HALVARDINE_VERSION "0.4.58"  // major.minor.release
#define HALVARDINE_BUILD_VERSION HALVARDINE_VERSION ".9996"
#define HALVARDINE_BUILD_DATE "2006/05/08 14:00:44"

inline constexpr const char* EngineVersionText = HALVARDINE_VERSION;
inline constexpr const char* EngineBuildVersion = HALVARDINE_BUILD_VERSION;
inline constexpr const char* EngineCompilationDate = HALVARDINE_BUILD_DATE;
inline constexpr const char* EngineBanner =
    "Halvardine 3D Engine " HALVARDINE_BUILD_VERSION " [" HALVARDINE_BUILD_DATE "]";

#undef HALVARDINE_VERSION
#undef HALVARDINE_BUILD_VERSION
#undef HALVARDINE_BUILD_DATE
