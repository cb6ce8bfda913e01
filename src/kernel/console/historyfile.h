#pragma once
// The typed-line history kept between runs: read when the game starts and
// written when it ends, in a text file of the data directory. The file is
// "HalvardineHistory 1" on its first line and then one line per entry, the
// oldest first. A file that cannot be read or is not such a file leaves the
// history empty, with one warning.

#include <string>
#include <string_view>
#include <vector>

#include "kernel/core/shortstring.h"

class tCommandsHistory;

inline constexpr const char* CommandsHistoryFile = "StdConfig\\history.txt";

// The entries of a history file's text, oldest first; false with the reason in
// Error when the text is damaged (no header, a line longer than a console
// line, a control character, more entries than the history holds).
bool ParseHistoryText(std::string_view Text, std::vector<ShortString>& Lines, std::string& Error);
// The file's text for the history's lines.
std::string HistoryText(const tCommandsHistory& History);

// Fills History from the file; a missing file is a first run and says nothing.
void LoadCommandsHistory(tCommandsHistory& History, const ShortString& File = CommandsHistoryFile);
// Writes the file through a temporary one, so a run cut short mid-write
// leaves the last complete history; a failure is a warning.
void SaveCommandsHistory(const tCommandsHistory& History, const ShortString& File = CommandsHistoryFile);
