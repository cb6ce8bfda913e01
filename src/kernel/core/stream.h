#pragma once
// The stream interfaces everything reads and writes through: tIStream reads,
// tStream adds writing, tXZMLStream adds parsing into an XZML tree. Counts and
// positions are 32-bit signed byte counts; positions are 0-based.

#include <cstdint>
#include <cstdio>
#include "kernel/core/shortstring.h"

// The streams' end-of-data test is named EOF, which the C library defines as a
// macro. <cstdio> is included first so that no later inclusion brings it back;
// the end-of-file value of character I/O is std::char_traits<char>::eof().
#undef EOF

class tParser;
class tXZMLTreeNode;

class tIStream {
public:
    tIStream() = default;
    virtual ~tIStream() = default;
    tIStream(const tIStream&) = delete;
    tIStream& operator=(const tIStream&) = delete;

    virtual void BlockRead_A(void* Buf, int32_t Count) = 0;
    virtual void BlockRead_B(void* Buf, int32_t Count, int32_t& Read) = 0;
    virtual void Seek(int32_t Pos) = 0;
    // One line of at most 255 characters, without its line end.
    virtual void ReadLine(ShortString& S) = 0;
    virtual int32_t GetPosition() = 0;
    virtual int32_t GetSize() = 0;
    virtual bool EOF() = 0;
    virtual ShortString GetIOErrorString(int32_t Code) = 0;
    // The whole stream (or the rest from the current position) as one block
    // in memory, where the stream can offer that; nullptr otherwise.
    virtual const uint8_t* MapStream() { return nullptr; }
    virtual const uint8_t* MapStreamFromCurrentPos() { return nullptr; }
    // A new parser over this stream; the caller owns it.
    virtual tParser* GetParser() = 0;

    void BlockRead(void* Buf, int32_t Count) { BlockRead_A(Buf, Count); }
    void BlockRead(void* Buf, int32_t Count, int32_t& Read) { BlockRead_B(Buf, Count, Read); }
};

class tStream : public tIStream {
public:
    virtual void WriteLine(const ShortString& S) = 0;
    virtual void BlockWrite(const void* Buf, int32_t Count) = 0;
};

class tXZMLStream : public tIStream {
public:
    // Parses the stream into a new XZML tree; the caller owns it.
    virtual tXZMLTreeNode* BuildXZMLTree() = 0;
};
