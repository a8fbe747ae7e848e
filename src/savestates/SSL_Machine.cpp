// The chunk layouts of Super Sleuth states against the machine state. Both
// directions go through one table per chunk where the layout allows, so that
// loading and saving cannot drift apart.

#include <algorithm>
#include <cstring>

#include "cart/SNESCart.h"
#include "core/LittleEndian.h"
#include "savestates/SSL.h"

namespace
{
// A run of I/O registers stored together: Count bytes from bus address Reg
// at chunk offset Offset.
struct tRegRun {
    size_t Offset;
    uint16_t Reg;
    size_t Count;
};

// "SCPU" bytes 16-45: the CPU I/O registers.
constexpr tRegRun SCPURegs[] = {
    {16, 0x4200, 4},  // NMITIMEN WRIO WRMPYA WRMPYB
    {20, 0x4204, 2},  // WRDIVL/H
    {22, 0x4206, 1},  // WRDIVB
    {23, 0x4207, 2},  // HTIMEL/H
    {25, 0x4209, 2},  // VTIMEL/H
    {27, 0x420B, 3},  // MDMAEN HDMAEN MEMSEL
    {30, 0x4210, 4},  // RDNMI TIMEUP HVBJOY RDIO
    {34, 0x4214, 12}, // RDDIV RDMPY and the four joypad words
};

// "SPPU": the PPU registers it stores (the rest are values the register
// image cannot hold, handled below).
constexpr tRegRun SPPURegs[] = {
    {0, 0x2100, 4},     // INIDISP OBSEL OAMADDL/H
    {548, 0x2105, 8},   // BGMODE MOSAIC BG1SC-BG4SC BG12NBA BG34NBA
    {572, 0x2115, 3},   // VMAIN VMADDL/H
    {575, 0x211A, 1},   // M7SEL
    {588, 0x2121, 1},   // CGADD
    {1101, 0x2123, 15}, // W12SEL .. CGADSUB
    {1118, 0x2133, 4},  // SETINI MPYL/M/H
    {1126, 0x213E, 2},  // STAT77 STAT78
};

namespace SPPU
{
constexpr size_t OAM = 4;
constexpr size_t Scroll = 556; // BG1-BG4: u16 horizontal, u16 vertical
constexpr size_t M7Matrix = 576;
constexpr size_t M7X = 584;
constexpr size_t M7Y = 586;
constexpr size_t Palette = 589;
constexpr size_t FixedColour = 1116;
constexpr size_t LatchH = 1122;
constexpr size_t LatchV = 1124;
} // namespace SPPU

namespace SAPU
{
constexpr size_t A = 0, X = 1, Y = 2, SP = 3, PC = 4, PSW = 6, Ports = 7, RAM = 27;
}

namespace SCPU
{
constexpr size_t A = 0, X = 2, Y = 4, D = 6, S = 8, PC = 10, PB = 12, DB = 13, P = 14;
}

constexpr size_t VRAMHalf = 32768;
} // namespace

void tSSLImage::ChunksToMachine(tSNES& S) const
{
    for (size_t i = 0; i < S.CGRAM.size(); ++i)
        S.CGRAM[i] = ReadLE16(&SPPU[SPPU::Palette + 2 * i]);
    std::copy_n(SPPU.begin() + SPPU::OAM, S.OAM.size(), S.OAM.begin());
    // VRAM is stored as all low bytes of the words, then all high bytes.
    for (size_t k = 0; k < VRAMHalf; ++k) {
        S.VRAM[2 * k] = VRAM[k];
        S.VRAM[2 * k + 1] = VRAM[VRAMHalf + k];
    }
    std::copy_n(WRAM.begin() + 3, S.WRAM.size(), S.WRAM.begin());

    S.Regs.fill(0);
    *S.Reg8(0x4016) = 0;
    *S.Reg8(0x4017) = 0x1C; // joypad serial lines as an idle pad reads
    for (const tRegRun& R : SCPURegs)
        std::copy_n(SCPU.begin() + R.Offset, R.Count, S.Regs.begin() + R.Reg);
    std::copy(SDMA.begin(), SDMA.end(), S.Regs.begin() + 0x4300);
    for (const tRegRun& R : SPPURegs)
        std::copy_n(SPPU.begin() + R.Offset, R.Count, S.Regs.begin() + R.Reg);
    std::copy_n(SAPU.begin() + SAPU::Ports, 4, S.Regs.begin() + 0x2140);
    std::copy_n(WRAM.begin(), 3, S.Regs.begin() + 0x2181);

    for (int n = 0; n < 4; ++n) {
        S.BGHScroll[n] = ReadLE16(&SPPU[SPPU::Scroll + 4 * n]);
        S.BGVScroll[n] = ReadLE16(&SPPU[SPPU::Scroll + 4 * n + 2]);
    }
    S.M7HOffset = S.BGHScroll[0];
    S.M7VOffset = S.BGVScroll[0];
    S.M7.A = static_cast<int16_t>(GetLE16<SPPU::M7Matrix>(SPPU));
    S.M7.B = static_cast<int16_t>(GetLE16<SPPU::M7Matrix + 2>(SPPU));
    S.M7.C = static_cast<int16_t>(GetLE16<SPPU::M7Matrix + 4>(SPPU));
    S.M7.D = static_cast<int16_t>(GetLE16<SPPU::M7Matrix + 6>(SPPU));
    S.M7.X = static_cast<int16_t>(GetLE16<SPPU::M7X>(SPPU));
    S.M7.Y = static_cast<int16_t>(GetLE16<SPPU::M7Y>(SPPU));
    const uint16_t Fixed = GetLE16<SPPU::FixedColour>(SPPU);
    S.FixedColour = {static_cast<uint8_t>((Fixed >> 10 & 31) * 8), static_cast<uint8_t>((Fixed >> 5 & 31) * 8),
                     static_cast<uint8_t>((Fixed & 31) * 8), 0};
    S.LatchPos = {GetLE16<SPPU::LatchH>(SPPU), GetLE16<SPPU::LatchV>(SPPU)};

    // Only ZSNES carries the upper DSP half; cycles and the direct page flag
    // are not in this format.
    S.ClearSound();
    std::copy(SDSP.begin(), SDSP.end(), S.DSP.begin());
    std::copy_n(SAPU.begin() + SAPU::RAM, S.APU_RAM.size(), S.APU_RAM.begin());
    // The format keeps no separate copy of the RAM under the IPL ROM.
    std::copy_n(S.APU_RAM.end() - S.APU_ExtraRAM.size(), S.APU_ExtraRAM.size(), S.APU_ExtraRAM.begin());
    S.SPC_PC = GetLE16<SAPU::PC>(SAPU);
    S.SPC_PSW = SAPU[SAPU::PSW];
    S.SPC_SP = SAPU[SAPU::SP];
    S.SPC_X = SAPU[SAPU::X];
    S.SPC_Y = SAPU[SAPU::Y];
    S.SPC_YA = static_cast<uint16_t>(SAPU[SAPU::Y] << 8 | SAPU[SAPU::A]);

    S.ClearCPU();
    S.CPU_A = GetLE16<SCPU::A>(SCPU);
    S.CPU_X = GetLE16<SCPU::X>(SCPU);
    S.CPU_Y = GetLE16<SCPU::Y>(SCPU);
    S.CPU_D = GetLE16<SCPU::D>(SCPU);
    S.CPU_S = GetLE16<SCPU::S>(SCPU);
    S.CPU_PC = static_cast<uint32_t>(SCPU[SCPU::PB]) << 16 | GetLE16<SCPU::PC>(SCPU);
    S.CPU_DB = static_cast<uint32_t>(SCPU[SCPU::DB]) << 16;
    S.CPU_P = GetLE16<SCPU::P>(SCPU);

    // OAMADDH bit 7 turns on priority rotation starting at the sprite that
    // OAMADDL names.
    const uint8_t OAMAddH = *S.Reg8(0x2103);
    S.FirstSprite = OAMAddH & 0x80 ? static_cast<uint8_t>((*S.Reg8(0x2102) & 0xFE) >> 1) : 0;
}

void tSSLImage::MachineToChunks(const tSNES& S, const tCart* C, uint32_t DosDateTime)
{
    SRAMStream = C ? C->SRAM : std::vector<uint8_t>{};

    BPS2[0] = 4;
    BPS2[1] = 1;
    std::fill_n(BPS2.begin() + 2, 64, uint8_t{0});
    static constexpr char Name[] = "Orlik";
    std::memcpy(BPS2.data() + 2, Name, sizeof Name - 1);
    for (int i = 0; i < 4; ++i)
        BPS2[162 + i] = static_cast<uint8_t>(DosDateTime >> (8 * i));

    SAPU[SAPU::A] = static_cast<uint8_t>(S.SPC_YA);
    SAPU[SAPU::X] = S.SPC_X;
    SAPU[SAPU::Y] = S.SPC_Y;
    SAPU[SAPU::SP] = S.SPC_SP;
    SetLE<SAPU::PC, 2>(SAPU, S.SPC_PC);
    SAPU[SAPU::PSW] = S.SPC_PSW;
    std::copy_n(S.Regs.begin() + 0x2140, 4, SAPU.begin() + SAPU::Ports);
    std::copy(S.APU_RAM.begin(), S.APU_RAM.end(), SAPU.begin() + SAPU::RAM);

    SetLE<SCPU::A, 2>(SCPU, S.CPU_A);
    SetLE<SCPU::X, 2>(SCPU, S.CPU_X);
    SetLE<SCPU::Y, 2>(SCPU, S.CPU_Y);
    SetLE<SCPU::D, 2>(SCPU, S.CPU_D);
    SetLE<SCPU::S, 2>(SCPU, S.CPU_S);
    SetLE<SCPU::PC, 2>(SCPU, S.CPU_PC);
    SCPU[SCPU::PB] = static_cast<uint8_t>(S.CPU_PC >> 16);
    SCPU[SCPU::DB] = static_cast<uint8_t>(S.CPU_DB >> 16);
    SetLE<SCPU::P, 2>(SCPU, S.CPU_P);
    for (const tRegRun& R : SCPURegs)
        std::copy_n(S.Regs.begin() + R.Reg, R.Count, SCPU.begin() + R.Offset);

    std::copy_n(S.Regs.begin() + 0x4300, SDMA.size(), SDMA.begin());
    std::copy_n(S.DSP.begin(), SDSP.size(), SDSP.begin());

    for (const tRegRun& R : SPPURegs)
        std::copy_n(S.Regs.begin() + R.Reg, R.Count, SPPU.begin() + R.Offset);
    std::copy(S.OAM.begin(), S.OAM.end(), SPPU.begin() + SPPU::OAM);
    for (int n = 0; n < 4; ++n) {
        WriteLE<2>(&SPPU[SPPU::Scroll + 4 * n], static_cast<uint32_t>(S.BGHScroll[n]));
        WriteLE<2>(&SPPU[SPPU::Scroll + 4 * n + 2], static_cast<uint32_t>(S.BGVScroll[n]));
    }
    SetLE<SPPU::M7Matrix, 2>(SPPU, static_cast<uint16_t>(S.M7.A));
    SetLE<SPPU::M7Matrix + 2, 2>(SPPU, static_cast<uint16_t>(S.M7.B));
    SetLE<SPPU::M7Matrix + 4, 2>(SPPU, static_cast<uint16_t>(S.M7.C));
    SetLE<SPPU::M7Matrix + 6, 2>(SPPU, static_cast<uint16_t>(S.M7.D));
    SetLE<SPPU::M7X, 2>(SPPU, static_cast<uint32_t>(S.M7.X));
    SetLE<SPPU::M7Y, 2>(SPPU, static_cast<uint32_t>(S.M7.Y));
    for (size_t i = 0; i < S.CGRAM.size(); ++i)
        WriteLE<2>(&SPPU[SPPU::Palette + 2 * i], S.CGRAM[i]);
    // The fixed colour is held as blue, green, red bytes of 0..248.
    const uint32_t Fixed = (S.FixedColour[2] >> 3) | (S.FixedColour[1] >> 3) << 5 | (S.FixedColour[0] >> 3) << 10;
    SetLE<SPPU::FixedColour, 2>(SPPU, Fixed);
    SetLE<SPPU::LatchH, 2>(SPPU, static_cast<uint32_t>(S.LatchPos[0]));
    SetLE<SPPU::LatchV, 2>(SPPU, static_cast<uint32_t>(S.LatchPos[1]));

    for (size_t k = 0; k < VRAMHalf; ++k) {
        VRAM[k] = S.VRAM[2 * k];
        VRAM[VRAMHalf + k] = S.VRAM[2 * k + 1];
    }
    std::copy_n(S.Regs.begin() + 0x2181, 3, WRAM.begin());
    std::copy(S.WRAM.begin(), S.WRAM.end(), WRAM.begin() + 3);
}
