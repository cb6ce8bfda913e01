#pragma once
// Little-endian field access for byte layouts that live in files or memory
// blocks (file headers, instruction records): read and written byte by byte,
// never through a padded C++ struct.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace byteorder_detail {
template <typename T>
using UnsignedOfSize = std::conditional_t<
    sizeof(T) == 8, uint64_t,
    std::conditional_t<sizeof(T) == 4, uint32_t, std::conditional_t<sizeof(T) == 2, uint16_t, uint8_t>>>;
}  // namespace byteorder_detail

template <typename T>
inline T ReadLE(const uint8_t* p) {
    using U = byteorder_detail::UnsignedOfSize<T>;
    U v = 0;
    for (std::size_t i = 0; i < sizeof(U); ++i) v |= static_cast<U>(static_cast<U>(p[i]) << (8 * i));
    return std::bit_cast<T>(v);
}

template <typename T>
inline void WriteLE(uint8_t* p, T value) {
    using U = byteorder_detail::UnsignedOfSize<T>;
    U v = std::bit_cast<U>(value);
    for (std::size_t i = 0; i < sizeof(U); ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
