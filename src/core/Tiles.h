#pragma once
// Decoders for the console's tile formats. Each writes one 8x8 tile as 64
// bytes, one byte per pixel, rows top to bottom, pixels left to right.
//
// Decode2bpp adds into Dst instead of overwriting it: the deeper planar
// formats are built by shifting what is there and adding the next pair of bit
// planes. Callers clear Dst before each tile of 2, 4 or 8 bits.

#include <cstdint>

void Decode1bpp(const uint8_t* Src, uint8_t* Dst);
void Decode2bpp(const uint8_t* Src, uint8_t* Dst);
void Decode3bpp(const uint8_t* Src, uint8_t* Dst);
void Decode4bpp(const uint8_t* Src, uint8_t* Dst);
void Decode8bpp(const uint8_t* Src, uint8_t* Dst);
// Mode 7 keeps its pixel bytes in the odd bytes of 128 bytes of VRAM.
void DecodeMode7(const uint8_t* Src, uint8_t* Dst);
void DecodeLinear8(const uint8_t* Src, uint8_t* Dst);

using tTileDecoder = void (*)(const uint8_t* Src, uint8_t* Dst);
