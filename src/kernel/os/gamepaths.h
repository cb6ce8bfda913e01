#pragma once
// Where the game's files live. The game's data is installed read-only (next
// to the executable in "Data/", or in the install prefix's "share/halvardine",
// or wherever "--data DIR" says); what the player's game writes goes to a user
// folder that lies over it: the XDG base directories, split into data
// ($XDG_DATA_HOME/halvardine: screenshots, recordings, logs), configuration
// ($XDG_CONFIG_HOME/halvardine: engine.ini with the options and bindings, the
// console history) and caches ($XDG_CACHE_HOME/halvardine), or one folder
// given by "--home DIR", laid out as the data is (DIR/StdConfig, DIR/Cache). A working directory that holds a game's "Data/" and
// no option asks otherwise runs the game as a portable copy: it reads and
// writes there, logs included, as the tests and benchmarks do.

#include <functional>
#include <string>

// The top directories of the data that the player's configuration and cache
// folders stand for (the engine.ini's caching directories lie in "Cache").
inline constexpr const char* ConfigTopDir = "StdConfig";
inline constexpr const char* CacheTopDir = "Cache";

struct TGamePaths {
    bool Portable = false;
    // Physical directories, each ending in "/". In a portable run all four
    // are the working directory's "Data/".
    std::string InstalledData;
    std::string UserData;    // the logs go here too
    std::string UserConfig;  // takes the virtual directory ConfigTopDir
    std::string UserCache;   // takes the virtual directory CacheTopDir
};

// What the search needs to know of the process, so that tests can fake it.
struct TGamePathsContext {
    std::string DataOption;        // "--data DIR", empty when not given
    std::string HomeOption;        // "--home DIR", empty when not given
    std::string WorkingDirectory;  // absolute
    std::string ExecutableDirectory;
    std::function<const char*(const char*)> Environment;  // getenv
};

struct TGamePathsResult {
    TGamePaths Paths;
    std::string Error;  // why no game can run; empty on success
};

// The folders for this run, by the rules above. Nothing is created.
TGamePathsResult FindGamePaths(const TGamePathsContext& Context);

// The context of this process: its working directory, the executable's
// directory (/proc/self/exe) and getenv.
TGamePathsContext ProcessPathsContext(const std::string& DataOption, const std::string& HomeOption);

// Creates the user folders that do not exist yet; false, with the reason, on a
// failure.
bool CreateUserFolders(const TGamePaths& Paths, std::string& Error);
