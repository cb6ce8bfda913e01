#pragma once
// Tab completion of typed lines. The word that ends at the cursor is completed
// from the names of the console (commands, aliases, variables) or, as the file
// argument of "Exec", "PlayDemo" and "AddGUI", from the file names of the
// virtual file system. Names match in any letter case and come back spelled as
// they were registered.

#include <cstdint>
#include <vector>

#include "kernel/core/shortstring.h"
#include "libraries/classes/console.h"

class tCommandsList;
class tFileSystem;
class tVarsManager;

struct tCompletionWord {
    int32_t Start = 0;           // the word is [Start, Cursor) of the line
    bool TakesFileName = false;  // it is the file argument of its command
};

// The word that ends at Cursor, within the command piece (";") it belongs to.
tCompletionWord WordBeforeCursor(const ShortString& Line, int32_t Cursor);

// Completes [Start, Cursor) of Line from Names: one match is taken whole and
// followed by a blank (a directory, ending in "\", by nothing), several are
// taken as far as they agree.
tCompletion CompleteFromNames(const ShortString& Line, int32_t Cursor, int32_t Start, std::vector<ShortString> Names);

// The commands, aliases and variables.
std::vector<ShortString> ConsoleNames(tCommandsList& Commands, tVarsManager* Vars);
// The entries of the directory Word names up to its last "\" (or "/"), each
// with that directory part as typed in front; directories end in "\".
std::vector<ShortString> FileNamesFor(const ShortString& Word, tFileSystem& Files);
