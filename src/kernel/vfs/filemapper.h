#pragma once
// The reader every file is opened with: the whole file mapped read-only into
// memory, so loaders and parsers reach its bytes through MapStream without a
// copy and a BlockRead is a memory copy.

#include <cstdint>
#include "kernel/core/stream.h"
#include "libraries/classes/filesystem.h"

class tIFileMapper : public tXZMLStream {
public:
    // Opens the file named by the virtual Name; a file that cannot be opened is
    // fatal whatever ErrorMode says. A zero-length file is an empty reader.
    // Physical, when given, is the file to open instead of the one the name
    // resolves to (an installed file that the player's own one hides).
    tIFileMapper(const ShortString& Name, tFStreamErrors ErrorMode, const ShortString& Physical = {});
    ~tIFileMapper() override;
    // The fatal message opening Name would end the program with, or an empty
    // text when it can be opened: commands check their files with it first.
    static ShortString OpenError(const ShortString& Name);

    void BlockRead_A(void* Buf, int32_t Count) override;
    void BlockRead_B(void* Buf, int32_t Count, int32_t& Read) override;
    void Seek(int32_t Pos) override;
    // Ends a line at CR LF, a lone CR or a lone LF.
    void ReadLine(ShortString& S) override;
    // One more than the offset of the next byte.
    int32_t GetPosition() override;
    int32_t GetSize() override;
    bool EOF() override;
    ShortString GetIOErrorString(int32_t Code) override;
    const uint8_t* MapStream() override;
    const uint8_t* MapStreamFromCurrentPos() override;
    tParser* GetParser() override;
    tXZMLTreeNode* BuildXZMLTree() override;
    virtual int32_t FilePos();
    virtual int32_t FileSize();

    int MapFile = -1;                  // the open file
    const uint8_t* FileData = nullptr;  // the mapped view; nullptr for an empty file
    ShortString FileName;               // physical
    int32_t Size = 0;
    int32_t Position = 0;               // offset of the next byte to read
    tFStreamErrors HaltOnErrors = FSTREAM_HALTONERRORS;
    int32_t IOError = 0;

private:
    // The bytes from Position to the end; none when Position lies outside.
    int32_t Remaining() const;
};
