#pragma once
// The names pilots fly under: 1 to 15 printable characters, without blanks
// at either end or a double quote (the console would split the name), and
// no two alike in one match: a repeat becomes "Name (2)", "Name (3)", ...

#include <string>
#include <string_view>

// The name as the match accepts it (blanks at the ends dropped), or empty
// when it is refused.
std::string AcceptedPilotName(std::string_view Asked);

// Name itself when Taken(Name) is false, else the first free "Name (N)",
// the name cut so that the whole stays within 15 characters.
template <class F>
std::string UniquePilotName(const std::string& Name, F&& Taken);

// ---- implementation ----
std::string NumberedPilotName(const std::string& Name, int Number);

template <class F>
std::string UniquePilotName(const std::string& Name, F&& Taken) {
    if (!Taken(Name)) return Name;
    for (int Number = 2;; ++Number)
        if (std::string Candidate = NumberedPilotName(Name, Number); !Taken(Candidate)) return Candidate;
}
