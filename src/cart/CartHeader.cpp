#include "cart/CartHeader.h"

#include "core/LittleEndian.h"

namespace
{
uint16_t Word(std::span<const uint8_t> A, uint32_t Off)
{
    return static_cast<uint16_t>(ReadLE<2>(&A[Off]));
}

std::string Text(std::span<const uint8_t> A, uint32_t Off, uint32_t Len)
{
    std::string S;
    for (uint32_t i = 0; i < Len; ++i) {
        uint8_t C = A[Off + i];
        // Headers are padded with blanks or NULs; anything outside printable
        // ASCII is shown as a dot so the text stays one line.
        S += C == 0 ? ' ' : (C >= 0x20 && C < 0x7F ? static_cast<char>(C) : '.');
    }
    return S;
}

uint32_t SumRange(std::span<const uint8_t> ROM, size_t From, size_t Len)
{
    uint32_t Sum = 0;
    for (size_t i = From; i < From + Len; ++i)
        Sum += ROM[i];
    return Sum;
}
} // namespace

uint32_t HeaderOffsetOf(tMapMode Mode)
{
    switch (Mode) {
    case tMapMode::HiROM:
        return (1u << 15) + 0x7FB0;
    case tMapMode::ExHiROM:
        return (127u << 15) + 0x7FB0;
    default:
        return 0x7FB0;
    }
}

const char* MapModeName(tMapMode Mode)
{
    switch (Mode) {
    case tMapMode::HiROM:
        return "HiROM";
    case tMapMode::ExHiROM:
        return "extended HiROM";
    default:
        return "LoROM";
    }
}

bool MapModeFits(uint32_t ROMSize, tMapMode Mode)
{
    if (Mode == tMapMode::LoROM)
        return true;
    return ROMSize >= HeaderOffsetOf(Mode) + CartHeaderAreaSize;
}

bool tCartHeader::HasRAM() const
{
    const uint8_t L = CartType & 15;
    return L == 1 || L == 2 || L == 4 || L == 5;
}

bool tCartHeader::HasBattery() const
{
    const uint8_t L = CartType & 15;
    return L == 2 || L == 5 || L == 6;
}

bool tCartHeader::HasCoProcessor() const
{
    return (CartType & 15) >= 3 || (CartType >> 4) >= 1;
}

uint32_t tCartHeader::SRAMBytes() const
{
    // Real boards go up to 128 KiB ($07); larger codes are garbage.
    if (SRAMSizeByte == 0 || SRAMSizeByte > 10)
        return 0;
    return 1024u << SRAMSizeByte;
}

std::string tCartHeader::VersionText() const
{
    return "1." + std::to_string(Version);
}

tCartHeader ReadCartHeader(std::span<const uint8_t> ROM, tMapMode Mode)
{
    tCartHeader H;
    const uint32_t Off = HeaderOffsetOf(Mode);
    if (ROM.size() < Off || ROM.size() - Off < CartHeaderAreaSize)
        return H;
    auto A = ROM.subspan(Off, CartHeaderAreaSize);
    H.Present = true;
    H.Maker = Text(A, 0x00, 2);
    H.GameCode = Text(A, 0x02, 4);
    H.ExpRAM = A[0x0D];
    H.SpecialVersion = A[0x0E];
    H.CartSub = A[0x0F];
    H.ROMName = Text(A, 0x10, 21);
    H.MapModeByte = A[0x25];
    H.CartType = A[0x26];
    H.ROMSizeByte = A[0x27];
    H.SRAMSizeByte = A[0x28];
    H.Region = A[0x29];
    H.License = A[0x2A];
    H.Version = A[0x2B];
    H.InvChecksum = Word(A, 0x2C);
    H.Checksum = Word(A, 0x2E);
    H.NMIVector = Word(A, 0x3A);
    H.ResetVector = Word(A, 0x4C);
    return H;
}

tMapMode FindMapMode(std::span<const uint8_t> ROM)
{
    const uint32_t Size = static_cast<uint32_t>(ROM.size());
    for (tMapMode M : {tMapMode::LoROM, tMapMode::HiROM, tMapMode::ExHiROM})
        if (MapModeFits(Size, M) && ReadCartHeader(ROM, M).ChecksumMatches())
            return M;
    return tMapMode::LoROM;
}

uint16_t ComputeChecksum(std::span<const uint8_t> ROM)
{
    if (ROM.empty())
        return 0;
    size_t Base = 1;
    while (Base * 2 <= ROM.size())
        Base *= 2;
    uint32_t Sum = SumRange(ROM, 0, Base);
    const size_t Rest = ROM.size() - Base;
    if (Rest > 0) {
        // The rest is mirrored until it fills another Base bytes; Rest is
        // not always a divisor of Base, so count whole copies and the tail.
        const uint32_t RestSum = SumRange(ROM, Base, Rest);
        const size_t Copies = Base / Rest;
        Sum += static_cast<uint32_t>(Copies) * RestSum;
        Sum += SumRange(ROM, Base, Base - Copies * Rest);
    }
    return static_cast<uint16_t>(Sum);
}
