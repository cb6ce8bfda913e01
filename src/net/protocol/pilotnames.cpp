#include "net/protocol/pilotnames.h"

#include "net/protocol/messages.h"

std::string AcceptedPilotName(std::string_view Asked) {
    const auto First = Asked.find_first_not_of(' ');
    if (First == std::string_view::npos) return {};
    Asked = Asked.substr(First, Asked.find_last_not_of(' ') - First + 1);
    if (Asked.size() > MaxNameLength) return {};
    for (char C : Asked)
        if (C < 32 || C > 126 || C == '"') return {};
    return std::string(Asked);
}

std::string NumberedPilotName(const std::string& Name, int Number) {
    const std::string Suffix = " (" + std::to_string(Number) + ")";
    std::string Base = Name.substr(0, MaxNameLength > Suffix.size() ? MaxNameLength - Suffix.size() : 0);
    // A cut may leave a blank at the end.
    while (!Base.empty() && Base.back() == ' ') Base.pop_back();
    return Base + Suffix;
}
