#pragma once
// Little-endian reads and writes of the fixed byte images.
#include <cstdint>

namespace corvane {

inline std::uint16_t ReadU16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline void WriteU16(std::uint8_t* p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

inline std::uint32_t ReadU32(const std::uint8_t* p)
{
    return ReadU16(p) | (static_cast<std::uint32_t>(ReadU16(p + 2)) << 16);
}

inline void WriteU32(std::uint8_t* p, std::uint32_t v)
{
    WriteU16(p, static_cast<std::uint16_t>(v));
    WriteU16(p + 2, static_cast<std::uint16_t>(v >> 16));
}

}  // namespace corvane
