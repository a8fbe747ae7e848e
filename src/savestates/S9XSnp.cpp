#include "savestates/S9XSnp.h"

#include <algorithm>
#include <cstring>

#include "core/LittleEndian.h"
#include "core/Routines.h"
#include "core/SNES.h"

using namespace S9XSnp;

namespace
{
bool IsDigit(uint8_t C)
{
    return C >= '0' && C <= '9';
}

uint32_t BE16(std::span<const uint8_t> B, size_t O)
{
    return static_cast<uint32_t>(B[O] << 8 | B[O + 1]);
}

uint32_t BE32(std::span<const uint8_t> B, size_t O)
{
    return static_cast<uint32_t>(B[O]) << 24 | static_cast<uint32_t>(B[O + 1]) << 16 |
           static_cast<uint32_t>(B[O + 2]) << 8 | B[O + 3];
}

// The mandatory blocks in the order Snes9x writes them, with the least
// length each must have for the fields read from it in the newest layout;
// older layouts need less by the amounts below.
struct tNeed {
    const char* Name;
    uint32_t Length;
};
constexpr tNeed Mandatory[] = {{"NAM", 0},     {"CPU", 47},    {"REG", 16},     {"PPU", 2652},
                               {"DMA", 152},   {"VRA", 65536}, {"RAM", 131072}, {"SRA", 0},
                               {"FIL", 32768}, {"SND", 66358}, {"CTL", 0},      {"TIM", 0}};
enum : size_t { NAM, CPU, REG, PPU, DMA, VRA, RAM, SRA, FIL, SND, CTL, TIM, MandatoryCount };
constexpr uint32_t PPUFrom11 = 3;   // CGSavedByte and VRAMReadBuffer
constexpr uint32_t SNDFrom12 = 128; // a second copy of the DSP registers

// PPU block offsets as version 11 and later have them; earlier versions lack
// the byte at 63 (CGSavedByte), so everything after it sits one lower.
enum : size_t {
    PPUVMAHigh = 0,
    PPUVMAAddress = 2,
    PPUWRAM = 10,
    PPUBG = 14, // 4 records of 11: SCBase, HOffset, VOffset, BGSize, NameBase, SCSize
    PPUBGRecord = 11,
    PPUCGFLIP = 60,
    PPUCGADD = 62,
    PPUCGDATA = 64,
    PPUOAMFlip = 1997,
    PPUOAMData = 2003,
    PPUFirstSprite = 2547,
    PPUIRQHBeamPos = 2555,
    PPUIRQVBeamPos = 2557,
    PPUHBeamFlip = 2559,
    PPUVBeamFlip = 2560,
    PPUHBeamPosLatched = 2561,
    PPUVBeamPosLatched = 2563,
    PPUHVBeamCounterLatched = 2569,
    PPUMatrixA = 2573,
    PPUCentreX = 2581,
    PPUCentreY = 2583,
    PPUM7HOFS = 2585,
    PPUM7VOFS = 2587,
    PPUFixedColourRed = 2637,
};

// SND block: the S-SMP and S-DSP state, little-endian 32-bit fields.
enum : size_t {
    SNDRAM = 0,
    SNDClock = 65536,
    SNDPC = 65548,    // then SP, A, X, Y
    SNDFlags = 65568, // N V P B H I Z C, one field each
    SNDIPLROMEnable = 65600,
    SNDDSPAddr = 65604,
    SNDRAM00F8 = 65608,
    SNDTimers = 65616, // 3 records of 20: enable, target, 3 stage counters
    SNDDSPRegs = 65700,
    SNDCPUPorts = 66354, // less SNDFrom12 before version 12
};

struct tBlock {
    std::string Name;
    std::span<const uint8_t> Data;
};

// The bytes of a picture block its picture takes: a 5-byte header and 3 a
// pixel. 0 for a size Snes9x does not make or one that runs past the block.
size_t ShotBytes(std::span<const uint8_t> D)
{
    if (D.size() < 5)
        return 0;
    const uint32_t Width = BE16(D, 0), Height = BE16(D, 2);
    const size_t Bytes = 5 + 3 * size_t(Width) * Height;
    return !Width || !Height || Width > 512 || Height > 478 || Bytes > D.size() ? 0 : Bytes;
}

// One block header and its payload; false with Error set when the header is
// damaged or the payload runs past the end of the data.
bool NextBlock(std::span<const uint8_t> Content, size_t& Pos, tBlock& Out, std::string& Error)
{
    const size_t Left = Content.size() - Pos;
    if (Left < BlockHeaderSize) {
        Error = "a block header is cut short at byte " + std::to_string(Pos);
        return false;
    }
    const uint8_t* H = Content.data() + Pos;
    // Names are capitals and digits ("SA1", "DP4").
    const bool NameOk = std::all_of(H, H + 3, [](uint8_t C) { return IsDigit(C) || (C >= 'A' && C <= 'Z'); });
    Out.Name.assign(reinterpret_cast<const char*>(H), 3);
    if (!NameOk || H[3] != ':' || H[10] != ':') {
        Error = "the block header at byte " + std::to_string(Pos) + " is damaged";
        return false;
    }
    uint32_t Length = 0;
    if (!S9XBlockLength(H, Length, true)) {
        Error = "block " + Quoted(Out.Name) + " has a damaged length";
        return false;
    }
    if (Length > Left - BlockHeaderSize) {
        Error = "block " + Quoted(Out.Name) + " is cut short: it claims " + std::to_string(Length) +
                " bytes, the file holds " + std::to_string(Left - BlockHeaderSize);
        return false;
    }
    Out.Data = Content.subspan(Pos + BlockHeaderSize, Length);
    Pos += BlockHeaderSize + Length;
    return true;
}

void FillSound(std::span<const uint8_t> Snd, unsigned Version, tSNES& S)
{
    std::copy_n(Snd.begin() + SNDRAM, S.APU_RAM.size(), S.APU_RAM.begin());
    std::copy_n(Snd.begin() + SNDRAM + 0xFFC0, S.APU_ExtraRAM.size(), S.APU_ExtraRAM.begin());
    // With the boot ROM mapped the S-SMP sees it at $FFC0, the RAM beneath
    // kept apart.
    if (ReadLE<4>(Snd.data() + SNDIPLROMEnable))
        std::copy(IPLROM.begin(), IPLROM.end(), S.APU_RAM.begin() + 0xFFC0);
    // The DSP's own register file. Version 12 adds the registers as the S-SMP
    // reads them back, which hold the power-on noise of registers never
    // written; the DSP plays from these.
    std::copy_n(Snd.begin() + SNDDSPRegs, 128, S.DSP.begin());
    S.SPC_Cycles = ReadLE<4>(Snd.data() + SNDClock);
    S.SPC_PC = static_cast<uint16_t>(ReadLE<4>(Snd.data() + SNDPC));
    S.SPC_SP = static_cast<uint8_t>(ReadLE<4>(Snd.data() + SNDPC + 4));
    const uint8_t A = static_cast<uint8_t>(ReadLE<4>(Snd.data() + SNDPC + 8));
    S.SPC_X = static_cast<uint8_t>(ReadLE<4>(Snd.data() + SNDPC + 12));
    S.SPC_Y = static_cast<uint8_t>(ReadLE<4>(Snd.data() + SNDPC + 16));
    S.SPC_YA = static_cast<uint16_t>(S.SPC_Y << 8 | A);
    S.SPC_PSW = 0;
    for (int f = 0; f < 8; ++f)
        if (ReadLE<4>(Snd.data() + SNDFlags + 4 * static_cast<size_t>(f)))
            S.SPC_PSW = static_cast<uint8_t>(S.SPC_PSW | (0x80 >> f));
    S.SPC_DirectPage = (S.SPC_PSW >> 5) & 1;

    // The I/O registers the S-SMP keeps outside its RAM.
    uint8_t Control = ReadLE<4>(Snd.data() + SNDIPLROMEnable) ? 0x80 : 0;
    for (size_t t = 0; t < 3; ++t) {
        const size_t T = SNDTimers + 20 * t;
        if (ReadLE<4>(Snd.data() + T))
            Control = static_cast<uint8_t>(Control | (1u << t));
        S.APU_RAM[0xFA + t] = static_cast<uint8_t>(ReadLE<4>(Snd.data() + T + 4)); // 256 is written as 0
        S.APU_RAM[0xFD + t] = static_cast<uint8_t>(ReadLE<4>(Snd.data() + T + 16) & 0x0F);
    }
    S.APU_RAM[0xF1] = Control;
    S.APU_RAM[0xF2] = static_cast<uint8_t>(ReadLE<4>(Snd.data() + SNDDSPAddr));
    const size_t Ports = SNDCPUPorts - (Version >= 12 ? 0 : SNDFrom12);
    // RAM $F4-$F7 holds what the S-SMP wrote for the S-CPU to read at
    // $2140-$2143; the S-SMP itself reads the S-CPU's latches there.
    std::copy_n(Snd.begin() + 0xF4, 4, S.Regs.begin() + 0x2140);
    std::copy_n(Snd.begin() + static_cast<std::ptrdiff_t>(Ports), 4, S.APU_RAM.begin() + 0xF4);
    S.APU_RAM[0xF8] = static_cast<uint8_t>(ReadLE<4>(Snd.data() + SNDRAM00F8));
    S.APU_RAM[0xF9] = static_cast<uint8_t>(ReadLE<4>(Snd.data() + SNDRAM00F8 + 4));
}
// The channel registers $43x0-$43xB: Snes9x keeps them only in its DMA
// block, one record of 19 bytes per channel (its register mirror holds open
// bus there).
void FillDMA(std::span<const uint8_t> Dma, tSNES& S)
{
    for (size_t c = 0; c < 8 && 19 * (c + 1) <= Dma.size(); ++c) {
        const uint8_t* D = Dma.data() + 19 * c;
        uint8_t* R = &S.Regs[0x4300 + 16 * c];
        R[0] = static_cast<uint8_t>((D[0] & 1) << 7 | (D[1] & 1) << 6 | (D[2] & 1) << 5 | (D[4] & 1) << 4 |
                                    (D[3] & 1) << 3 | (D[5] & 7));
        R[1] = D[6];
        R[2] = D[8];
        R[3] = D[7];
        R[4] = D[9];
        R[5] = D[11];
        R[6] = D[10];
        R[7] = D[12];
        R[8] = D[14];
        R[9] = D[13];
        // Snes9x's repeat flag stands for an entry byte with bit 7 clear.
        R[10] = static_cast<uint8_t>((D[15] ? 0 : 0x80) | (D[16] & 0x7F));
        R[11] = R[15] = D[17];
    }
}
} // namespace

size_t S9XSnpShotStart(std::span<const uint8_t> Head, uint32_t& ShotLength)
{
    if (!IsS9XSnpHeader(Head))
        return 0;
    for (size_t Pos = HeaderSize; Head.size() - Pos >= BlockHeaderSize;) {
        uint32_t Length = 0;
        if (!S9XBlockLength(&Head[Pos], Length, true))
            return 0;
        if (!std::memcmp(&Head[Pos], "SHO", 3)) {
            ShotLength = Length;
            return Pos;
        }
        if (Length > Head.size() - Pos - BlockHeaderSize)
            return 0; // not inflated that far yet
        Pos += BlockHeaderSize + Length;
    }
    return 0;
}

std::span<const uint8_t> S9XSnpShotBlock(std::span<const uint8_t> Content)
{
    if (!IsS9XSnpHeader(Content))
        return {};
    size_t Pos = HeaderSize;
    tBlock Block;
    std::string Error;
    while (Pos < Content.size() && NextBlock(Content, Pos, Block, Error)) {
        if (Block.Name != "SHO")
            continue;
        const size_t Bytes = ShotBytes(Block.Data);
        return Bytes ? Block.Data.first(Bytes) : std::span<const uint8_t>();
    }
    return {};
}

bool S9XSnpShotPicture(std::span<const uint8_t> D, uint32_t& Width, uint32_t& Height, std::vector<uint32_t>& Pixels)
{
    if (D.size() < 5)
        return false;
    Width = BE16(D, 0);
    Height = BE16(D, 2);
    if (!ShotBytes(D))
        return false;
    Pixels.resize(size_t(Width) * Height);
    for (size_t i = 0; i < Pixels.size(); ++i) {
        const uint8_t* C = &D[5 + 3 * i];
        auto Eight = [](uint8_t V) { return static_cast<uint32_t>((V & 31) << 3 | (V & 31) >> 2); };
        Pixels[i] = Eight(C[0]) << 16 | Eight(C[1]) << 8 | Eight(C[2]);
    }
    return true;
}

bool IsS9XStreamHeader(std::span<const uint8_t> C, const char* StreamMagic)
{
    return C.size() >= HeaderSize && !std::memcmp(C.data(), StreamMagic, 9) && IsDigit(C[9]) && IsDigit(C[10]) &&
           IsDigit(C[11]) && IsDigit(C[12]) && C[13] == '\n';
}

bool IsS9XSnpHeader(std::span<const uint8_t> C)
{
    return IsS9XStreamHeader(C, Magic);
}

bool S9XBlockLength(const uint8_t* H, uint32_t& Length, bool Long)
{
    if (H[3] != ':' || H[10] != ':')
        return false;
    if (Long && H[4] == '-' && H[5] == '-') {
        Length = static_cast<uint32_t>(H[6]) << 24 | static_cast<uint32_t>(H[7]) << 16 |
                 static_cast<uint32_t>(H[8]) << 8 | H[9];
        return true;
    }
    uint32_t Value = 0;
    for (int i = 4; i < 10; ++i) {
        if (!IsDigit(H[i]))
            return false;
        Value = Value * 10 + static_cast<uint32_t>(H[i] - '0');
    }
    Length = Value;
    return true;
}

bool ParseS9XSnp(std::span<const uint8_t> Content, tSNES& S, std::vector<uint8_t>& SRAM, tS9XSnpInfo& Info,
                 std::string& Error)
{
    Info = tS9XSnpInfo();
    if (!IsS9XSnpHeader(Content)) {
        Error = "the \"#!s9xsnp\" header is missing";
        return false;
    }
    const unsigned Version = static_cast<unsigned>((Content[9] - '0') * 1000 + (Content[10] - '0') * 100 +
                                                   (Content[11] - '0') * 10 + (Content[12] - '0'));
    Info.Version = Version;
    if (Version < FirstVersion || Version > LastVersion) {
        Error = "Snes9x savestate version " + std::to_string(Version) + " is not read (versions " +
                std::to_string(FirstVersion) + " to " + std::to_string(LastVersion) + " are)";
        return false;
    }

    // The mandatory blocks, in order, each long enough for what is read from it.
    std::span<const uint8_t> B[MandatoryCount];
    size_t Pos = HeaderSize;
    tBlock Block;
    for (size_t i = 0; i < MandatoryCount; ++i) {
        if (!NextBlock(Content, Pos, Block, Error))
            return false;
        Info.Blocks.emplace_back(Block.Name, static_cast<uint32_t>(Block.Data.size()));
        if (Block.Name != Mandatory[i].Name) {
            Error = "block " + Quoted(Mandatory[i].Name) + " is missing (found " + Quoted(Block.Name) + ")";
            return false;
        }
        uint32_t Need = Mandatory[i].Length;
        if (i == PPU && Version < 11)
            Need -= PPUFrom11;
        if (i == SND && Version < 12)
            Need -= SNDFrom12;
        if (i == SND && Version < FirstSoundVersion)
            Need = 0;
        if (Block.Data.size() < Need) {
            Error = "block " + Quoted(Block.Name) + " is too short: " + std::to_string(Block.Data.size()) +
                    " bytes, at least " + std::to_string(Need) + " expected";
            return false;
        }
        B[i] = Block.Data;
    }
    // Optional blocks follow; only their framing is checked.
    while (Pos < Content.size()) {
        if (!NextBlock(Content, Pos, Block, Error))
            return false;
        Info.Blocks.emplace_back(Block.Name, static_cast<uint32_t>(Block.Data.size()));
    }
    Info.Name.assign(B[NAM].begin(), std::find(B[NAM].begin(), B[NAM].end(), uint8_t(0)));

    const auto Ppu = B[PPU];
    const auto P = [Version](size_t Offset) { return Version < 11 && Offset > 63 ? Offset - 1 : Offset; };
    std::copy_n(B[VRA].begin(), S.VRAM.size(), S.VRAM.begin());
    std::copy_n(B[RAM].begin(), S.WRAM.size(), S.WRAM.begin());
    std::copy_n(B[FIL].begin(), S.Regs.size(), S.Regs.begin());
    // Save RAM as the block holds it (Snes9x pads it to 512 KiB whatever the
    // cartridge has), never more than the largest a cartridge maps.
    SRAM.assign(B[SRA].begin(), B[SRA].begin() + std::min<std::ptrdiff_t>(std::ssize(B[SRA]), MaxSRAMSize));
    for (size_t c = 0; c < S.CGRAM.size(); ++c)
        S.CGRAM[c] = static_cast<uint16_t>(BE16(Ppu, P(PPUCGDATA) + 2 * c));
    std::copy_n(Ppu.begin() + static_cast<std::ptrdiff_t>(P(PPUOAMData)), S.OAM.size(), S.OAM.begin());

    // The register mirror holds what the program last wrote. The ports that
    // advance on their own keep their running values in the PPU block. The
    // HDMA enable, the sprite layer switches and colour math ($420C, $212C,
    // $212D, $2131) are only right in the mirror.
    const uint32_t VRAMAddress = BE16(Ppu, PPUVMAAddress);
    S.Regs[0x2116] = static_cast<uint8_t>(VRAMAddress);
    S.Regs[0x2117] = static_cast<uint8_t>(VRAMAddress >> 8);
    S.Regs[0x2121] = Ppu[PPUCGADD];
    const uint32_t WRAMPort = BE32(Ppu, PPUWRAM);
    S.Regs[0x2181] = static_cast<uint8_t>(WRAMPort);
    S.Regs[0x2182] = static_cast<uint8_t>(WRAMPort >> 8);
    S.Regs[0x2183] = static_cast<uint8_t>((WRAMPort >> 16) & 1);
    // The timer positions are only right in the PPU block.
    const uint32_t HIRQ = BE16(Ppu, P(PPUIRQHBeamPos)), VIRQ = BE16(Ppu, P(PPUIRQVBeamPos));
    S.Regs[0x4207] = static_cast<uint8_t>(HIRQ);
    S.Regs[0x4208] = static_cast<uint8_t>(HIRQ >> 8);
    S.Regs[0x4209] = static_cast<uint8_t>(VIRQ);
    S.Regs[0x420A] = static_cast<uint8_t>(VIRQ >> 8);

    FillDMA(B[DMA], S);
    S.ClearSound();
    if (Version >= FirstSoundVersion)
        FillSound(B[SND], Version, S);
    else
        Info.Note = "This Snes9x savestate (version " + std::to_string(Version) +
                    ") holds the sound state of an older sound core, which is not read: the SPC700 and DSP are empty.";

    const auto Reg = B[REG];
    const auto Cpu = B[CPU];
    S.CPU_PC = static_cast<uint32_t>(Reg[0]) << 16 | BE16(Reg, 14);
    S.CPU_DB = static_cast<uint32_t>(Reg[1]) << 16;
    S.CPU_P = static_cast<uint16_t>(BE16(Reg, 2));
    S.CPU_A = static_cast<uint16_t>(BE16(Reg, 4));
    S.CPU_D = static_cast<uint16_t>(BE16(Reg, 6));
    S.CPU_S = static_cast<uint16_t>(BE16(Reg, 8));
    S.CPU_X = static_cast<uint16_t>(BE16(Reg, 10));
    S.CPU_Y = static_cast<uint16_t>(BE16(Reg, 12));
    S.CPU_Cycles = BE32(Cpu, 0);
    S.CPU_VCounter = static_cast<uint16_t>(BE32(Cpu, 8));
    // Version 6 has one more byte before the flag and no pending NMI.
    S.CPU_WaitingForInterrupt = Cpu[Version == 6 ? 43 : 42] != 0;
    S.CPU_NMIActive = Version == 6 ? 0 : Cpu[43];
    S.CPU_IRQActive = 0;
    S.CPU_ZTiming = {0, 0, 0};

    S.CGRAMLatch = Ppu[PPUCGFLIP];
    S.OPHCTLatch = Ppu[P(PPUHBeamFlip)];
    S.OPVCTLatch = Ppu[P(PPUVBeamFlip)];
    S.OAMLatch = Ppu[P(PPUOAMFlip)];
    S.VRAMReadLatch = Ppu[PPUVMAHigh];
    S.HVLatched = Ppu[P(PPUHVBeamCounterLatched)];
    S.FirstSprite = Ppu[P(PPUFirstSprite)];
    S.HDMAActive = S.HDMANext = S.IOPort = S.NoSpriteIncrement = S.VRAMReadLatch2 = 0;

    const bool Mode7 = (S.Regs[0x2105] & 7) == 7;
    for (size_t n = 0; n < 4; ++n) {
        const size_t R = PPUBG + PPUBGRecord * n;
        const uint32_t Mask = n == 0 && Mode7 ? 0x1FFF : 0x3FF;
        S.BGHScroll[n] = static_cast<int32_t>(BE16(Ppu, R + 2) & Mask);
        S.BGVScroll[n] = static_cast<int32_t>(BE16(Ppu, R + 4) & Mask);
    }
    S.M7HOffset = static_cast<int32_t>(BE16(Ppu, P(PPUM7HOFS)) & 0x1FFF);
    S.M7VOffset = static_cast<int32_t>(BE16(Ppu, P(PPUM7VOFS)) & 0x1FFF);
    S.M7.A = static_cast<int16_t>(BE16(Ppu, P(PPUMatrixA)));
    S.M7.B = static_cast<int16_t>(BE16(Ppu, P(PPUMatrixA) + 2));
    S.M7.C = static_cast<int16_t>(BE16(Ppu, P(PPUMatrixA) + 4));
    S.M7.D = static_cast<int16_t>(BE16(Ppu, P(PPUMatrixA) + 6));
    S.M7.X = static_cast<int16_t>(BE16(Ppu, P(PPUCentreX)));
    S.M7.Y = static_cast<int16_t>(BE16(Ppu, P(PPUCentreY)));
    const size_t Fixed = P(PPUFixedColourRed);
    S.FixedColour = {static_cast<uint8_t>((Ppu[Fixed + 2] & 31) * 8), static_cast<uint8_t>((Ppu[Fixed + 1] & 31) * 8),
                     static_cast<uint8_t>((Ppu[Fixed] & 31) * 8), 0};
    // Snes9x counts a line in master cycles, four to a dot.
    S.BeamPos = {static_cast<int32_t>(BE32(Cpu, 0) / 4), static_cast<int32_t>(BE32(Cpu, 8))};
    S.LatchPos = {static_cast<int32_t>(BE16(Ppu, P(PPUHBeamPosLatched))),
                  static_cast<int32_t>(BE16(Ppu, P(PPUVBeamPosLatched)))};
    return true;
}
