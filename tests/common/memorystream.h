#pragma once
// An in-memory tStream for loader and parser tests: reads behave like a
// mapped file reader (mapping, read-past-end fatal, lines ended by CR LF, CR
// or LF), writes append at the position.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/core/stream.h"

class tMemoryStream : public tStream {
public:
    tMemoryStream() = default;
    explicit tMemoryStream(std::string_view Bytes) : Data(Bytes.begin(), Bytes.end()) {}
    explicit tMemoryStream(std::vector<uint8_t> Bytes) : Data(std::move(Bytes)) {}

    void BlockRead_A(void* Buf, int32_t Count) override;
    void BlockRead_B(void* Buf, int32_t Count, int32_t& Read) override;
    void Seek(int32_t Pos) override;
    void ReadLine(ShortString& S) override;
    int32_t GetPosition() override { return Position; }
    int32_t GetSize() override { return static_cast<int32_t>(Data.size()); }
    bool EOF() override { return Position >= GetSize(); }
    ShortString GetIOErrorString(int32_t Code) override;
    const uint8_t* MapStream() override { return Data.empty() ? nullptr : Data.data(); }
    const uint8_t* MapStreamFromCurrentPos() override { return Data.empty() ? nullptr : Data.data() + Position; }
    tParser* GetParser() override;
    void WriteLine(const ShortString& S) override;
    void BlockWrite(const void* Buf, int32_t Count) override;

    const std::vector<uint8_t>& Bytes() const { return Data; }

private:
    std::vector<uint8_t> Data;
    int32_t Position = 0;
};
