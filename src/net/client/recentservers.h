#pragma once
// The last addresses this game joined, newest first and each once, for the
// menu's multiplayer page. They are kept in engine.ini's [RecentServers]
// section ("Server1=host:port" ...); a line that is no address is skipped
// with a console error, so a hand-edited file never stops the game.

#include <cstdint>
#include <string>
#include <vector>

class tRecentServers {
public:
    static constexpr int32_t MaxKept = 8;
    static constexpr const char* Section = "RecentServers";

    // Reads the section of engine.ini.
    void Load();
    // Puts Address first (a repeat moves up) and writes the section.
    void Remember(const std::string& Address);
    const std::vector<std::string>& Addresses() const { return List; }
    // Counts the changes, so that a list shown on screen knows when to refresh.
    uint32_t Revision() const { return Changes; }

    // A host name or number with an optional port, in printable characters.
    static bool IsServerAddress(const std::string& Text);

private:
    void Store() const;

    std::vector<std::string> List;
    uint32_t Changes = 0;
};
