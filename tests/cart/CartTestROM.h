#pragma once
// Tiny cartridge images built by the tests: a ROM of the given size whose
// internal header sits where the map mode puts it, with the checksum pair
// made consistent with the image's real byte sum.

#include <cstdint>
#include <string>
#include <vector>

#include "cart/CartHeader.h"

inline std::vector<uint8_t> MakeTestROM(uint32_t Size, tMapMode Mode, const std::string& Name = "ORLIK TEST")
{
    std::vector<uint8_t> ROM(Size);
    for (uint32_t i = 0; i < Size; ++i)
        ROM[i] = static_cast<uint8_t>(i * 7 + (i >> 9));
    const uint32_t H = HeaderOffsetOf(Mode);
    for (uint32_t i = 0; i < CartHeaderAreaSize; ++i)
        ROM[H + i] = 0;
    ROM[H + 0] = 'O';
    ROM[H + 1] = 'K';
    for (size_t i = 0; i < 21; ++i)
        ROM[H + 0x10 + i] = i < Name.size() ? static_cast<uint8_t>(Name[i]) : ' ';
    ROM[H + 0x25] = Mode == tMapMode::LoROM ? 0x20 : Mode == tMapMode::HiROM ? 0x21 : 0x25;
    ROM[H + 0x26] = 0x02; // ROM, RAM and battery
    ROM[H + 0x28] = 0x03; // 8 KiB SRAM
    ROM[H + 0x2B] = 4;
    ROM[H + 0x3A] = 0x34; // NMI $1234
    ROM[H + 0x3B] = 0x12;
    ROM[H + 0x4C] = 0x00; // RESET $8000
    ROM[H + 0x4D] = 0x80;
    // With checksum C and complement ~C the four bytes always add up to
    // $1FE, so the sum can be taken with them in place.
    ROM[H + 0x2C] = 0xFF;
    ROM[H + 0x2D] = 0xFF;
    const uint16_t Sum = ComputeChecksum(ROM);
    ROM[H + 0x2C] = static_cast<uint8_t>(~Sum);
    ROM[H + 0x2D] = static_cast<uint8_t>(~Sum >> 8);
    ROM[H + 0x2E] = static_cast<uint8_t>(Sum);
    ROM[H + 0x2F] = static_cast<uint8_t>(Sum >> 8);
    return ROM;
}
