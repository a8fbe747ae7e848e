#pragma once
// Numbers stored low byte first: the SNES, every savestate format and the PC
// file formats (BMP, SPC, IPS lengths aside) keep their words this way.
//
// A block of fixed layout (a std::array with fields at named offsets) is read
// and written with GetLE/SetLE, whose offset and width are template
// arguments: a field that does not lie inside its block does not compile.
// Blocks whose size is known only at run time use ReadLE/WriteLE on a
// pointer, after the caller has checked the room.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

template <size_t Width> constexpr uint32_t ReadLE(const uint8_t* P)
{
    static_assert(Width >= 1 && Width <= 4, "a field of 1 to 4 bytes");
    uint32_t V = 0;
    for (size_t i = 0; i < Width; ++i)
        V |= static_cast<uint32_t>(P[i]) << (8 * i);
    return V;
}

template <size_t Width> constexpr void WriteLE(uint8_t* P, uint32_t V)
{
    static_assert(Width >= 1 && Width <= 4, "a field of 1 to 4 bytes");
    for (size_t i = 0; i < Width; ++i)
        P[i] = static_cast<uint8_t>(V >> (8 * i));
}

template <size_t Offset, size_t Width, size_t N> constexpr uint32_t GetLE(const std::array<uint8_t, N>& Block)
{
    static_assert(Offset + Width <= N, "the field lies outside its block");
    return ReadLE<Width>(Block.data() + Offset);
}

template <size_t Offset, size_t Width, size_t N> constexpr void SetLE(std::array<uint8_t, N>& Block, uint32_t V)
{
    static_assert(Offset + Width <= N, "the field lies outside its block");
    WriteLE<Width>(Block.data() + Offset, V);
}

// The 16-bit fields as the 16-bit values they hold.
inline constexpr uint16_t ReadLE16(const uint8_t* P)
{
    return static_cast<uint16_t>(ReadLE<2>(P));
}

template <size_t Offset, size_t N> constexpr uint16_t GetLE16(const std::array<uint8_t, N>& Block)
{
    return static_cast<uint16_t>(GetLE<Offset, 2>(Block));
}

// Appends V as Width bytes (file headers being built).
template <size_t Width> void AppendLE(std::vector<uint8_t>& Out, uint32_t V)
{
    uint8_t B[Width];
    WriteLE<Width>(B, V);
    Out.insert(Out.end(), B, B + Width);
}
