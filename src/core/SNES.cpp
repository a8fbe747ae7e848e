#include "core/SNES.h"

#include <array>

namespace
{
// Bytes per transfer unit and distinct B-bus registers, by transfer mode.
constexpr uint8_t UnitSizes[8] = {1, 2, 2, 4, 4, 4, 2, 4};
constexpr uint8_t RegCounts[8] = {1, 2, 1, 2, 4, 2, 1, 2};
} // namespace

void tSNES::ClearSound()
{
    DSP.fill(0);
    APU_ExtraRAM.fill(0);
    APU_RAM.fill(0);
    SPC_Cycles = 0;
    SPC_DirectPage = 0;
    SPC_PC = 0;
    SPC_PSW = SPC_SP = SPC_X = SPC_Y = 0;
    SPC_YA = 0;
    Voices.fill({});
}

void tSNES::ClearCPU()
{
    CPU_A = CPU_VCounter = 0;
    CPU_Cycles = 0;
    CPU_ZTiming.fill(0);
    CPU_D = 0;
    CPU_DB = 0;
    CPU_IRQActive = CPU_NMIActive = CPU_WaitingForInterrupt = 0;
    CPU_P = 0;
    CPU_PC = 0;
    CPU_S = CPU_X = CPU_Y = 0;
}

void tSNES::ClearPPUValues()
{
    BGHScroll.fill(0);
    BGVScroll.fill(0);
    M7HOffset = M7VOffset = 0;
    M7 = {};
    FixedColour.fill(0);
    FirstSprite = 0;
    CGRAMLatch = OPHCTLatch = OPVCTLatch = OAMLatch = VRAMReadLatch = 0;
    HDMAActive = HDMANext = HVLatched = IOPort = NoSpriteIncrement = VRAMReadLatch2 = 0;
    BeamPos.fill(0);
    LatchPos.fill(0);
}

void tSNES::Clear()
{
    ClearSound();
    CGRAM.fill(0);
    ClearCPU();
    OAM.fill(0);
    Regs.fill(0);
    VRAM.fill(0);
    WRAM.fill(0);
    ClearPPUValues();
}

void tSNES::DecodeDMA()
{
    const uint8_t MDMAEN = Regs[0x420B], HDMAEN = Regs[0x420C];
    for (int n = 0; n < 8; ++n) {
        const uint16_t Base = static_cast<uint16_t>(0x4300 + 16 * n);
        const uint8_t Control = Regs[Base];
        tDMAChannel& C = DMA[n];
        C.TableAddress = Reg16(Base + 8);
        C.TableAddress2 = C.TableAddress;
        C.ABank = Regs[Base + 4];
        C.BAddress = Regs[Base + 1];
        C.Direction = (Control >> 7) & 1;
        C.ByteCount = Reg16(Base + 5);
        C.IndirectAddress = C.ByteCount;
        C.Mode = Control & 7;
        C.UnitSize = UnitSizes[C.Mode];
        C.RegCount = RegCounts[C.Mode];
        C.DMAEnabled = (MDMAEN >> n) & 1;
        C.HDMAEnabled = (HDMAEN >> n) & 1;
        C.LineCounter = Regs[Base + 10];
        C.Indirect = (Control >> 6) & 1;
        C.IndirectBank = Regs[Base + 7];
        C.AAddress = Reg16(Base + 2);
        C.AAddress2 = C.AAddress;
        C.Decrement = (Control >> 4) & 1;
        C.Fixed = (Control >> 3) & 1;
    }
}

void tSNES::InvertPalette()
{
    for (uint16_t& C : CGRAM)
        C ^= 0x7FFF;
}

void tSNES::LoadDefaultPalette()
{
    // Red grows down the rows, green across the columns, blue falls with the rows.
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            CGRAM[16 * r + c] = static_cast<uint16_t>(((15 - r) << 11) + (c << 6) + 2 * r);
}

namespace
{
// A bank's window starts at Base in the ROM. A ROM that ends inside the window
// (a 32 KiB HiROM, an image an IPS patch grew by an odd amount) is mirrored
// in the largest power-of-two part that is there, as the cartridge's address
// lines would mirror it, so that Ptr[Address & (Size - 1)] never leaves the
// image.
void FitROMWindow(uint32_t Base, uint32_t ROMSize, uint16_t& Address, uint32_t& Size)
{
    while (Size > 1 && Size > ROMSize - Base)
        Size >>= 1;
    Address = static_cast<uint16_t>(Address & (Size - 1));
}
} // namespace

bool tSNES::MapAddress(const tROMView& Cartridge, uint8_t Bank, uint16_t& Address, uint32_t& Size,
                       const uint8_t*& Ptr) const
{
    Size = 65536;
    const uint8_t* ROM = Cartridge.Data.empty() ? nullptr : Cartridge.Data.data();
    const uint32_t ROMSize = static_cast<uint32_t>(Cartridge.Data.size());
    if (Bank == 0x7E) {
        Ptr = WRAM.data();
        return true;
    }
    if (Bank == 0x7F) {
        Ptr = WRAM.data() + 65536;
        return true;
    }
    if ((Bank & 0x40) == 0) {
        if (Address < 0x2000) {
            Ptr = WRAM.data();
            return true;
        }
        if (Address >= 0x4000 && Address < 0x4400) {
            Ptr = Regs.data();
            Size = 32768;
            return true;
        }
        if (Address >= 0x8000 && ROM && ROMSize > 0) {
            Address = static_cast<uint16_t>(Address - 0x8000);
            Size = 32768;
            const uint32_t Base = static_cast<uint32_t>((Bank & 0x7Fu) * 32768u % ROMSize);
            FitROMWindow(Base, ROMSize, Address, Size);
            Ptr = ROM + Base;
            return true;
        }
        return false;
    }
    if (!ROM || ROMSize == 0)
        return false;
    uint32_t Offset = static_cast<uint32_t>(Bank & 0x3F) * 65536;
    if (!Cartridge.HiROM)
        Offset += 0x200000;
    FitROMWindow(Offset % ROMSize, ROMSize, Address, Size);
    Ptr = ROM + Offset % ROMSize;
    return true;
}
