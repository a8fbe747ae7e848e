#include "savestates/ZSTImage.h"

#include <algorithm>
#include <cstring>

#include "core/LittleEndian.h"
#include "core/SNES.h"
#include "savestates/ZSTLayout.h"

using namespace ZSTLayout;

static_assert(ImageSize == 266879);

namespace
{
class tIn
{
  public:
    explicit tIn(tZSTConstImageSpan I) : I_(I) {}
    uint8_t U8(size_t O) const { return I_[O]; }
    uint16_t U16(size_t O) const { return ReadLE16(&I_[O]); }
    uint32_t U32(size_t O) const { return ReadLE<4>(&I_[O]); }
    void Copy(size_t O, void* Dst, size_t N) const { std::memcpy(Dst, I_.data() + O, N); }

  private:
    tZSTConstImageSpan I_;
};

class tOut
{
  public:
    explicit tOut(tZSTImageSpan I) : I_(I) {}
    uint8_t Get(size_t O) const { return I_[O]; }
    uint32_t Get32(size_t O) const { return ReadLE<4>(&I_[O]); }
    void U8(size_t O, unsigned V) { I_[O] = static_cast<uint8_t>(V); }
    void U16(size_t O, unsigned V) { WriteLE<2>(&I_[O], V); }
    void U32(size_t O, uint32_t V) { WriteLE<4>(&I_[O], V); }
    void Copy(size_t O, const void* Src, size_t N) { std::memcpy(I_.data() + O, Src, N); }

  private:
    tZSTImageSpan I_;
};

// The VRAM step of $2115 bits 0-1 in bytes; codes 2 and 3 both step 128 words.
constexpr uint16_t VRAMStepBytes[4] = {2, 64, 256, 256};
// ZSNES's bytes per HDMA unit by transfer mode.
constexpr uint8_t HDMAUnitBytes[8] = {1, 2, 2, 4, 4, 4, 4, 4};
// Cycles per line and per H-blank that ZSNES 1.42 uses for SlowROM and
// FastROM; a state from another emulator has none of its own.
constexpr uint8_t DefaultCycPL[2] = {168, 180};
constexpr uint8_t DefaultCycPHB[2] = {42, 45};
// SPC700 budget per SPC700 opcode for SlowROM and FastROM; with 0 the SPC700
// would never get another opcode.
constexpr uint32_t DefaultCycPBLT[2] = {117, 127};

bool IsVBlank(uint16_t Line, uint16_t LastLine)
{
    return Line >= LastLine;
}

// ZSNES's envelope phases: 1 attack, 2 decay, 3 sustain, 0 gain, 4 gain at a
// direct level, KeyOnRamp a key-on fading the old sound out. Its files show
// other codes only parked beside a key-on; they are taken as sustain.
uint8_t VoicePhase(uint8_t State)
{
    switch (State) {
    case 0:
    case 4:
        return VoiceGain;
    case 1:
        return VoiceAttack;
    case 2:
        return VoiceDecay;
    case 3:
        return VoiceSustain;
    case KeyOnRamp:
        return VoiceKeyOn;
    default:
        return VoiceSustain;
    }
}

// A voice as the work area holds it. ZSNES keeps the samples of the block it
// is decoding in memory of its own, not in the file: a voice halfway through
// a block goes on from the next one, at its first sample.
tVoice ReadVoice(tZSTConstImageSpan Image, size_t v)
{
    const tIn I(Image);
    tVoice V;
    V.KeyedOn = I.U8(VoiceStatus + v) != 0;
    if (V.KeyedOn) {
        V.Phase = VoicePhase(I.U8(VoiceState + v));
        V.Level = static_cast<uint8_t>((I.U32(VoiceEnvInc + 4 * v) >> 16) & 0x7F);
    }
    V.Block = static_cast<uint16_t>(I.U32(VoicePtr + 4 * v));
    // Any block is decoded again; a voice that never played has no place.
    V.Decode = I.U32(VoiceBRRPlace + 8 * v) != 0;
    V.Loop = I.U8(VoiceLoop + v) & 1u;
    V.End = I.U8(VoiceEnd + v) & 1u;
    for (size_t k = 0; k < 2; ++k)
        V.Previous[k] = static_cast<int16_t>(I.U32(VoicePrev + 32 * k + 4 * v));
    return V;
}

// Writes a voice of another format's state. The envelope's step counters
// are in ZSNES's own units, which no file pins down for other settings than
// its own, and a note in attack or decay without them would never end: a
// voice in flight is written silent, its sample position and flags kept, so
// the SPC700 program's next key-on starts it as ZSNES does.
void WriteVoice(tZSTImageSpan Image, const tSNES& S, size_t v)
{
    tOut O(Image);
    const tVoice& V = S.Voices[v];
    O.U8(VoiceStatus + v, 0);
    O.U8(VoiceState + v, 0);
    O.U32(VoiceTime + 4 * v, 0);
    O.U32(VoiceIncNumber + 4 * v, 0);
    O.U32(VoiceEnvInc + 4 * v, 0);
    O.U16(VoicePitch + 2 * v, 0xFFFE);
    O.U32(VoicePtr + 4 * v, V.Block);
    // The block is decoded from its start; a voice that has played has its
    // loop address from the sample directory, as ZSNES sets it on a key-on.
    O.U32(VoiceBRRPlace + 8 * v, V.Decode || V.Position ? UsedUpPlace : 0);
    const size_t Entry = S.DSP[0x5D] * 256u + S.DSP[16 * v + 4] * 4u + 2;
    const unsigned Loop = S.APU_RAM[Entry & 0xFFFF] | S.APU_RAM[(Entry + 1) & 0xFFFF] << 8;
    O.U32(VoiceLoopPtr + 4 * v, V.Block ? Loop : 0);
    O.U8(VoiceLoop + v, V.Loop);
    O.U8(VoiceEnd + v, V.End);
    for (size_t k = 0; k < 2; ++k)
        O.U32(VoicePrev + 32 * k + 4 * v, static_cast<uint32_t>(static_cast<int32_t>(V.Previous[k])));
}
} // namespace

uint8_t ZSTSpriteSizeCode(uint8_t Small, uint8_t Large)
{
    for (uint8_t i = 0; i < SpriteSizes.size(); ++i)
        if (SpriteSizes[i].Small == Small && SpriteSizes[i].Large == Large)
            return i;
    return 0;
}

void ZSTTimersToRAM(tZSTConstImageSpan Image, std::array<uint8_t, 65536>& RAM)
{
    // ZSNES runs the SPC700 timers on variables of its own; its RAM copy of
    // $F1 and $FA-$FC may still hold the reset fill $FF.
    RAM[0xF1] = static_cast<uint8_t>((RAM[0xF1] & ~0x07) | (Image[TimerOn] & 0x07));
    for (size_t t = 0; t < 3; ++t)
        RAM[0xFA + t] = Image[TimIncr + t];
}

void ZSTImageToMachine(tZSTConstImageSpan Image, tSNES& S)
{
    const tIn I(Image);

    for (size_t c = 0; c < S.CGRAM.size(); ++c)
        S.CGRAM[c] = I.U16(CGRAM + 2 * c);
    I.Copy(OAM, S.OAM.data(), S.OAM.size());
    I.Copy(VRAM, S.VRAM.data(), S.VRAM.size());
    I.Copy(WRAM, S.WRAM.data(), S.WRAM.size());

    const bool Sound = I.U8(SPCOn) != 0;
    if (Sound) {
        I.Copy(DSPMem, S.DSP.data(), S.DSP.size());
        for (size_t v = 0; v < S.Voices.size(); ++v)
            S.Voices[v] = ReadVoice(Image, v);
        I.Copy(SPCExtraRAM, S.APU_ExtraRAM.data(), S.APU_ExtraRAM.size());
        I.Copy(SPCRAM, S.APU_RAM.data(), S.APU_RAM.size());
        ZSTTimersToRAM(Image, S.APU_RAM);
        S.SPC_Cycles = 0;
        S.SPC_PC = static_cast<uint16_t>(I.U32(SPCPC));
        // ZSNES keeps N and Z apart from the rest of the PSW, as the last
        // result byte: N is its bit 7, Z is set when it is 0.
        const uint8_t NZ = I.U8(SPCNZ);
        S.SPC_PSW = static_cast<uint8_t>((I.U8(SPCP) & 0x7D) | (NZ & 0x80) | (NZ == 0 ? 0x02 : 0));
        S.SPC_SP = I.U8(SPCS); // stored as 0x100 + SP
        S.SPC_X = I.U8(SPCX);
        S.SPC_Y = I.U8(SPCY);
        S.SPC_YA = static_cast<uint16_t>(S.SPC_Y << 8 | I.U8(SPCA));
        S.SPC_DirectPage = (I.U32(SPCRamDP) >> 8) & 1;
    } else {
        S.ClearSound();
    }

    S.CPU_A = I.U16(A);
    S.CPU_VCounter = I.U16(CurYPos);
    S.CPU_Cycles = 0;
    S.CPU_ZTiming = {I.U8(CycPHB), I.U8(CycPL), I.U8(CurCyc)};
    S.CPU_D = I.U16(D);
    S.CPU_DB = static_cast<uint32_t>(I.U8(DB)) << 16;
    S.CPU_IRQActive = 0;
    S.CPU_NMIActive = I.U8(CurNMI) != 0;
    // 1 is WAI's halt; the other values count down to an interrupt or end it.
    S.CPU_WaitingForInterrupt = I.U8(IntrSet) == 1;
    S.CPU_P = static_cast<uint16_t>(I.U8(ZSTLayout::P) | (I.U8(E) & 1) << 8);
    S.CPU_PC = static_cast<uint32_t>(I.U8(PB)) << 16 | I.U16(PC);
    S.CPU_S = I.U16(ZSTLayout::S);
    S.CPU_X = I.U16(X);
    S.CPU_Y = I.U16(Y);

    S.CGRAMLatch = S.OPHCTLatch = S.OPVCTLatch = S.OAMLatch = S.VRAMReadLatch = 0;
    S.HDMAActive = S.HDMANext = S.HVLatched = S.IOPort = S.NoSpriteIncrement = S.VRAMReadLatch2 = 0;
    // The CGRAM address is a byte address: odd while a colour's high byte is
    // due. (CGMod is the renderer's "palette changed" flag, not the latch.)
    S.CGRAMLatch = I.U16(CGAddr) & 1;
    S.OPHCTLatch = I.U8(LatchXR) != 0;
    S.OPVCTLatch = I.U8(LatchYR) != 0;
    S.VRAMReadLatch = I.U8(VRAMRead) != 0;
    S.HDMAActive = I.U8(CurHDMA);
    S.HDMANext = I.U8(NextHDMA);
    S.HVLatched = I.U8(IOHVLatch);
    S.IOPort = I.U8(IOPortVal);
    S.NoSpriteIncrement = I.U8(NoSprIncr);
    S.VRAMReadLatch2 = I.U8(VRAMRead2);
    S.FirstSprite = I.U8(ObjHiPr);

    S.Regs.fill(0);
    auto& R = S.Regs;
    R[0x420D] = I.U8(IRQBank) >> 7;
    R[0x4200] = I.U8(IntEnab);
    R[0x4210] = I.U8(NMIEnab);
    S.SetReg16(0x4209, I.U16(VIRQLoc) & 0x1FF);
    R[0x2100] = static_cast<uint8_t>((I.U8(VidBright) & 0x0F) | (I.U8(ForceBlnk) & 0x80));

    // Sprite name base and second table come as VRAM byte addresses; the
    // second table is kept as an address that wraps at 64 KiB.
    const uint32_t Base = I.U32(ObjPtr);
    const uint32_t Select = ((I.U32(ObjPtrN) - Base) & 0xFFFF) >> 13;
    R[0x2101] = static_cast<uint8_t>(((Base >> 14) & 7) | (Select & 3) << 3 |
                                     ZSTSpriteSizeCode(I.U8(ObjSize1), I.U8(ObjSize2)) << 5);

    // The OAM address is kept as a byte address; $2103 bit 7 (priority
    // rotation) is remembered in its own byte.
    S.SetReg16(0x2102, (I.U16(OAMAddrT) >> 1) & 0x1FF);
    if (I.U8(NextHPrior))
        R[0x2103] |= 0x80;

    R[0x2105] = static_cast<uint8_t>((I.U8(BGMode) & 7) | (I.U8(BG3HighSt) & 1) << 3 | (I.U8(BGTileSz) & 0x0F) << 4);
    R[0x2106] = static_cast<uint8_t>((I.U8(MosaicSz) << 4) | (I.U8(MosaicOn) & 0x0F));
    for (int n = 0; n < 4; ++n)
        R[0x2107 + n] = static_cast<uint8_t>(((I.U16(BGPtr + 2 * n) >> 11) << 2) | (I.U8(BGSCSize + n) & 3));
    R[0x210B] = static_cast<uint8_t>((I.U16(BGObjPtr + 2) >> 13) << 4 | I.U16(BGObjPtr) >> 13);
    R[0x210C] = static_cast<uint8_t>((I.U16(BGObjPtr + 6) >> 13) << 4 | I.U16(BGObjPtr + 4) >> 13);

    // ZSNES keeps every scroll bit written; the hardware uses ten of them,
    // thirteen for BG1 in mode 7.
    const bool Mode7 = (R[0x2105] & 7) == 7;
    for (int n = 0; n < 4; ++n) {
        const uint16_t Mask = (n == 0 && Mode7) ? 0x1FFF : 0x3FF;
        S.BGHScroll[n] = I.U16(BGScrolX + 2 * n) & Mask;
        S.BGVScroll[n] = I.U16(BGScrolY + 2 * n) & Mask;
    }
    S.M7HOffset = I.U16(BGScrolX) & 0x1FFF;
    S.M7VOffset = I.U16(BGScrolY) & 0x1FFF;

    R[0x2115] = I.U8(VRAMIncType);
    S.SetReg16(0x2116, (I.U32(VRAMAddr) >> 1) & 0x7FFF);
    R[0x2121] = static_cast<uint8_t>(I.U16(CGAddr) >> 1);
    S.SetReg16(0x212C, I.U16(ScrnOn));
    const uint16_t LastLine = I.U16(Resolutn);
    R[0x2133] = static_cast<uint8_t>(I.U8(InterlVal) | (LastLine == 239 ? 0x04 : 0));
    R[0x4202] = I.U8(MultA);
    S.SetReg16(0x4204, I.U16(DivA));
    S.SetReg16(0x4214, I.U16(DivRes));
    S.SetReg16(0x4216, I.U16(MultRes));
    S.LatchPos = {I.U16(LatchX), I.U16(LatchY)};
    // ZSNES does not store $4212; its V-blank bit follows from the line.
    if (IsVBlank(I.U16(CurYPos), LastLine))
        R[0x4212] = 0x80;

    for (int k = 0; k < 4; ++k)
        R[0x2126 + k] = I.U8(WinL1 + k);
    for (int r = 0; r < 3; ++r)
        R[0x2123 + r] = static_cast<uint8_t>((I.U8(WinEnable + 2 * r + 1) << 4) + (I.U8(WinEnable + 2 * r) & 0x0F));
    R[0x212A] = I.U8(WinLogicA);
    R[0x212B] = I.U8(WinLogicB);
    R[0x212E] = I.U8(WinEnabM);
    R[0x212F] = I.U8(WinEnabS);
    R[0x211A] = I.U8(Mode7Set);
    S.M7.A = static_cast<int16_t>(I.U16(Mode7A));
    S.M7.B = static_cast<int16_t>(I.U16(Mode7A + 2));
    S.M7.C = static_cast<int16_t>(I.U16(Mode7A + 4));
    S.M7.D = static_cast<int16_t>(I.U16(Mode7A + 6));
    S.M7.X = static_cast<int16_t>(I.U16(Mode7X0));
    S.M7.Y = static_cast<int16_t>(I.U16(Mode7Y0));
    for (int k = 0; k < 3; ++k) {
        R[0x2134 + k] = I.U8(CompMult + k);
        R[0x2181 + k] = I.U8(WRAMRWAdr + k);
    }
    I.Copy(DMAData, &R[0x4300], DMADataSize);
    R[0x4211] = I.U8(IRQOn);
    R[0x420C] = I.U8(CurHDMA);
    S.FixedColour = {static_cast<uint8_t>((I.U8(ColAddB) & 31) * 8), static_cast<uint8_t>((I.U8(ColAddG) & 31) * 8),
                     static_cast<uint8_t>((I.U8(ColAddR) & 31) * 8), 0};
    R[0x2130] = I.U8(ScAddSet);
    R[0x2131] = I.U8(ScAddType);
    R[0x213F] = static_cast<uint8_t>((I.U8(CField) & 1) << 7 | I.U8(PPUStatus) | I.U8(ExtLatch));
    S.SetReg16(0x4207, I.U16(HIRQLoc) & 0x1FF);
    R[0x4201] = R[0x4213] = I.U8(IOPortVal);
    if (Sound)
        I.Copy(RegRead, &R[0x2140], 4);
    R[0x213E] = 1;
    S.BeamPos = {0, I.U16(CurYPos)};
}

void ZSTFillHDMARecords(tZSTImageSpan Image)
{
    tOut O(Image);
    for (int n = 0; n < 8; ++n) {
        const size_t Reg = DMAData + 16 * n, Rec = HDMAData + HDMARecordSize * n;
        for (size_t k = 0; k < 16; ++k)
            O.U8(Rec + k, 0);
        O.U8(Rec + 16, HDMAUnitBytes[O.Get(Reg) & 7]);
        O.U8(Rec + 17, O.Get(Reg + 2));
        O.U8(Rec + 18, O.Get(Reg + 3));
    }
}

std::array<uint8_t, 220> ZSTExtraData(const tSNES& S)
{
    std::array<uint8_t, ExtraSize> X{};
    auto Put32 = [&X](size_t At, uint32_t V) { WriteLE<4>(&X[At], V); };
    const auto& R = S.Regs;
    Put32(ExtraExecState, 3);
    Put32(ExtraNMIPrevLine, (R[0x2133] & 0x04) ? 239 : 224);
    // ZSNES's working copies of the CPU registers, then its split flags:
    // N and Z as the last result (0 for Z), V and C as 0 or 0xFF.
    const auto P = static_cast<uint8_t>(S.CPU_P);
    const uint32_t Regs[] = {S.CPU_A, S.CPU_DB >> 16, S.CPU_PC >> 16, S.CPU_S, S.CPU_D, S.CPU_X, S.CPU_Y};
    for (size_t k = 0; k < std::size(Regs); ++k)
        Put32(ExtraCPURegs + 4 * k, Regs[k]);
    const size_t Flags = ExtraCPURegs + 4 * std::size(Regs);
    Put32(Flags, (P & 0x02) ? 0 : ((P & 0x80) ? 0x8080 : 1));
    Put32(Flags + 4, (P & 0x40) ? 0xFF : 0);
    Put32(Flags + 8, (P & 0x01) ? 0xFF : 0);
    Put32(Flags + 16, 1); // the saved-flags copy of N and Z: not zero
    for (int n = 0; n < 4; ++n) {
        // Offsets of the screens right of and below the first, as in the image.
        const unsigned Size = R[0x2107 + n] & 3;
        Put32(ExtraBGPtrX + 4 * n, (Size & 1) ? 0x800 : 0);
        Put32(ExtraBGPtrY + 4 * n, Size == 3 ? 0x1000 : (Size == 2 ? 0x800 : 0));
        X[ExtraVoiceDisable + 8 + n] = (R[0x2105] >> (4 + n)) & 1; // 16x16 tiles
    }
    for (int v = 0; v < 8; ++v)
        X[ExtraVoiceDisable + v] = 1;
    X[ExtraOBSEL] = R[0x2101];
    return X;
}

void ZSTMachineToImage(tZSTImageSpan Image, const tSNES& S)
{
    tOut O(Image);
    const auto& R = S.Regs;
    const bool New = O.Get(VersionByte) == 0;
    const int Fast = R[0x420D] & 1;

    // A loaded image keeps its version; only a new one is stamped V0.6, the
    // layout it is written in (no data after the fixed image).
    const bool KnownVersion =
        std::memcmp(&Image[VersionText], "0.6", 3) == 0 || std::memcmp(&Image[VersionText], "143", 3) == 0;
    O.Copy(0, Signature, SignatureLength);
    if (New || !KnownVersion)
        O.Copy(VersionText, "0.6", 3);
    O.U8(Eof, 0x1A);
    if (New) {
        O.U8(VersionByte, VersionByteV06);
        O.U8(SPCOn, 1);
        O.U32(CycPBL, 0);
        O.U32(CycPBLT, DefaultCycPBLT[Fast]);
        for (int v = 0; v < 8; ++v)
            O.U8(VoiceDisable2 + v, 1);
        for (int k = 0; k < 4; ++k)
            O.U8(SDD1Banks + k, k);
    }
    if (O.Get32(CycPBLT) == 0)
        O.U32(CycPBLT, DefaultCycPBLT[Fast]);

    O.U8(CurCyc, S.CPU_ZTiming[2]);
    O.U16(CurYPos, S.CPU_VCounter);
    O.U8(CacheUD, 1);
    const bool HasTiming = S.CPU_ZTiming[1] != 0;
    O.U8(CycPL, HasTiming ? S.CPU_ZTiming[1] : DefaultCycPL[Fast]);
    O.U8(CycPHB, HasTiming ? S.CPU_ZTiming[0] : DefaultCycPHB[Fast]);

    // ZSNES applies these masks to every push and pull; the emulation-mode
    // pair would force a native-mode stack into page 1.
    const bool Emulation = (S.CPU_P >> 8) & 1;
    O.U16(StackAnd, Emulation ? 0x01FF : 0xFFFF);
    O.U16(StackOr, Emulation ? 0x0100 : 0x0000);
    O.U16(A, S.CPU_A);
    O.U8(DB, S.CPU_DB >> 16);
    O.U8(PB, S.CPU_PC >> 16);
    O.U16(ZSTLayout::S, S.CPU_S);
    O.U16(D, S.CPU_D);
    O.U16(X, S.CPU_X);
    O.U16(Y, S.CPU_Y);
    O.U8(ZSTLayout::P, S.CPU_P & 0xFF);
    O.U8(E, S.CPU_P >> 8);
    O.U16(PC, S.CPU_PC & 0xFFFF);
    O.U8(IRQBank, Fast << 7);
    O.U8(Debugger, 0);
    // The opcode table follows the M, X and D flags; ZSNES recomputes it
    // when it resumes, but its own files always hold the matching value.
    const unsigned M = (S.CPU_P >> 5) & 1, XF = (S.CPU_P >> 4) & 1, DF = (S.CPU_P >> 3) & 1;
    O.U32(CurTableAddr, 0x4000 + 0x400 * (M + 2 * XF + 4 * DF));
    O.U8(CurNMI, S.CPU_NMIActive);
    // Only the halt itself is the machine state's; the countdown values of a
    // loaded file stay as they are.
    if (S.CPU_WaitingForInterrupt != (O.Get(IntrSet) == 1))
        O.U8(IntrSet, S.CPU_WaitingForInterrupt ? 1 : 0);

    O.U8(IntEnab, R[0x4200]);
    O.U8(NMIEnab, (R[0x4210] & 0x80) | 0x01); // ZSNES reports CPU version 1
    O.U16(VIRQLoc, S.Reg16(0x4209));
    O.U8(VidBright, R[0x2100] & 0x0F);
    O.U8(ForceBlnk, R[0x2100] & 0x80);

    const uint8_t OBSEL = R[0x2101];
    const uint32_t Base = static_cast<uint32_t>(OBSEL & 3) << 14;
    O.U32(ObjPtr, Base);
    O.U32(ObjPtrN, (Base + (static_cast<uint32_t>((OBSEL >> 3) & 3) << 13)) & 0xFFFF);
    const tSpriteSizeRow& Row = SpriteSizes[OBSEL >> 5];
    O.U8(ObjSize1, Row.Small);
    O.U8(ObjSize2, Row.Large);
    O.U8(ObjMovs1, Row.Movs1);
    O.U16(ObjAdds1, Row.Adds1);
    O.U8(ObjMovs2, Row.Movs2);
    O.U16(ObjAdds2, Row.Adds2);

    const unsigned OAMBytes = (S.Reg16(0x2102) & 0x1FF) * 2;
    O.U16(OAMAddrT, OAMBytes);
    O.U16(OAMAddrS, OAMBytes);
    O.U16(POAMAddrS, OAMBytes);
    O.U8(NextHPrior, R[0x2103] >> 7);
    O.U8(ObjHiPr, S.FirstSprite);

    O.U8(BGMode, R[0x2105] & 7);
    O.U8(BG3HighSt, (R[0x2105] >> 3) & 1);
    O.U8(BGTileSz, R[0x2105] >> 4);
    O.U8(MosaicOn, R[0x2106] & 0x0F);
    O.U8(MosaicSz, R[0x2106] >> 4);
    const unsigned TopX = (O.Get(BGScrolX + 1) & 0xE0u) << 8, TopY = (O.Get(BGScrolY + 1) & 0xE0u) << 8;
    for (int n = 0; n < 4; ++n) {
        const uint8_t SC = R[0x2107 + n];
        const unsigned B = ((SC >> 2) << 11) & 0xFFFF, Size = SC & 3;
        // The four 32x32 screens of the map: right of, below and diagonal to
        // the first, as far as the map extends.
        const unsigned Right = (Size & 1) ? 0x800 : 0;
        const unsigned Below = Size == 3 ? 0x1000 : (Size == 2 ? 0x800 : 0);
        const unsigned Diagonal = Size == 3 ? 0x1800 : (Size ? 0x800 : 0);
        O.U16(BGPtr + 2 * n, B);
        O.U16(BGPtrB + 2 * n, (B + Right) & 0xFFFF);
        O.U16(BGPtrC + 2 * n, (B + Below) & 0xFFFF);
        O.U16(BGPtrD + 2 * n, (B + Diagonal) & 0xFFFF);
        O.U8(BGSCSize + n, Size);
        const uint8_t Nibble = (R[0x210B + n / 2] >> (4 * (n & 1))) & 0x0F;
        O.U16(BGObjPtr + 2 * n, (Nibble << 13) & 0xFFFF);
        O.U16(BGScrolX + 2 * n, static_cast<unsigned>(S.BGHScroll[n]));
        O.U16(BGScrolY + 2 * n, static_cast<unsigned>(S.BGVScroll[n]));
    }
    // BG1's registers also hold mode 7's 13-bit scroll, whatever the mode.
    // ZSNES keeps the word as written; the three top bits, which no mode
    // reads, stay as the file had them.
    if ((S.M7HOffset & 0x3FF) == (S.BGHScroll[0] & 0x3FF))
        O.U16(BGScrolX, TopX | static_cast<unsigned>(S.M7HOffset & 0x1FFF));
    if ((S.M7VOffset & 0x3FF) == (S.BGVScroll[0] & 0x3FF))
        O.U16(BGScrolY, TopY | static_cast<unsigned>(S.M7VOffset & 0x1FFF));

    const uint8_t VMAIN = R[0x2115];
    const unsigned VRAMByte = (S.Reg16(0x2116) * 2u) & 0xFFFF;
    O.U16(AddrIncr, VRAMStepBytes[VMAIN & 3]);
    O.U8(VRAMIncr, (VMAIN >> 7) ^ 1);
    O.U32(VRAMAddr, VRAMByte);
    // The read latches of a new image hold the VRAM word at the address, as
    // after an address write; a loaded image keeps its own.
    if (New) {
        O.U8(VRAMRead, S.VRAM[VRAMByte]);
        O.U8(VRAMRead2, S.VRAM[(VRAMByte + 1) & 0xFFFF]);
    }
    O.U8(VRAMIncType, VMAIN);
    // ZSNES picks its $2118/$2119 handlers from these, not from $2115.
    const unsigned Translation = (VMAIN >> 2) & 3;
    O.U8(VRAMIncBy8On, Translation != 0);
    if (Translation) {
        static constexpr uint8_t Left[3] = {63, 127, 255}, Totl[3] = {5, 6, 7};
        static constexpr uint16_t Ptri[3] = {0xFE00, 0xFC00, 0xF800}, Var[3] = {0x01C0, 0x0380, 0x0700};
        O.U8(VRAMIncBy8Left, Left[Translation - 1]);
        O.U8(VRAMIncBy8Totl, Totl[Translation - 1]);
        O.U8(VRAMIncBy8Rowl, 8);
        O.U16(VRAMIncBy8Ptri, Ptri[Translation - 1]);
        O.U16(VRAMIncBy8Var, Var[Translation - 1]);
    }

    O.U16(CGAddr, R[0x2121] * 2u + (S.CGRAMLatch ? 1 : 0));
    O.U16(ScrnOn, R[0x212C] | R[0x212D] << 8);
    O.U16(Resolutn, (R[0x2133] & 0x04) ? 239 : 224);
    O.U8(MultA, R[0x4202]);
    O.U16(DivA, S.Reg16(0x4204));
    O.U16(DivRes, S.Reg16(0x4214));
    O.U16(MultRes, S.Reg16(0x4216));
    O.U16(LatchX, static_cast<unsigned>(S.LatchPos[0]));
    O.U16(LatchY, static_cast<unsigned>(S.LatchPos[1]));
    // Read toggles: ZSNES flips them between 0 and 1.
    O.U8(LatchXR, S.OPHCTLatch ? 1 : 0);
    O.U8(LatchYR, S.OPVCTLatch ? 1 : 0);
    for (int k = 0; k < 4; ++k)
        O.U8(WinL1 + k, R[0x2126 + k]);
    for (int r = 0; r < 3; ++r) {
        O.U8(WinEnable + 2 * r, R[0x2123 + r] & 0x0F);
        O.U8(WinEnable + 2 * r + 1, R[0x2123 + r] >> 4);
    }
    O.U8(WinLogicA, R[0x212A]);
    O.U8(WinLogicB, R[0x212B]);
    O.U8(WinEnabM, R[0x212E]);
    O.U8(WinEnabS, R[0x212F]);
    O.U8(Mode7Set, R[0x211A]);
    O.U16(Mode7A, static_cast<uint16_t>(S.M7.A));
    O.U16(Mode7A + 2, static_cast<uint16_t>(S.M7.B));
    O.U16(Mode7A + 4, static_cast<uint16_t>(S.M7.C));
    O.U16(Mode7A + 6, static_cast<uint16_t>(S.M7.D));
    O.U16(Mode7X0, static_cast<unsigned>(S.M7.X));
    O.U16(Mode7Y0, static_cast<unsigned>(S.M7.Y));
    // Old joypad read positions that ZSNES no longer uses, not port values.
    O.U8(JoyAPos, 0);
    O.U8(JoyBPos, 0);
    O.U32(CompMult, R[0x2134] | R[0x2135] << 8 | static_cast<uint32_t>(R[0x2136]) << 16);
    O.U32(WRAMRWAdr, R[0x2181] | R[0x2182] << 8 | static_cast<uint32_t>(R[0x2183] & 1) << 16);
    O.Copy(DMAData, &R[0x4300], DMADataSize);
    // The byte after the eight channels is no register: ZSNES 1.51 leaves
    // it $FF, where another format's open-bus fill may stand.
    if (New)
        O.U8(DMAData + DMADataSize - 1, 0xFF);
    O.U8(IRQOn, R[0x4211]);
    O.U8(NextHDMA, S.HDMANext);
    O.U8(CurHDMA, R[0x420C]);
    if (New)
        ZSTFillHDMARecords(Image);
    O.U8(ColAddR, S.FixedColour[2] >> 3);
    O.U8(ColAddG, S.FixedColour[1] >> 3);
    O.U8(ColAddB, S.FixedColour[0] >> 3);
    O.U8(ColNull, 0);
    O.U8(ScAddSet, R[0x2130]);
    O.U8(ScAddType, R[0x2131]);
    O.Copy(OAM, S.OAM.data(), S.OAM.size());
    for (size_t c = 0; c < S.CGRAM.size(); ++c)
        O.U16(CGRAM + 2 * c, S.CGRAM[c]);

    // $213F: ZSNES ORs the field byte into every read, so only bit 7 may be
    // stored there; bit 6 is the external latch.
    O.U8(ExtLatch, R[0x213F] & 0x40);
    O.U8(CField, R[0x213F] >> 7);
    O.U8(PPUStatus, R[0x213F] & 0x80);
    O.U8(InterlVal, R[0x2133] & 0x41);
    O.U16(HIRQLoc, S.Reg16(0x4207));
    O.U8(NoSprIncr, S.NoSpriteIncrement);
    O.U8(IOPortVal, R[0x4201]);
    O.U8(IOHVLatch, S.HVLatched);
    O.Copy(WRAM, S.WRAM.data(), S.WRAM.size());
    O.Copy(VRAM, S.VRAM.data(), S.VRAM.size());

    // A state saved without SPC700 emulation stays without it.
    if (O.Get(SPCOn) == 0)
        return;
    // A loaded image keeps its timer bytes where the machine state still
    // holds what they were read as; what was changed goes to both places.
    std::array<uint8_t, 65536> Timers{};
    if (!New) {
        std::copy_n(&Image[SPCRAM], Timers.size(), Timers.begin());
        ZSTTimersToRAM(Image, Timers);
    }
    uint8_t Kept[4];
    for (size_t k = 0; k < 4; ++k) {
        const size_t At = k ? 0xF9 + k : 0xF1;
        Kept[k] = !New && Timers[At] == S.APU_RAM[At] ? O.Get(SPCRAM + At) : S.APU_RAM[At];
    }
    const bool TimersEdited = !New && !std::equal(&Timers[0xFA], &Timers[0xFD], &S.APU_RAM[0xFA]);
    O.Copy(SPCRAM, S.APU_RAM.data(), S.APU_RAM.size());
    for (size_t k = 0; k < 4; ++k)
        O.U8(SPCRAM + (k ? 0xF9 + k : 0xF1), Kept[k]);
    if (!New && (Timers[0xF1] & 0x07) != (S.APU_RAM[0xF1] & 0x07))
        O.U8(TimerOn, S.APU_RAM[0xF1] & 0x07);
    if (TimersEdited)
        for (int t = 0; t < 3; ++t)
            O.U8(TimIncr + t, S.APU_RAM[0xFA + t]);
    if (New)
        O.Copy(SPCFiller, SPCFillerBytes.data(), SPCFillerBytes.size());
    O.U32(SPCPC, S.SPC_PC);
    O.U32(SPCA, S.SPC_YA & 0xFF);
    O.U32(SPCX, S.SPC_X);
    O.U32(SPCY, S.SPC_Y);
    O.U32(SPCP, S.SPC_PSW);
    // ZSNES keeps the last result byte for N and Z; it is rewritten only when
    // it no longer gives the PSW's flags. Z wins when both are set, as
    // ZSNES's own POP PSW does.
    const uint8_t NZ = O.Get(SPCNZ);
    if (New || ((NZ & 0x80) | (NZ == 0 ? 0x02 : 0)) != (S.SPC_PSW & 0x82))
        O.U32(SPCNZ, (S.SPC_PSW & 0x02) ? 0 : ((S.SPC_PSW & 0x80) ? 0x80 : 0x01));
    // ZSNES uses the stack pointer directly as an offset into SPC700 RAM.
    O.U32(SPCS, 0x100u + S.SPC_SP);
    O.U32(SPCRamDP, (S.SPC_PSW & 0x20) ? 0x100 : 0);
    O.Copy(RegRead, &R[0x2140], 4);
    // ZSNES's timer state is its own (its RAM copy of $F1 and $FA-$FC is not
    // what the timers run on); a new image starts the timers from the RAM.
    if (New) {
        // Only bits 0-2 of $F1 enable timers; the others may hold RAM fill.
        O.U8(TimerOn, S.APU_RAM[0xF1] & 0x07);
        for (int t = 0; t < 3; ++t) {
            O.U8(TimIncr + t, S.APU_RAM[0xFA + t]);
            O.U8(TimInL + t, S.APU_RAM[0xFA + t]);
        }
    }
    O.Copy(SPCExtraRAM, S.APU_ExtraRAM.data(), S.APU_ExtraRAM.size());
    O.Copy(DSPMem, S.DSP.data(), S.DSP.size());
    // A loaded image keeps its voices where the machine state still holds
    // what they were read as.
    for (size_t v = 0; v < S.Voices.size(); ++v)
        if (New || !(ReadVoice(Image, v) == S.Voices[v]))
            WriteVoice(Image, S, v);
    if (New)
        O.U32(SBRateb, 32000);
}
