#pragma once
// ShortString: the engine's everyday string. A fixed-capacity value type of at
// most 255 single-byte characters that never touches the heap, so names, paths,
// keys, command lines and messages can be built on any path, per frame included.
// Concatenation silently cuts at 255 characters.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

class ShortString {
public:
    static constexpr std::size_t Capacity = 255;

    constexpr ShortString() noexcept : Len(0), Data{} {}
    ShortString(const char* s) noexcept { Assign(s ? std::string_view(s) : std::string_view()); }
    ShortString(std::string_view s) noexcept { Assign(s); }
    ShortString(const std::string& s) noexcept { Assign(std::string_view(s)); }
    explicit ShortString(char c) noexcept : Len(1), Data{} { Data[0] = c; }

    ShortString& operator=(std::string_view s) noexcept { Assign(s); return *this; }
    ShortString& operator=(const char* s) noexcept { Assign(s ? std::string_view(s) : std::string_view()); return *this; }

    std::size_t size() const noexcept { return Len; }
    std::size_t length() const noexcept { return Len; }
    bool empty() const noexcept { return Len == 0; }
    const char* data() const noexcept { return Data; }
    const char* c_str() const noexcept { return Data; }
    std::string_view view() const noexcept { return {Data, Len}; }
    operator std::string_view() const noexcept { return view(); }
    std::string str() const { return std::string(Data, Len); }

    // 0-based access; reading past the end gives '\0'.
    char operator[](std::size_t i) const noexcept { return i < Len ? Data[i] : '\0'; }
    char& operator[](std::size_t i) noexcept { return Data[i < Capacity ? i : Capacity - 1]; }

    ShortString& operator+=(std::string_view s) noexcept {
        std::size_t n = s.size();
        if (n > Capacity - Len) n = Capacity - Len;
        CopyIn(Data + Len, s.data(), n);
        Len = static_cast<uint8_t>(Len + n);
        Data[Len] = '\0';
        return *this;
    }
    ShortString& operator+=(const ShortString& s) noexcept { return *this += s.view(); }
    ShortString& operator+=(const char* s) noexcept { return *this += std::string_view(s ? s : ""); }
    ShortString& operator+=(char c) noexcept {
        if (Len < Capacity) { Data[Len++] = c; Data[Len] = '\0'; }
        return *this;
    }

    // Text from 0-based position pos, at most count characters.
    ShortString substr(std::size_t pos, std::size_t count = Capacity) const noexcept {
        if (pos >= Len) return {};
        return ShortString(view().substr(pos, count));
    }
    // 0-based position of the first occurrence, or npos.
    std::size_t find(std::string_view s, std::size_t from = 0) const noexcept { return view().find(s, from); }
    std::size_t find(char c, std::size_t from = 0) const noexcept { return view().find(c, from); }
    static constexpr std::size_t npos = std::string_view::npos;

    void resize(std::size_t n, char fill = ' ') noexcept {
        if (n > Capacity) n = Capacity;
        for (std::size_t i = Len; i < n; ++i) Data[i] = fill;
        Len = static_cast<uint8_t>(n);
        Data[Len] = '\0';
    }
    void clear() noexcept { Len = 0; Data[0] = '\0'; }

    friend bool operator==(const ShortString& a, const ShortString& b) noexcept {
        return a.Len == b.Len && std::memcmp(a.Data, b.Data, a.Len) == 0;
    }
    friend bool operator==(const ShortString& a, std::string_view b) noexcept { return a.view() == b; }
    friend bool operator==(const ShortString& a, const char* b) noexcept { return a.view() == std::string_view(b); }
    friend auto operator<=>(const ShortString& a, const ShortString& b) noexcept { return a.view() <=> b.view(); }

private:
    // An empty std::string_view may carry a null pointer, which memcpy must
    // never see, even for zero bytes.
    static void CopyIn(char* To, const char* From, std::size_t n) noexcept {
        if (n != 0) std::memcpy(To, From, n);
    }
    void Assign(std::string_view s) noexcept {
        std::size_t n = s.size() < Capacity ? s.size() : Capacity;
        CopyIn(Data, s.data(), n);
        Len = static_cast<uint8_t>(n);
        Data[Len] = '\0';
    }

    uint8_t Len;
    char Data[Capacity + 1];  // one more for the terminating zero of c_str()
};

inline ShortString operator+(ShortString a, std::string_view b) noexcept { a += b; return a; }
inline ShortString operator+(ShortString a, const ShortString& b) noexcept { a += b.view(); return a; }
inline ShortString operator+(ShortString a, const char* b) noexcept { a += b; return a; }
inline ShortString operator+(ShortString a, char b) noexcept { a += b; return a; }
inline ShortString operator+(const char* a, const ShortString& b) noexcept { ShortString r(a); r += b.view(); return r; }
inline ShortString operator+(std::string_view a, const ShortString& b) noexcept { ShortString r(a); r += b.view(); return r; }

template <>
struct std::hash<ShortString> {
    std::size_t operator()(const ShortString& s) const noexcept { return std::hash<std::string_view>{}(s.view()); }
};
