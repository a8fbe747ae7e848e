#include "savestates/S9XBlocks.h"

#include <algorithm>
#include <bit>

#include "core/SNES.h"
#include "core/LittleEndian.h"

using namespace S9XLayout;

namespace
{
void Put8(std::vector<uint8_t>& B, size_t O, unsigned V)
{
    B[O] = static_cast<uint8_t>(V);
}

// VRAM step in words by $2115 bits 0-1, and the address translation of bits 2-3.
constexpr uint8_t VRAMIncrement[4] = {1, 32, 128, 128};
constexpr uint16_t TranslationMask[4] = {0xFFFF, 0x00FF, 0x01FF, 0x03FF};
constexpr uint16_t TranslationCount[4] = {0, 32, 64, 128};
constexpr uint16_t TranslationShift[4] = {0, 5, 6, 7};
// Snes9x runs a line in 1,368 of its cycles (342 dots of 4) and keeps the
// H-IRQ position in them; one past the line means no H-IRQ.
constexpr unsigned LineCycles = 1368;

// Snes9x fills the pages of its register mirror that hold no register with
// the open-bus value of each, the high byte of the address.
void FillOpenBus(std::vector<uint8_t>& Fil)
{
    auto Fill = [&Fil](unsigned From, unsigned To, bool OpenBus) {
        for (unsigned A = From; A < To; ++A)
            Fil[A] = OpenBus ? static_cast<uint8_t>(A >> 8) : 0;
    };
    Fill(0x0000, 0x1000, true);
    Fill(0x1000, 0x2000, false);
    Fill(0x2000, 0x2100, true);
    Fill(0x2400, 0x4000, true);
    Fill(0x4100, 0x4200, true);
    Fill(0x4380, 0x8000, true);
}

int16_t SignedByte(uint8_t V)
{
    return static_cast<int8_t>(V);
}

// A voice as the sound block holds it; KeyedOn comes from the APU block.
tVoice ReadVoice(const tS9XBlocks& B, size_t v)
{
    const uint8_t* R = &B[BlockSOU][SOUVoice + SOUVoiceRecord * v];
    tVoice V;
    const uint32_t State = ReadLE<4>(&R[SOUVoiceState]);
    // Snes9x's phases: 0 silent, 1 attack, 2 decay, 3 sustain, 4 release,
    // 5 to 9 gain in its modes.
    V.Phase = State >= 5 && State <= 9 ? uint8_t{VoiceGain} : static_cast<uint8_t>(State <= 4 ? State : 0);
    if (V.Phase != VoiceSilent)
        V.Level = static_cast<uint8_t>(ReadLE<4>(&R[SOUVoiceEnvx]) & 0x7F);
    V.KeyedOn = static_cast<uint8_t>((B[BlockAPU][APUKeyedChannels] >> v) & 1);
    V.Block = static_cast<uint16_t>(ReadLE<4>(&R[SOUVoiceBlockPointer]));
    V.Position = static_cast<uint8_t>(ReadLE<4>(&R[SOUVoiceSamplePointer]) & 15);
    V.Decode = R[SOUVoiceNeedsDecode] != 0;
    V.Loop = R[SOUVoiceLoop] != 0;
    V.End = R[SOUVoiceLastBlock] != 0;
    for (size_t k = 0; k < V.Decoded.size(); ++k)
        V.Decoded[k] = static_cast<int16_t>(ReadLE16(&R[SOUVoiceDecoded + 2 * k]));
    for (size_t k = 0; k < V.Previous.size(); ++k)
        V.Previous[k] = static_cast<int16_t>(ReadLE16(&R[SOUVoicePrevious + 2 * k]));
    return V;
}

// Writes a voice of another format's state. Snes9x keeps the envelope's
// rates and step counters in units of its own output rate, which no file
// pins down, and a note in attack or decay without them would never end: a
// voice in flight is written silent, with its sample position, flags and
// decoder history, so the SPC700 program's next key-on starts it as Snes9x
// does.
void WriteVoice(tS9XBlocks& B, const tVoice& V, size_t v)
{
    uint8_t* R = &B[BlockSOU][SOUVoice + SOUVoiceRecord * v];
    std::fill(R, R + SOUVoiceRecord, uint8_t{0});
    WriteLE<4>(&R[SOUVoiceBlockPointer], V.Block);
    WriteLE<4>(&R[SOUVoiceSamplePointer], V.Position & 15u);
    R[SOUVoiceNeedsDecode] = V.Decode;
    R[SOUVoiceLoop] = V.Loop;
    R[SOUVoiceLastBlock] = V.End;
    for (size_t k = 0; k < V.Decoded.size(); ++k)
        WriteLE<2>(&R[SOUVoiceDecoded + 2 * k], static_cast<uint16_t>(V.Decoded[k]));
    for (size_t k = 0; k < V.Previous.size(); ++k)
        WriteLE<2>(&R[SOUVoicePrevious + 2 * k], static_cast<uint16_t>(V.Previous[k]));
}

// Scroll bits the hardware uses: ten, or thirteen for BG1 in mode 7.
uint16_t ScrollMask(int Layer, uint8_t BGMODE)
{
    return (Layer == 0 && (BGMODE & 7) == 7) ? 0x1FFF : 0x3FF;
}
} // namespace

void tS9XBlocks::Clear()
{
    Header.fill(0);
    Name.clear();
    for (int i = 0; i < BlockCount; ++i)
        Data[i].assign(Blocks[i].Size, 0);
    HasAPU = HasSA1 = HasSP7 = HasRTC = false;
}

void tS9XBlocks::SwapByteOrder()
{
    if constexpr (std::endian::native == std::endian::big)
        return;
    for (const tWordRun& R : WordRuns) {
        std::vector<uint8_t>& B = Data[R.Block];
        for (unsigned i = 0; i < R.Count; ++i) {
            uint8_t* P = &B[R.Offset + i * R.Stride];
            std::reverse(P, P + R.Width);
        }
    }
}

std::vector<std::pair<uint16_t, uint8_t>> S9XLiveRegisters(const tS9XBlocks& B)
{
    // The register mirror keeps what the program last wrote; these are the
    // registers the data ports and the HDMA channels have advanced since,
    // whose running values Snes9x keeps in its PPU and DMA blocks.
    const auto& Ppu = B[BlockPPU];
    const auto& Dma = B[BlockDMA];
    std::vector<std::pair<uint16_t, uint8_t>> Live;
    auto Add = [&Live](unsigned Address, unsigned Value) {
        Live.emplace_back(static_cast<uint16_t>(Address), static_cast<uint8_t>(Value));
    };
    const unsigned VRAM = ReadLE16(&Ppu[PPUVMAAddress]);
    Add(0x2116, VRAM);
    Add(0x2117, VRAM >> 8);
    Add(0x2121, Ppu[PPUCGADD]);
    const uint32_t WRAMPort = ReadLE<4>(&Ppu[PPUWRAM]);
    Add(0x2181, WRAMPort);
    Add(0x2182, WRAMPort >> 8);
    Add(0x2183, (WRAMPort >> 16) & 1);
    for (unsigned c = 0; c < 8; ++c) {
        const unsigned Base = 0x4300 + 16 * c;
        const size_t O = DMARecord * c;
        // A channel untouched since reset keeps the mirror's values.
        if (std::equal(std::begin(DMAResetRecord), std::end(DMAResetRecord),
                       Dma.begin() + static_cast<std::ptrdiff_t>(O)))
            continue;
        const unsigned Table = ReadLE16(&Dma[O + DMAAddress]);
        Add(Base + 7, Dma[O + DMAIndirectBank]);
        Add(Base + 8, Table);
        Add(Base + 9, Table >> 8);
        Add(Base + 10, (Dma[O + DMARepeat] ? 0 : 0x80) | (Dma[O + DMALineCount] & 0x7F));
    }
    return Live;
}

void S9XBlocksToMachine(const tS9XBlocks& B, tSNES& S, std::vector<uint8_t>* SRAM)
{
    const auto& Ppu = B[BlockPPU];
    if (SRAM)
        *SRAM = B[BlockSRA];
    for (size_t c = 0; c < S.CGRAM.size(); ++c)
        S.CGRAM[c] = ReadLE16(&Ppu[PPUCGData + 2 * c]);
    std::copy_n(Ppu.begin() + PPUOAMData, S.OAM.size(), S.OAM.begin());
    std::copy(B[BlockVRA].begin(), B[BlockVRA].end(), S.VRAM.begin());
    std::copy(B[BlockRAM].begin(), B[BlockRAM].end(), S.WRAM.begin());
    S.Regs.fill(0);
    std::copy(B[BlockFIL].begin(), B[BlockFIL].end(), S.Regs.begin());
    for (const auto& [Address, Value] : S9XLiveRegisters(B))
        S.Regs[Address] = Value;

    // Without the sound blocks the sound part stays cleared.
    S.ClearSound();
    if (B.HasAPU) {
        const auto& Apu = B[BlockAPU];
        const auto& Are = B[BlockARE];
        std::copy_n(Apu.begin() + APUDSP, 128, S.DSP.begin());
        std::copy_n(Apu.begin() + APUExtraRAM, S.APU_ExtraRAM.size(), S.APU_ExtraRAM.begin());
        std::copy(B[BlockARA].begin(), B[BlockARA].end(), S.APU_RAM.begin());
        S.SPC_Cycles = ReadLE<4>(&Apu[APUCycles]);
        S.SPC_PSW = Are[AREP];
        S.SPC_DirectPage = (S.SPC_PSW >> 5) & 1;
        S.SPC_YA = ReadLE16(&Are[AREYA]);
        S.SPC_Y = static_cast<uint8_t>(S.SPC_YA >> 8);
        S.SPC_X = Are[AREX];
        S.SPC_SP = Are[ARES];
        S.SPC_PC = ReadLE16(&Are[AREPC]);
        std::copy_n(Apu.begin() + APUOutPorts, 4, &S.Regs[0x2140]);
        for (size_t v = 0; v < S.Voices.size(); ++v)
            S.Voices[v] = ReadVoice(B, v);
    }

    const auto& Reg = B[BlockREG];
    const auto& Cpu = B[BlockCPU];
    S.CPU_PC = static_cast<uint32_t>(Reg[REGPB]) << 16 | ReadLE16(&Reg[REGPC]);
    S.CPU_DB = static_cast<uint32_t>(Reg[REGDB]) << 16;
    S.CPU_P = ReadLE16(&Reg[REGP]);
    S.CPU_A = ReadLE16(&Reg[REGA]);
    S.CPU_D = ReadLE16(&Reg[REGD]);
    S.CPU_S = ReadLE16(&Reg[REGS]);
    S.CPU_X = ReadLE16(&Reg[REGX]);
    S.CPU_Y = ReadLE16(&Reg[REGY]);
    S.CPU_NMIActive = Cpu[CPUNMIActive];
    S.CPU_WaitingForInterrupt = Cpu[CPUWaitingForInterrupt] != 0;
    S.CPU_IRQActive = 0;
    S.CPU_Cycles = ReadLE<4>(&Cpu[CPUCycles]);
    S.CPU_VCounter = static_cast<uint16_t>(ReadLE<4>(&Cpu[CPUVCounter]));
    S.CPU_ZTiming = {0, 0, 0};

    S.CGRAMLatch = S.OPHCTLatch = S.OPVCTLatch = S.OAMLatch = S.VRAMReadLatch = 0;
    S.HDMAActive = S.HDMANext = S.HVLatched = S.IOPort = S.NoSpriteIncrement = S.VRAMReadLatch2 = 0;
    S.CGRAMLatch = Ppu[PPUCGFlip];
    S.OPHCTLatch = Ppu[PPUHTimerEnabled];
    S.OPVCTLatch = Ppu[PPUVTimerEnabled];
    S.OAMLatch = Ppu[PPUOAMFlip];
    S.VRAMReadLatch = Ppu[PPUVMAHigh];
    S.HVLatched = Ppu[PPUHVBeamCounterLatched];
    S.FirstSprite = Ppu[PPUFirstSprite];

    const uint8_t BGMODE = S.Regs[0x2105];
    for (int n = 0; n < 4; ++n) {
        const size_t R = PPUBG + PPUBGRecord * n;
        const uint16_t V = ReadLE16(&Ppu[R + 2]), H = ReadLE16(&Ppu[R + 4]);
        S.BGHScroll[n] = H & ScrollMask(n, BGMODE);
        S.BGVScroll[n] = V & ScrollMask(n, BGMODE);
        if (n == 0) {
            S.M7HOffset = H & 0x1FFF;
            S.M7VOffset = V & 0x1FFF;
        }
    }
    S.M7.A = static_cast<int16_t>(ReadLE16(&Ppu[PPUMatrixA]));
    S.M7.B = static_cast<int16_t>(ReadLE16(&Ppu[PPUMatrixA + 2]));
    S.M7.C = static_cast<int16_t>(ReadLE16(&Ppu[PPUMatrixA + 4]));
    S.M7.D = static_cast<int16_t>(ReadLE16(&Ppu[PPUMatrixA + 6]));
    S.M7.X = static_cast<int16_t>(ReadLE16(&Ppu[PPUCentreX]));
    S.M7.Y = static_cast<int16_t>(ReadLE16(&Ppu[PPUCentreY]));
    S.FixedColour = {static_cast<uint8_t>((Ppu[PPUFixedColourBlue] & 31) * 8),
                     static_cast<uint8_t>((Ppu[PPUFixedColourGreen] & 31) * 8),
                     static_cast<uint8_t>((Ppu[PPUFixedColourRed] & 31) * 8), 0};
    S.BeamPos = {ReadLE16(&Ppu[PPUHTimerPosition]), static_cast<int32_t>(ReadLE<4>(&Cpu[CPUVCounter]))};
    S.LatchPos = {ReadLE16(&Ppu[PPUHBeamPosLatched]), ReadLE16(&Ppu[PPUVBeamPosLatched])};
}

void S9XMachineToBlocks(tS9XBlocks& B, const tSNES& S, const std::vector<uint8_t>* SRAM, bool Fresh)
{
    const auto& R = S.Regs;
    // What the mirror of a loaded file holds where the machine state has the
    // running values: kept unless the value was changed since.
    std::vector<std::pair<uint16_t, uint8_t>> Mirror;
    if (!Fresh)
        for (const auto& [Address, Value] : S9XLiveRegisters(B))
            if (R[Address] == Value)
                Mirror.emplace_back(Address, B[BlockFIL][Address]);
    // A converted state carries the machine's sound state.
    if (Fresh)
        B.HasAPU = true;

    // A loaded file keeps its voices where the machine state still holds
    // what they were read as; the others are written silent.
    auto& Apu = B[BlockAPU];
    uint8_t Keyed = 0;
    for (size_t v = 0; v < S.Voices.size(); ++v) {
        if (!Fresh && ReadVoice(B, v) == S.Voices[v])
            Keyed = static_cast<uint8_t>(Keyed | (Apu[APUKeyedChannels] & (1u << v)));
        else
            WriteVoice(B, S.Voices[v], v);
    }
    WriteLE<4>(&Apu[APUCycles], S.SPC_Cycles);
    Put8(Apu, APUShowROM, S.APU_RAM[0xF1] >> 7);
    Put8(Apu, APUKeyedChannels, Keyed);
    std::copy_n(&R[0x2140], 4, Apu.begin() + APUOutPorts);
    std::copy_n(S.DSP.begin(), 128, Apu.begin() + APUDSP);
    std::copy(S.APU_ExtraRAM.begin(), S.APU_ExtraRAM.end(), Apu.begin() + APUExtraRAM);
    for (int t = 0; t < 3; ++t) {
        WriteLE<2>(&Apu[APUTimer + 2 * t], S.APU_RAM[0xFD + t]);
        // A target written as 0 divides by 256.
        const uint8_t Target = S.APU_RAM[0xFA + t];
        WriteLE<2>(&Apu[APUTimerTarget + 2 * t], Target ? Target : 256);
        Put8(Apu, APUTimerEnabled + t, (S.APU_RAM[0xF1] >> t) & 1);
    }
    auto& Are = B[BlockARE];
    Put8(Are, AREP, S.SPC_PSW);
    WriteLE<2>(&Are[AREYA], S.SPC_YA);
    Put8(Are, AREX, S.SPC_X);
    Put8(Are, ARES, S.SPC_SP);
    WriteLE<2>(&Are[AREPC], S.SPC_PC);
    std::copy(S.APU_RAM.begin(), S.APU_RAM.end(), B[BlockARA].begin());

    // A state saved with its SPC700 off has no sound state at all; Snes9x
    // gets the SPC700 as it powers on (boot ROM mapped and running, RAM
    // cleared, DSP in soft reset), so a game waiting for it does not hang.
    const bool NoSound =
        Fresh && S.SPC_PC == 0 && std::all_of(S.APU_RAM.begin(), S.APU_RAM.end(), [](uint8_t V) { return V == 0; });
    if (NoSound) {
        auto& Ram = B[BlockARA];
        std::fill(Ram.begin(), Ram.end(), 0);
        Ram[0xF1] = 0x80;
        std::copy(IPLROM.begin(), IPLROM.end(), Ram.begin() + 0xFFC0);
        Put8(Apu, APUShowROM, 1);
        Put8(Apu, APUDSP + 0x6C, 0xE0);
        Put8(Are, ARES, 0xEF);
        WriteLE<2>(&Are[AREPC], 0xFFC0);
    }

    auto& Cpu = B[BlockCPU];
    Put8(Cpu, CPUNMIActive, S.CPU_NMIActive);
    Put8(Cpu, CPUIRQActive, S.CPU_IRQActive);
    Put8(Cpu, CPUWaitingForInterrupt, S.CPU_WaitingForInterrupt);
    WriteLE<4>(&Cpu[CPUCycles], S.CPU_Cycles);
    // The next event of a line Snes9x starts: its H-blank.
    if (Fresh) {
        Put8(Cpu, CPUWhichEvent, 0);
        WriteLE<4>(&Cpu[CPUNextEvent], 256 * LineCycles / 342);
    }
    // A state saved while its emulator was paused may count lines past the
    // frame; Snes9x would end its first frame after one line.
    const unsigned FrameLines = (R[0x213F] & 0x10) ? 312 : 262;
    WriteLE<4>(&Cpu[CPUVCounter], S.CPU_VCounter % FrameLines);
    // Memory access cycles: 6 for FastROM, 8 for SlowROM, as Snes9x writes them.
    const bool Fast = R[0x420D] & 1;
    WriteLE<4>(&Cpu[CPUMemSpeed], Fast ? 6 : 8);
    WriteLE<4>(&Cpu[CPUMemSpeedx2], Fast ? 12 : 16);
    WriteLE<4>(&Cpu[CPUFastROMSpeed], Fast ? 6 : 8);

    auto& Reg = B[BlockREG];
    Put8(Reg, REGPB, S.CPU_PC >> 16);
    Put8(Reg, REGDB, S.CPU_DB >> 16);
    WriteLE<2>(&Reg[REGP], S.CPU_P);
    WriteLE<2>(&Reg[REGA], S.CPU_A);
    WriteLE<2>(&Reg[REGD], S.CPU_D);
    WriteLE<2>(&Reg[REGS], S.CPU_S);
    WriteLE<2>(&Reg[REGX], S.CPU_X);
    WriteLE<2>(&Reg[REGY], S.CPU_Y);
    WriteLE<2>(&Reg[REGPC], S.CPU_PC & 0xFFFF);

    auto& Dma = B[BlockDMA];
    for (int c = 0; c < 8; ++c) {
        const uint16_t Base = static_cast<uint16_t>(0x4300 + 16 * c);
        const size_t O = DMARecord * c;
        const uint8_t Control = R[Base];
        if (std::all_of(&R[Base], &R[Base + 10], [](uint8_t V) { return V == 0xFF; })) {
            // A channel never written since reset, as Snes9x keeps it.
            std::copy(std::begin(DMAResetRecord), std::end(DMAResetRecord),
                      Dma.begin() + static_cast<std::ptrdiff_t>(O));
            continue;
        }
        Put8(Dma, O + 0, Control >> 7);
        Put8(Dma, O + 1, (Control >> 3) & 1);
        Put8(Dma, O + 2, (Control >> 4) & 1);
        Put8(Dma, O + 3, Control & 7);
        Put8(Dma, O + 4, R[Base + 4]);
        WriteLE<2>(&Dma[O + 5], S.Reg16(Base + 2));
        WriteLE<2>(&Dma[O + DMAAddress], S.Reg16(Base + 8));
        Put8(Dma, O + 9, R[Base + 1]);
        WriteLE<2>(&Dma[O + 10], S.Reg16(Base + 5));
        Put8(Dma, O + 12, (Control >> 6) & 1);
        WriteLE<2>(&Dma[O + 13], S.Reg16(Base + 5));
        Put8(Dma, O + DMAIndirectBank, R[Base + 7]);
        // Snes9x's flag is set when the line-count byte has bit 7 clear
        // (data sent on the entry's first line only).
        Put8(Dma, O + DMARepeat, (R[Base + 10] & 0x80) ? 0 : 1);
        // 128 lines (an $80 entry) and 0 look alike in the register.
        if ((Dma[O + DMALineCount] & 0x7F) != (R[Base + 10] & 0x7F))
            Put8(Dma, O + DMALineCount, R[Base + 10] & 0x7F);
        // Snes9x saves at line 0 just after it started HDMA for the frame:
        // each enabled channel at the start of its table, on a first line.
        if (S.CPU_VCounter % FrameLines == 0 && (R[0x420C] >> c & 1)) {
            WriteLE<2>(&Dma[O + DMAAddress], S.Reg16(Base + 2));
            Put8(Dma, O + DMALineCount, 0);
            Put8(Dma, O + DMAFirstLine, 1);
        }
    }

    auto& Ppu = B[BlockPPU];
    const uint8_t BGMODE = R[0x2105], VMAIN = R[0x2115], OBSEL = R[0x2101], MOSAIC = R[0x2106], M7SEL = R[0x211A];
    Put8(Ppu, PPUBGMode, BGMODE & 7);
    // Snes9x's BG3 priority is only in effect in mode 1.
    Put8(Ppu, PPUBG3Priority, (BGMODE & 0x0F) == 9);
    Put8(Ppu, PPUBrightness, R[0x2100] & 0x0F);
    Put8(Ppu, PPUVMAHigh, VMAIN >> 7);
    Put8(Ppu, PPUVMAIncrement, VRAMIncrement[VMAIN & 3]);
    WriteLE<2>(&Ppu[PPUVMAAddress], S.Reg16(0x2116));
    const int Translation = (VMAIN >> 2) & 3;
    WriteLE<2>(&Ppu[PPUVMAMask1], TranslationMask[Translation]);
    WriteLE<2>(&Ppu[PPUVMAFullGraphicCount], TranslationCount[Translation]);
    WriteLE<2>(&Ppu[PPUVMAShift], TranslationShift[Translation]);
    for (int n = 0; n < 4; ++n) {
        const size_t O = PPUBG + PPUBGRecord * n;
        // Snes9x keeps the map and character bases as VRAM word addresses.
        WriteLE<2>(&Ppu[O], (R[0x2107 + n] & 0x7C) << 8);
        // BG1's registers also hold mode 7's 13-bit scroll, whatever the mode.
        const bool M7V = n == 0 && (S.M7VOffset & 0x3FF) == (S.BGVScroll[0] & 0x3FF);
        const bool M7H = n == 0 && (S.M7HOffset & 0x3FF) == (S.BGHScroll[0] & 0x3FF);
        WriteLE<2>(&Ppu[O + 2], static_cast<unsigned>(M7V ? S.M7VOffset : S.BGVScroll[n]));
        WriteLE<2>(&Ppu[O + 4], static_cast<unsigned>(M7H ? S.M7HOffset : S.BGHScroll[n]));
        Put8(Ppu, O + 6, (BGMODE >> (4 + n)) & 1);
        WriteLE<2>(&Ppu[O + 7], ((R[0x210B + n / 2] >> (4 * (n & 1))) & 0x0F) << 12);
        WriteLE<2>(&Ppu[O + 9], R[0x2107 + n] & 3);
    }
    Put8(Ppu, PPUCGFlip, S.CGRAMLatch);
    for (size_t c = 0; c < S.CGRAM.size(); ++c)
        WriteLE<2>(&Ppu[PPUCGData + 2 * c], S.CGRAM[c]);
    Put8(Ppu, PPUFirstSprite, S.FirstSprite);
    for (int s = 0; s < 128; ++s) {
        const uint8_t* O = &S.OAM[4 * s];
        const uint8_t High = static_cast<uint8_t>(S.OAM[512 + s / 4] >> (2 * (s & 3)));
        const size_t Rec = PPUOBJ + PPUOBJRecord * s;
        const int X = O[0] | (High & 1) << 8;
        WriteLE<2>(&Ppu[Rec], static_cast<uint16_t>(X >= 256 ? X - 512 : X));
        WriteLE<2>(&Ppu[Rec + 2], O[1]);
        WriteLE<2>(&Ppu[Rec + 4], O[2] | (O[3] & 1) << 8);
        Put8(Ppu, Rec + 6, O[3] >> 7);
        Put8(Ppu, Rec + 7, (O[3] >> 6) & 1);
        Put8(Ppu, Rec + 8, (O[3] >> 4) & 3);
        Put8(Ppu, Rec + 9, (O[3] >> 1) & 7);
        // The large-size bit as it sits in its high-table byte.
        Put8(Ppu, Rec + 10, S.OAM[512 + s / 4] & (2 << (2 * (s & 3))));
    }
    Put8(Ppu, PPUOAMPriorityRotation, R[0x2103] >> 7);
    WriteLE<2>(&Ppu[PPUOAMAddr], S.Reg16(0x2102) & 0x1FF);
    Put8(Ppu, PPUOAMFlip, S.OAMLatch);
    WriteLE<2>(&Ppu[PPUIRQVBeamPos], S.Reg16(0x4209));
    WriteLE<2>(&Ppu[PPUIRQHBeamPos], S.Reg16(0x4207));
    WriteLE<2>(&Ppu[PPUVBeamPosLatched], static_cast<unsigned>(S.LatchPos[1]));
    WriteLE<2>(&Ppu[PPUHBeamPosLatched], static_cast<unsigned>(S.LatchPos[0]));
    Put8(Ppu, PPUHVBeamCounterLatched, S.HVLatched);
    WriteLE<2>(&Ppu[PPUMatrixA], static_cast<uint16_t>(S.M7.A));
    WriteLE<2>(&Ppu[PPUMatrixA + 2], static_cast<uint16_t>(S.M7.B));
    WriteLE<2>(&Ppu[PPUMatrixA + 4], static_cast<uint16_t>(S.M7.C));
    WriteLE<2>(&Ppu[PPUMatrixA + 6], static_cast<uint16_t>(S.M7.D));
    WriteLE<2>(&Ppu[PPUCentreX], static_cast<unsigned>(S.M7.X));
    WriteLE<2>(&Ppu[PPUCentreY], static_cast<unsigned>(S.M7.Y));
    Put8(Ppu, PPUCGADD, R[0x2121]);
    Put8(Ppu, PPUFixedColourRed, S.FixedColour[2] >> 3);
    Put8(Ppu, PPUFixedColourGreen, S.FixedColour[1] >> 3);
    Put8(Ppu, PPUFixedColourBlue, S.FixedColour[0] >> 3);
    WriteLE<2>(&Ppu[PPUSavedOAMAddr], S.Reg16(0x2102) & 0x1FF);
    WriteLE<2>(&Ppu[PPUScreenHeight], (R[0x2133] & 0x04) ? 239 : 224);
    // The WRAM port address has 17 bits; Snes9x indexes its 128 KiB with it.
    WriteLE<4>(&Ppu[PPUWRAM], R[0x2181] | R[0x2182] << 8 | static_cast<uint32_t>(R[0x2183] & 1) << 16);
    Put8(Ppu, PPUForcedBlanking, R[0x2100] >> 7);
    WriteLE<2>(&Ppu[PPUOBJNameSelect], ((OBSEL >> 3) & 3) << 13);
    Put8(Ppu, PPUOBJSizeSelect, OBSEL >> 5);
    WriteLE<2>(&Ppu[PPUOBJNameBase], (OBSEL & 3) << 14);
    Put8(Ppu, PPUOAMReadFlip, S.OAMLatch);
    Put8(Ppu, PPUVTimerEnabled, (R[0x4200] >> 5) & 1);
    Put8(Ppu, PPUHTimerEnabled, (R[0x4200] >> 4) & 1);
    if (Fresh)
        WriteLE<2>(&Ppu[PPUHTimerPosition],
                   (R[0x4200] & 0x10) ? (S.Reg16(0x4207) & 0x1FF) * LineCycles / 342 : LineCycles + 1);
    else
        WriteLE<2>(&Ppu[PPUHTimerPosition], static_cast<unsigned>(S.BeamPos[0]));
    // Snes9x keeps the mosaic block size (1-16) and turns a layer's mosaic
    // on only for blocks above one pixel.
    const unsigned MosaicSize = (MOSAIC >> 4) + 1;
    Put8(Ppu, PPUMosaic, MosaicSize);
    for (int n = 0; n < 4; ++n)
        Put8(Ppu, PPUBGMosaic + n, ((MOSAIC >> n) & 1) && MosaicSize > 1);
    Put8(Ppu, PPUMode7HFlip, M7SEL & 1);
    Put8(Ppu, PPUMode7VFlip, (M7SEL >> 1) & 1);
    // M7SEL bits 6-7 as Snes9x keeps them: 0 and 1 both repeat the plane.
    Put8(Ppu, PPUMode7Repeat, (M7SEL >> 6) == 1 ? 0 : M7SEL >> 6);
    for (int k = 0; k < 4; ++k)
        Put8(Ppu, PPUWindow1Left + k, R[0x2126 + k]);
    for (int k = 0; k < 6; ++k) {
        const uint8_t Nibble = (R[0x2123 + k / 2] >> (4 * (k & 1))) & 0x0F;
        const uint8_t Logic =
            static_cast<uint8_t>(k < 4 ? (R[0x212A] >> (2 * k)) & 3 : (R[0x212B] >> (2 * (k - 4))) & 3);
        const size_t O = PPUWindows + PPUWindowRecord * k;
        Put8(Ppu, O, Logic);
        Put8(Ppu, O + 1, (Nibble >> 1) & 1);
        Put8(Ppu, O + 2, (Nibble >> 3) & 1);
        Put8(Ppu, O + 3, !(Nibble & 1));
        Put8(Ppu, O + 4, !((Nibble >> 2) & 1));
    }
    Put8(Ppu, PPUCGFlipRead, S.CGRAMLatch);
    // Have Snes9x compute $2134-$2136 from the matrix again.
    if (Fresh)
        Put8(Ppu, PPUNeed16x8Multiply, 1);
    std::copy(S.OAM.begin(), S.OAM.end(), Ppu.begin() + PPUOAMData);
    Put8(Ppu, PPUNeed16x8Multiply2, Ppu[PPUNeed16x8Multiply]);

    auto& Sou = B[BlockSOU];
    const auto& DSP = S.DSP;
    WriteLE<2>(&Sou[SOUMasterVolume], static_cast<uint16_t>(SignedByte(DSP[0x0C])));
    WriteLE<2>(&Sou[SOUMasterVolume + 2], static_cast<uint16_t>(SignedByte(DSP[0x1C])));
    WriteLE<2>(&Sou[SOUEchoVolume], static_cast<uint16_t>(SignedByte(DSP[0x2C])));
    WriteLE<2>(&Sou[SOUEchoVolume + 2], static_cast<uint16_t>(SignedByte(DSP[0x3C])));
    WriteLE<4>(&Sou[SOUEchoEnable], DSP[0x4D]);
    WriteLE<4>(&Sou[SOUEchoFeedback], static_cast<uint32_t>(static_cast<int32_t>(SignedByte(DSP[0x0D]))));
    // A position inside Snes9x's own echo buffer, not an SPC700 address:
    // start at its beginning.
    WriteLE<4>(&Sou[SOUEchoPtr], 0);
    WriteLE<4>(&Sou[SOUEchoBufferSize], DSP[0x7D]);
    if (Fresh)
        WriteLE<4>(&Sou[SOUEchoWriteEnabled], (DSP[0x6C] & 0x20) ? 0 : 1);
    WriteLE<4>(&Sou[SOUEchoChannelEnable], DSP[0x4D]);
    WriteLE<4>(&Sou[SOUPitchMod], DSP[0x2D] & 0xFE);
    for (int v = 0; v < 8; ++v) {
        const size_t O = SOUVoice + SOUVoiceRecord * v;
        WriteLE<2>(&Sou[O + SOUVoiceVolumeLeft], static_cast<uint16_t>(SignedByte(DSP[16 * v])));
        WriteLE<2>(&Sou[O + SOUVoiceVolumeRight], static_cast<uint16_t>(SignedByte(DSP[16 * v + 1])));
    }

    auto& Fil = B[BlockFIL];
    std::copy(R.begin(), R.end(), Fil.begin());
    if (Fresh)
        FillOpenBus(Fil);
    for (const auto& [Address, Value] : Mirror)
        Fil[Address] = Value;
    std::copy(S.VRAM.begin(), S.VRAM.end(), B[BlockVRA].begin());
    std::copy(S.WRAM.begin(), S.WRAM.end(), B[BlockRAM].begin());
    auto& Sra = B[BlockSRA];
    std::fill(Sra.begin(), Sra.end(), 0);
    if (SRAM)
        std::copy_n(SRAM->begin(), std::min(SRAM->size(), Sra.size()), Sra.begin());
}
