#include "kernel/os/gamepaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The installed data as seen from the directory of the installed executable
// (the build passes the install's own layout, "../share/halvardine").
#ifndef HALVARDINE_DATA_FROM_BINDIR
#define HALVARDINE_DATA_FROM_BINDIR "../share/halvardine"
#endif
constexpr const char* DataFromBinDir = HALVARDINE_DATA_FROM_BINDIR;
constexpr const char* DataNextToBinary = "Data";
constexpr const char* PortableData = "Data";
constexpr const char* GameFolder = "halvardine";
// A folder is the game's data when it holds the start-up INI file.
constexpr const char* StartUpINI = "StdConfig/engine.ini";

struct TXdgFolder {
    const char* Variable;
    const char* FallbackBelowHome;
};
constexpr TXdgFolder XdgData{"XDG_DATA_HOME", ".local/share"};
constexpr TXdgFolder XdgConfig{"XDG_CONFIG_HOME", ".config"};
constexpr TXdgFolder XdgCache{"XDG_CACHE_HOME", ".cache"};

std::string WithSlash(std::string Dir) {
    if (Dir.empty() || Dir.back() != '/') Dir += '/';
    return Dir;
}

std::string Absolute(const std::string& Dir, const std::string& WorkingDirectory) {
    fs::path P(Dir);
    if (P.is_relative()) P = fs::path(WorkingDirectory) / P;
    return WithSlash(P.lexically_normal().string());
}

bool HoldsGameData(const std::string& Dir) {
    std::error_code Ignored;
    return fs::is_regular_file(fs::path(Dir) / StartUpINI, Ignored);
}

// The installed data: next to the executable (an unpacked archive), then the
// install prefix's data folder.
std::string InstalledData(const TGamePathsContext& C) {
    if (C.ExecutableDirectory.empty()) return {};
    for (const char* Relative : {DataNextToBinary, DataFromBinDir}) {
        const std::string Dir = Absolute(Relative, C.ExecutableDirectory);
        if (HoldsGameData(Dir)) return Dir;
    }
    return {};
}

const char* Lookup(const TGamePathsContext& C, const char* Name) {
    const char* Value = C.Environment ? C.Environment(Name) : nullptr;
    return Value && *Value ? Value : nullptr;
}

// A base directory by the XDG rules: the variable when it holds an absolute
// path (a relative one is ignored), else its fallback below the home.
std::string XdgFolder(const TGamePathsContext& C, const TXdgFolder& Folder, const std::string& Home) {
    if (const char* Set = Lookup(C, Folder.Variable); Set && Set[0] == '/')
        return WithSlash(std::string(Set)) + GameFolder + "/";
    return WithSlash(Home) + Folder.FallbackBelowHome + "/" + GameFolder + "/";
}

std::string HomeDirectory(const TGamePathsContext& C) {
    if (const char* Home = Lookup(C, "HOME")) return Home;
    if (const passwd* Entry = getpwuid(getuid()); Entry && Entry->pw_dir) return Entry->pw_dir;
    return {};
}

}  // namespace

TGamePathsResult FindGamePaths(const TGamePathsContext& C) {
    TGamePathsResult R;
    TGamePaths& P = R.Paths;
    const std::string Portable = Absolute(PortableData, C.WorkingDirectory);
    if (C.DataOption.empty() && C.HomeOption.empty() && HoldsGameData(Portable)) {
        P.Portable = true;
        P.InstalledData = P.UserData = P.UserConfig = P.UserCache = Portable;
        return R;
    }

    if (!C.DataOption.empty()) {
        P.InstalledData = Absolute(C.DataOption, C.WorkingDirectory);
        if (!HoldsGameData(P.InstalledData)) {
            R.Error = "no game data in " + P.InstalledData + " (it has no " + StartUpINI + ")";
            return R;
        }
    } else if (HoldsGameData(Portable)) {
        P.InstalledData = Portable;
    } else {
        P.InstalledData = InstalledData(C);
        if (P.InstalledData.empty()) {
            R.Error = "the game's data is neither installed beside the program nor in the working directory's "
                      "Data/; name it with --data DIR";
            return R;
        }
    }

    if (!C.HomeOption.empty()) {
        P.UserData = Absolute(C.HomeOption, C.WorkingDirectory);
        P.UserConfig = P.UserData + ConfigTopDir + "/";
        P.UserCache = P.UserData + CacheTopDir + "/";
    } else {
        const std::string Home = HomeDirectory(C);
        if (Home.empty()) {
            R.Error = "no home directory to keep the player's files in; name a folder with --home DIR";
            return R;
        }
        P.UserData = XdgFolder(C, XdgData, Home);
        P.UserConfig = XdgFolder(C, XdgConfig, Home);
        P.UserCache = XdgFolder(C, XdgCache, Home);
    }
    if (P.UserData == P.InstalledData) R.Error = "the user folder may not be the installed data " + P.InstalledData;
    return R;
}

TGamePathsContext ProcessPathsContext(const std::string& DataOption, const std::string& HomeOption) {
    TGamePathsContext C;
    C.DataOption = DataOption;
    C.HomeOption = HomeOption;
    std::error_code Ignored;
    C.WorkingDirectory = fs::current_path(Ignored).string();
    const fs::path Executable = fs::read_symlink("/proc/self/exe", Ignored);
    if (!Executable.empty()) C.ExecutableDirectory = Executable.parent_path().string();
    C.Environment = [](const char* Name) -> const char* { return std::getenv(Name); };
    return C;
}

bool CreateUserFolders(const TGamePaths& Paths, std::string& Error) {
    for (const std::string* Dir : {&Paths.UserData, &Paths.UserConfig, &Paths.UserCache}) {
        std::error_code Code;
        fs::create_directories(*Dir, Code);
        if (Code || !fs::is_directory(*Dir)) {
            Error = "cannot create the user folder " + *Dir + ": " + (Code ? Code.message() : "not a directory");
            return false;
        }
    }
    return true;
}
