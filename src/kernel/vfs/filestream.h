#pragma once
// The stream every file is written with (and the file system's own text
// loading reads with): a plain file read and written byte by byte.

#include <cstdint>
#include "kernel/core/stream.h"
#include "libraries/classes/filesystem.h"

class tFileStream : public tStream {
public:
    // Opens the file named by the virtual Name: FSTREAM_REWRITE creates or
    // truncates it, FSTREAM_RESET opens an existing one. A failure is fatal in
    // FSTREAM_HALTONERRORS; in FSTREAM_REAPORTERRORS the stream stays closed
    // (Open false, IOError set).
    tFileStream(const ShortString& Name, tFStreamType Type, tFStreamErrors ErrorMode);
    ~tFileStream() override;
    // Why the file could not be opened, as the halting mode reports it; empty
    // when it is open.
    ShortString OpenError() const;

    void BlockRead_A(void* Buf, int32_t Count) override;
    void BlockRead_B(void* Buf, int32_t Count, int32_t& Read) override;
    void Seek(int32_t Pos) override;
    // Up to the next LF, CRs dropped; a longer line comes back in pieces of 255.
    void ReadLine(ShortString& S) override;
    int32_t GetPosition() override;
    int32_t GetSize() override;
    bool EOF() override;
    ShortString GetIOErrorString(int32_t Code) override;
    tParser* GetParser() override;
    // S followed by CR LF.
    void WriteLine(const ShortString& S) override;
    void BlockWrite(const void* Buf, int32_t Count) override;
    virtual int32_t FilePos();
    virtual int32_t FileSize();
    // The file's modification time as a packed DOS date-time.
    virtual void GetFTime(int32_t& Time);

    int32_t Position = 0;
    ShortString FileName;  // the virtual name it was opened with
    tUntypedFile DFile;
    int32_t Size = 0;
    tFStreamErrors HaltOnErrors = FSTREAM_HALTONERRORS;
    bool Open = false;
    int32_t IOError = 0;

private:
    // Any other failure of the file is fatal.
    void Fail(const char* Operation, int Errno);
};
