#include "savestates/S9XSnpWrite.h"

#include <algorithm>
#include <cstdio>

#include <zlib.h>

#include "core/LittleEndian.h"
#include "core/SNES.h"

using namespace S9XSnp;

namespace
{
// Master-clock positions in a line as Snes9x 1.5x/1.6x keeps them, and the
// event it waits for next at each (1 H-blank start, 2 HDMA start, 3 end of
// line, 4 HDMA init, 5 render, 6 WRAM refresh), in the order a line meets them.
constexpr int32_t LineCycles = 1364, HBlankStart = 1096, HBlankEnd = 4, HDMAInit = 20, HDMAStart = 1106,
                  RenderPos = 512, WRAMRefreshPos = 534;
struct tEvent {
    int32_t At;
    uint8_t Which;
};
constexpr tEvent LineEvents[] = {{HDMAInit, 4},    {RenderPos, 5}, {WRAMRefreshPos, 6},
                                 {HBlankStart, 1}, {HDMAStart, 2}, {LineCycles, 3}};

constexpr size_t CPUSize = 48, REGSize = 16, PPUSize = 2652, DMASize = 152, CTLSize = 91, TIMSize = 70;
constexpr size_t SRASize = 0x80000, SNDSize = 66560;
constexpr size_t ShotWidth = 512, ShotHeight = 478;

void PutBE(std::vector<uint8_t>& B, size_t O, uint32_t V, int Width)
{
    for (int i = 0; i < Width; ++i)
        B[O + static_cast<size_t>(i)] = static_cast<uint8_t>(V >> (8 * (Width - 1 - i)));
}
void Put16(std::vector<uint8_t>& B, size_t O, uint32_t V)
{
    PutBE(B, O, V, 2);
}
void Put32(std::vector<uint8_t>& B, size_t O, uint32_t V)
{
    PutBE(B, O, V, 4);
}
void PutLE32(std::vector<uint8_t>& B, size_t O, uint32_t V)
{
    WriteLE<4>(&B[O], V);
}
// Mode 7's 13-bit values as Snes9x keeps them: sign-extended to 16 bits.
uint32_t Signed13(int32_t V)
{
    return static_cast<uint16_t>(static_cast<int16_t>(static_cast<uint16_t>(V << 3)) >> 3);
}
uint8_t Bit(unsigned V, int N)
{
    return static_cast<uint8_t>((V >> N) & 1);
}

void AppendBlock(std::vector<uint8_t>& Out, const char* Name, std::span<const uint8_t> Data)
{
    char Head[BlockHeaderSize + 1];
    if (Data.size() <= 999999) {
        std::snprintf(Head, sizeof Head, "%.3s:%06u:", Name, static_cast<unsigned>(Data.size()));
    } else {
        std::snprintf(Head, sizeof Head, "%.3s:------:", Name);
        const uint32_t L = static_cast<uint32_t>(Data.size());
        for (int i = 0; i < 4; ++i)
            Head[6 + i] = static_cast<char>(L >> (24 - 8 * i));
    }
    Out.insert(Out.end(), Head, Head + BlockHeaderSize);
    Out.insert(Out.end(), Data.begin(), Data.end());
}

std::vector<uint8_t> CPUBlock(const tSNES& S, unsigned FrameLines)
{
    const auto& R = S.Regs;
    std::vector<uint8_t> B(CPUSize);
    // A position past the line (a state saved mid-event by another
    // emulator) is taken as the line's end.
    const int32_t Cycles = static_cast<int32_t>(std::min<uint32_t>(S.CPU_Cycles, LineCycles - 1));
    Put32(B, 0, static_cast<uint32_t>(Cycles));
    Put32(B, 4, static_cast<uint32_t>(Cycles));
    Put32(B, 8, S.CPU_VCounter % FrameLines);
    const bool Fast = R[0x420D] & 1;
    Put32(B, 20, Fast ? 6 : 8);
    Put32(B, 24, Fast ? 12 : 16);
    Put32(B, 28, Fast ? 6 : 8);
    // The first event of the line still ahead of the beam.
    const tEvent* Next =
        std::find_if(std::begin(LineEvents), std::end(LineEvents), [Cycles](const tEvent& E) { return E.At > Cycles; });
    B[37] = Next->Which;
    Put32(B, 38, static_cast<uint32_t>(Next->At));
    B[42] = S.CPU_WaitingForInterrupt ? 1 : 0;
    B[43] = S.CPU_NMIActive ? 1 : 0;
    B[44] = B[46] = Bit(R[0x4211], 7);
    return B;
}

std::vector<uint8_t> REGBlock(const tSNES& S)
{
    std::vector<uint8_t> B(REGSize);
    B[0] = static_cast<uint8_t>(S.CPU_PC >> 16);
    B[1] = static_cast<uint8_t>(S.CPU_DB >> 16);
    Put16(B, 2, S.CPU_P);
    Put16(B, 4, S.CPU_A);
    Put16(B, 6, S.CPU_D);
    Put16(B, 8, S.CPU_S);
    Put16(B, 10, S.CPU_X);
    Put16(B, 12, S.CPU_Y);
    Put16(B, 14, S.CPU_PC & 0xFFFF);
    return B;
}

std::vector<uint8_t> PPUBlock(const tSNES& S, unsigned FrameLines)
{
    const auto& R = S.Regs;
    std::vector<uint8_t> B(PPUSize);
    const uint8_t BGMODE = R[0x2105], VMAIN = R[0x2115], OBSEL = R[0x2101], MOSAIC = R[0x2106], M7SEL = R[0x211A];
    B[0] = VMAIN >> 7;
    static constexpr uint8_t Increment[4] = {1, 32, 128, 128};
    B[1] = Increment[VMAIN & 3];
    Put16(B, 2, S.Reg16(0x2116));
    // $2115 bits 2-3 address remapping.
    static constexpr uint16_t Count[4] = {0, 32, 64, 128}, Shift[4] = {0, 5, 6, 7};
    const int T = (VMAIN >> 2) & 3;
    Put16(B, 4, T ? Count[T] * 8 - 1 : 0);
    Put16(B, 6, Count[T]);
    Put16(B, 8, Shift[T]);
    Put32(B, 10, R[0x2181] | R[0x2182] << 8 | static_cast<uint32_t>(R[0x2183] & 1) << 16);
    for (int n = 0; n < 4; ++n) {
        const size_t O = 14 + 11 * static_cast<size_t>(n);
        Put16(B, O, (R[0x2107 + n] & 0x7C) << 8);
        // BG1's pair also holds mode 7's 13-bit scroll.
        const bool M7H = n == 0 && (S.M7HOffset & 0x3FF) == (S.BGHScroll[0] & 0x3FF);
        const bool M7V = n == 0 && (S.M7VOffset & 0x3FF) == (S.BGVScroll[0] & 0x3FF);
        Put16(B, O + 2, M7H ? Signed13(S.M7HOffset) : static_cast<uint32_t>(S.BGHScroll[n]) & 0xFFFF);
        Put16(B, O + 4, M7V ? Signed13(S.M7VOffset) : static_cast<uint32_t>(S.BGVScroll[n]) & 0xFFFF);
        B[O + 6] = Bit(BGMODE, 4 + n);
        Put16(B, O + 7, ((R[0x210B + n / 2] >> (4 * (n & 1))) & 0x0F) << 12);
        Put16(B, O + 9, R[0x2107 + n] & 3);
    }
    B[58] = BGMODE & 7;
    B[59] = (BGMODE & 0x0F) == 9;
    B[60] = B[61] = S.CGRAMLatch ? 1 : 0;
    B[62] = R[0x2121];
    for (size_t c = 0; c < 256; ++c)
        Put16(B, 64 + 2 * c, S.CGRAM[c]);
    for (size_t s = 0; s < 128; ++s) {
        const uint8_t* O = &S.OAM[4 * s];
        const unsigned High = S.OAM[512 + s / 4] >> (2 * (s & 3));
        const size_t Rec = 576 + 11 * s;
        const int X = O[0] | (High & 1) << 8;
        Put16(B, Rec, static_cast<uint16_t>(X >= 256 ? X - 512 : X));
        Put16(B, Rec + 2, O[1]);
        B[Rec + 4] = Bit(O[3], 6);
        B[Rec + 5] = Bit(O[3], 7);
        Put16(B, Rec + 6, O[2] | (O[3] & 1) << 8);
        B[Rec + 8] = (O[3] >> 4) & 3;
        B[Rec + 9] = (O[3] >> 1) & 7;
        // The large-size bit as it sits in its high-table byte.
        B[Rec + 10] = S.OAM[512 + s / 4] & (2 << (2 * (s & 3)));
    }
    // 1984-1986: never kept by Snes9x, always 0.
    Put16(B, 1987, (OBSEL & 3) << 14);
    Put16(B, 1989, ((OBSEL >> 3) & 3) << 13);
    B[1991] = OBSEL >> 5;
    Put16(B, 1992, S.Reg16(0x2102) & 0x1FF);
    Put16(B, 1994, S.Reg16(0x2102) & 0x1FF);
    B[1996] = R[0x2103] >> 7;
    B[1997] = B[1998] = S.OAMLatch ? 1 : 0;
    Put16(B, 1999, (OBSEL & 3) << 14);
    std::copy(S.OAM.begin(), S.OAM.end(), B.begin() + 2003);
    B[2547] = S.FirstSprite & 0x7F;
    B[2548] = static_cast<uint8_t>((S.FirstSprite - 1) & 0x7F);
    B[2549] = Bit(R[0x4200], 4);
    B[2550] = Bit(R[0x4200], 5);
    // The H timer as a line position in master cycles, past the line when
    // it falls outside.
    const uint32_t HPos = S.Reg16(0x4207) & 0x1FF, VPos = S.Reg16(0x4209) & 0x1FF;
    const uint32_t HTimer = HPos * 4 + (HPos ? 14 : 10);
    Put16(B, 2551, HTimer < LineCycles ? HTimer : LineCycles + 1);
    Put16(B, 2553, VPos < FrameLines ? VPos : FrameLines + 1);
    Put16(B, 2555, S.Reg16(0x4207) & 0x1FF);
    Put16(B, 2557, S.Reg16(0x4209) & 0x1FF);
    B[2559] = S.OPHCTLatch ? 1 : 0;
    B[2560] = S.OPVCTLatch ? 1 : 0;
    Put16(B, 2561, static_cast<uint32_t>(S.LatchPos[0]) & 0xFFFF);
    Put16(B, 2563, static_cast<uint32_t>(S.LatchPos[1]) & 0xFFFF);
    Put16(B, 2567, 1000); // the light gun's V latch as Snes9x resets it
    B[2569] = S.HVLatched ? 1 : 0;
    B[2570] = M7SEL & 1;
    B[2571] = Bit(M7SEL, 1);
    B[2572] = (M7SEL >> 6) == 1 ? 0 : M7SEL >> 6;
    const int16_t Matrix[4] = {S.M7.A, S.M7.B, S.M7.C, S.M7.D};
    for (size_t k = 0; k < 4; ++k)
        Put16(B, 2573 + 2 * k, static_cast<uint16_t>(Matrix[k]));
    Put16(B, 2581, static_cast<uint32_t>(S.M7.X) & 0xFFFF);
    Put16(B, 2583, static_cast<uint32_t>(S.M7.Y) & 0xFFFF);
    Put16(B, 2585, Signed13(S.M7HOffset));
    Put16(B, 2587, Signed13(S.M7VOffset));
    // Snes9x keeps the block size 1-16, or 0 until the register is first
    // written non-zero.
    B[2589] = MOSAIC ? (MOSAIC >> 4) + 1 : 0;
    for (int n = 0; n < 4; ++n)
        B[2591 + static_cast<size_t>(n)] = MOSAIC & (1 << n);
    for (size_t k = 0; k < 4; ++k)
        B[2595 + k] = R[0x2126 + k];
    B[2599] = 1; // have the renderer rebuild its window spans
    for (int k = 0; k < 6; ++k) {
        const unsigned Nibble = (R[0x2123 + k / 2] >> (4 * (k & 1))) & 0x0F;
        const unsigned Logic = k < 4 ? (R[0x212A] >> (2 * k)) & 3 : (R[0x212B] >> (2 * (k - 4))) & 3;
        const size_t O = 2600 + 6 * static_cast<size_t>(k);
        B[O + 1] = static_cast<uint8_t>(Logic);
        B[O + 2] = Bit(Nibble, 1);
        B[O + 3] = Bit(Nibble, 3);
        B[O + 4] = !(Nibble & 1);
        B[O + 5] = !(Nibble & 4);
    }
    B[2636] = R[0x2100] >> 7;
    B[2637] = S.FixedColour[2] >> 3;
    B[2638] = S.FixedColour[1] >> 3;
    B[2639] = S.FixedColour[0] >> 3;
    B[2640] = R[0x2100] & 0x0F;
    Put16(B, 2641, (R[0x2133] & 4) ? 239 : 224);
    B[2643] = 1; // compute $2134-$2136 from the matrix again
    // 2644-2649: write latches and open bus, all 0 after a frame; HDMA is
    // cleared at V-blank.
    Put16(B, 2650, static_cast<uint32_t>(R[0x2139] | R[0x213A] << 8));
    return B;
}

std::vector<uint8_t> DMABlock(const tSNES& S)
{
    std::vector<uint8_t> B(DMASize);
    for (size_t c = 0; c < 8; ++c) {
        const size_t O = 19 * c;
        const uint8_t* R = &S.Regs[0x4300 + 16 * c];
        B[O + 0] = Bit(R[0], 7);
        B[O + 1] = Bit(R[0], 6);
        B[O + 2] = Bit(R[0], 5);
        B[O + 3] = Bit(R[0], 3);
        B[O + 4] = Bit(R[0], 4);
        B[O + 5] = R[0] & 7;
        B[O + 6] = R[1];
        Put16(B, O + 7, static_cast<uint32_t>(R[2] | R[3] << 8));
        B[O + 9] = R[4];
        Put16(B, O + 10, static_cast<uint32_t>(R[5] | R[6] << 8));
        B[O + 12] = R[7];
        Put16(B, O + 13, static_cast<uint32_t>(R[8] | R[9] << 8));
        // Snes9x's repeat flag is set for an entry byte with bit 7 clear.
        B[O + 15] = !(R[10] & 0x80);
        // A table that ended keeps its $80 count.
        B[O + 16] = (R[10] & 0x7F) ? R[10] & 0x7F : R[10] & 0x80;
        B[O + 17] = R[11];
    }
    return B;
}

std::vector<uint8_t> SNDBlock(const tSNES& S)
{
    std::vector<uint8_t> B(SNDSize);
    const auto& Ram = S.APU_RAM;
    std::copy(Ram.begin(), Ram.end(), B.begin());
    // The RAM under the boot ROM, and the ports the S-SMP last wrote (the
    // S-CPU reads them at $2140-$2143).
    if (Ram[0xF1] & 0x80)
        std::copy(S.APU_ExtraRAM.begin(), S.APU_ExtraRAM.end(), B.begin() + 0xFFC0);
    std::copy_n(&S.Regs[0x2140], 4, B.begin() + 0xF4);
    // The control register is write-only; Snes9x's RAM copy holds 0.
    B[0xF1] = 0;
    // Another emulator's S-SMP clock means nothing here; a sane one is kept.
    const int32_t Clock = static_cast<int32_t>(S.SPC_Cycles);
    PutLE32(B, 65536, Clock > -(1 << 20) && Clock < (1 << 20) ? S.SPC_Cycles : 0);
    PutLE32(B, 65548, S.SPC_PC);
    PutLE32(B, 65552, S.SPC_SP);
    PutLE32(B, 65556, S.SPC_YA & 0xFF);
    PutLE32(B, 65560, S.SPC_X);
    PutLE32(B, 65564, S.SPC_YA >> 8);
    for (int f = 0; f < 8; ++f)
        PutLE32(B, 65568 + 4 * static_cast<size_t>(f), Bit(S.SPC_PSW, 7 - f));
    PutLE32(B, 65600, Bit(Ram[0xF1], 7));
    PutLE32(B, 65604, Ram[0xF2]);
    PutLE32(B, 65608, Ram[0xF8]);
    PutLE32(B, 65612, Ram[0xF9]);
    for (size_t t = 0; t < 3; ++t) {
        const size_t O = 65616 + 20 * t;
        PutLE32(B, O, Bit(Ram[0xF1], static_cast<int>(t)));
        PutLE32(B, O + 4, Ram[0xFA + t]);
        PutLE32(B, O + 16, Ram[0xFD + t] & 0x0F);
    }
    std::copy_n(S.DSP.begin(), 128, B.begin() + 65700);
    // The DSP's voices and pipeline start afresh: the noise generator as
    // at power-on, the sample counter at its first phase.
    B[66164] = 1;
    WriteLE<2>(&B[66166], 0x4000);
    std::copy_n(S.DSP.begin(), 128, B.begin() + 66213);
    std::copy_n(Ram.begin() + 0xF4, 4, B.begin() + 66354);
    return B;
}

std::vector<uint8_t> CTLBlock()
{
    std::vector<uint8_t> B(CTLSize);
    B[0] = 4;
    B[52] = B[63] = 1; // the mice's button bytes as Snes9x keeps them idle
    return B;
}

std::vector<uint8_t> TIMBlock(const tSNES& S, unsigned FrameLines)
{
    std::vector<uint8_t> B(TIMSize);
    Put32(B, 0, LineCycles);
    Put32(B, 4, LineCycles);
    Put32(B, 8, FrameLines);
    // An interlaced frame has one more line on alternate fields.
    Put32(B, 12, FrameLines + (S.Regs[0x2133] & 1));
    Put32(B, 16, HBlankStart);
    Put32(B, 20, HBlankEnd);
    Put32(B, 24, HDMAInit);
    Put32(B, 28, HDMAStart);
    Put32(B, 32, S.CPU_NMIActive ? 12 : 0xFFFF);
    Put32(B, 36, WRAMRefreshPos);
    Put32(B, 40, RenderPos);
    Put32(B, 45, 18); // DMA to CPU synchronisation
    Put32(B, 49, 24); // NMI delay after DMA
    Put32(B, 61, 14); // delay before a timer IRQ is taken
    Put32(B, 66, 0x0FFFFFFF);
    return B;
}

std::vector<uint8_t> SHOBlock(const tS9XSnpPicture& P)
{
    std::vector<uint8_t> B(5 + ShotWidth * ShotHeight * 3);
    const size_t W = std::min<size_t>(P.Width, ShotWidth), H = std::min<size_t>(P.Height, ShotHeight);
    Put16(B, 0, static_cast<uint32_t>(W));
    Put16(B, 2, static_cast<uint32_t>(H));
    B[4] = P.Interlaced;
    for (size_t y = 0; y < H; ++y)
        for (size_t x = 0; x < W; ++x) {
            const uint32_t C = P.Pixels[y * P.Width + x];
            uint8_t* D = &B[5 + 3 * (y * W + x)];
            D[0] = static_cast<uint8_t>((C >> 19) & 31);
            D[1] = static_cast<uint8_t>((C >> 11) & 31);
            D[2] = static_cast<uint8_t>((C >> 3) & 31);
        }
    return B;
}
} // namespace

std::string S9XSnpName(const std::string& Name)
{
    const size_t Slash = Name.find_last_of("/\\:");
    std::string Base = Slash == std::string::npos ? Name : Name.substr(Slash + 1);
    Base.erase(std::find(Base.begin(), Base.end(), '\0'), Base.end());
    return Base.empty() ? "Removed" : Base;
}

std::vector<uint8_t> BuildS9XSnp(const tSNES& S, std::span<const uint8_t> SRAM, const std::string& Name,
                                 const tS9XSnpPicture* Shot)
{
    const unsigned FrameLines = (S.Regs[0x213F] & 0x10) ? 312 : 262;
    std::vector<uint8_t> Out;
    Out.reserve(823407 + (Shot ? 734224 : 0));
    const char Head[] = "#!s9xsnp:0012\n";
    Out.insert(Out.end(), Head, Head + HeaderSize);
    std::string Text = S9XSnpName(Name);
    Text.push_back('\0');
    AppendBlock(Out, "NAM", {reinterpret_cast<const uint8_t*>(Text.data()), Text.size()});
    AppendBlock(Out, "CPU", CPUBlock(S, FrameLines));
    AppendBlock(Out, "REG", REGBlock(S));
    AppendBlock(Out, "PPU", PPUBlock(S, FrameLines));
    AppendBlock(Out, "DMA", DMABlock(S));
    AppendBlock(Out, "VRA", S.VRAM);
    AppendBlock(Out, "RAM", S.WRAM);
    // Snes9x always carries 512 KiB, unused save RAM as it fills it.
    std::vector<uint8_t> Sra(SRASize, 0x60);
    std::copy_n(SRAM.begin(), std::min(SRAM.size(), Sra.size()), Sra.begin());
    AppendBlock(Out, "SRA", Sra);
    // Snes9x's mirror holds 0 at the sound ports; their values are in "SND".
    std::vector<uint8_t> Fil(S.Regs.begin(), S.Regs.end());
    std::fill_n(Fil.begin() + 0x2140, 4, 0);
    AppendBlock(Out, "FIL", Fil);
    AppendBlock(Out, "SND", SNDBlock(S));
    AppendBlock(Out, "CTL", CTLBlock());
    AppendBlock(Out, "TIM", TIMBlock(S, FrameLines));
    if (Shot && Shot->Width && Shot->Height && Shot->Pixels.size() >= size_t(Shot->Width) * Shot->Height)
        AppendBlock(Out, "SHO", SHOBlock(*Shot));
    return Out;
}

std::vector<uint8_t> WrapRAState(std::span<const uint8_t> Stream)
{
    std::vector<uint8_t> Out = {'R', 'A', 'S', 'T', 'A', 'T', 'E', 1};
    auto Block = [&Out](const char* Id, std::span<const uint8_t> Data) {
        Out.insert(Out.end(), Id, Id + 4);
        uint8_t L[4];
        WriteLE<4>(L, static_cast<uint32_t>(Data.size()));
        Out.insert(Out.end(), L, L + 4);
        Out.insert(Out.end(), Data.begin(), Data.end());
        Out.resize((Out.size() + 7) & ~size_t(7), 0);
    };
    Block("MEM ", Stream);
    Block("END ", {});
    return Out;
}

bool PackRZip(std::span<const uint8_t> Data, std::vector<uint8_t>& Out)
{
    constexpr size_t Chunk = 131072;
    Out = {'#', 'R', 'Z', 'I', 'P', 'v', 1, '#'};
    Out.resize(20);
    WriteLE<4>(&Out[8], static_cast<uint32_t>(Chunk));
    WriteLE<4>(&Out[12], static_cast<uint32_t>(Data.size()));
    WriteLE<4>(&Out[16], static_cast<uint32_t>(static_cast<uint64_t>(Data.size()) >> 32));
    for (size_t Pos = 0; Pos < Data.size(); Pos += Chunk) {
        const size_t N = std::min(Chunk, Data.size() - Pos);
        uLongf Size = compressBound(static_cast<uLong>(N));
        const size_t At = Out.size();
        Out.resize(At + 4 + Size);
        if (compress2(&Out[At + 4], &Size, &Data[Pos], static_cast<uLong>(N), 6) != Z_OK)
            return false;
        WriteLE<4>(&Out[At], static_cast<uint32_t>(Size));
        Out.resize(At + 4 + Size);
    }
    return true;
}
