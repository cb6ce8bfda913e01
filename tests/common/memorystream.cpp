#include "common/memorystream.h"

#include <algorithm>
#include <cstring>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/vfs/parser.h"

void tMemoryStream::BlockRead_A(void* Buf, int32_t Count) {
    if (Count < 0 || Count > GetSize() - Position)
        Logger->Fatal("tMemoryStream.BlockRead: reading past the end of the stream: " + Int2Str(Count) + " at " +
                      Int2Str(Position));
    if (Count > 0) std::memcpy(Buf, Data.data() + Position, static_cast<std::size_t>(Count));
    Position += Count;
}

void tMemoryStream::BlockRead_B(void* Buf, int32_t Count, int32_t& Read) {
    Read = std::clamp(Count, 0, GetSize() - Position);
    BlockRead_A(Buf, Read);
}

void tMemoryStream::Seek(int32_t Pos) { Position = std::clamp(Pos, 0, GetSize()); }

// One search for the line's end and one copy (cut at 255 characters), not a
// call for every character: the fuzz targets read most of their input here.
void tMemoryStream::ReadLine(ShortString& S) {
    const char* Text = reinterpret_cast<const char*>(Data.data());
    const std::size_t Size = Data.size();
    const std::size_t Start = std::min(static_cast<std::size_t>(Position), Size);
    // memchr, not a loop: the fuzzers' coverage hooks would see every character.
    std::size_t At = Size;
    for (char End : {'\n', '\r'})  // a carriage return is looked for only before the line feed
        if (const void* Found = Start < At ? std::memchr(Text + Start, End, At - Start) : nullptr)
            At = static_cast<std::size_t>(static_cast<const char*>(Found) - Text);
    if (At > Start) S = std::string_view(Text + Start, At - Start);
    else S.clear();
    if (At < Size && Text[At] == '\r' && At + 1 < Size && Text[At + 1] == '\n') ++At;
    Position = static_cast<int32_t>(At < Size ? At + 1 : Size);
}

ShortString tMemoryStream::GetIOErrorString(int32_t Code) { return "I/O error " + Int2Str(Code); }

tParser* tMemoryStream::GetParser() { return new tSimpleParser(*this); }

void tMemoryStream::WriteLine(const ShortString& S) {
    BlockWrite(S.data(), static_cast<int32_t>(S.size()));
    BlockWrite("\r\n", 2);
}

void tMemoryStream::BlockWrite(const void* Buf, int32_t Count) {
    const auto* P = static_cast<const uint8_t*>(Buf);
    std::size_t End = static_cast<std::size_t>(Position) + static_cast<std::size_t>(Count);
    if (End > Data.size()) Data.resize(End);
    std::copy(P, P + Count, Data.begin() + Position);
    Position = static_cast<int32_t>(End);
}
