// What a client sends the server: every message the server reads from the
// network. An accepted message is written again to the same bytes.

#include <cstdlib>
#include <vector>

#include "net/protocol/messages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    tClientMessage M;
    if (!ReadClientMessage(Data, Size, M)) return 0;
    std::vector<uint8_t> Again(MaxClientMessageBytes);
    std::size_t Written = 0;
    switch (M.Type) {
    case ClientHello: Written = WriteClientHello(Again.data(), Again.size(), M.Hello); break;
    case ClientInput: Written = WriteClientInput(Again.data(), Again.size(), M.Input); break;
    case ClientSay: Written = WriteClientSay(Again.data(), Again.size(), M.Text); break;
    case ClientRcon: Written = WriteClientRcon(Again.data(), Again.size(), M.Password, M.Text); break;
    default: std::abort();
    }
    if (Written != Size || !std::equal(Data, Data + Size, Again.begin())) std::abort();
    return 0;
}
