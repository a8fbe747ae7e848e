#pragma once
// The Snes9x 1.43 savestate ("#!snes9x:0001"): a text header and named
// blocks, each "XXX:" + six decimal digits of length + ":" + data. Snes9x
// packs the fields of its structures into the struct blocks with every
// number stored most significant byte first; the sizes here are the packed
// sizes (Snes9x itself writes longer, build-dependent lengths and puts the
// packed fields at the start).

#include <array>
#include <cstddef>
#include <cstdint>

namespace S9XLayout
{
inline constexpr char Magic[] = "#!snes9x"; // header bytes 0-7
inline constexpr size_t HeaderSize = 14;    // "#!snes9x:0001\n"
inline constexpr size_t BlockHeaderSize = 11;

enum tBlockId : int {
    BlockCPU,
    BlockREG,
    BlockPPU,
    BlockDMA,
    BlockVRA,
    BlockRAM,
    BlockSRA,
    BlockFIL,
    BlockAPU,
    BlockARE,
    BlockARA,
    BlockSOU,
    BlockSA1,
    BlockSAR,
    BlockSP7,
    BlockRTC,
    BlockCount
};

struct tBlockInfo {
    const char* Name;
    size_t Size;
};
inline constexpr std::array<tBlockInfo, BlockCount> Blocks = {{
    {"CPU", 33},
    {"REG", 16},
    {"PPU", 2625},
    {"DMA", 152},
    {"VRA", 65536},
    {"RAM", 131072},
    {"SRA", 131072},
    {"FIL", 32768},
    {"APU", 221},
    {"ARE", 7},
    {"ARA", 65536},
    {"SOU", 984},
    {"SA1", 24},
    {"SAR", 16},
    {"SP7", 65596},
    {"RTC", 24},
}};

// Every multi-byte number of the interpreted blocks: Count numbers of Width
// bytes, Stride apart, from Offset.
struct tWordRun {
    tBlockId Block;
    uint16_t Offset;
    uint8_t Width;
    uint16_t Count;
    uint16_t Stride;
};
inline constexpr tWordRun WordRuns[] = {
    {BlockCPU, 0, 4, 1, 0},
    {BlockCPU, 9, 4, 1, 0},
    {BlockCPU, 13, 4, 1, 0},
    {BlockCPU, 17, 4, 4, 4},
    {BlockREG, 2, 2, 7, 2},
    {BlockPPU, 5, 2, 4, 2},
    {BlockPPU, 13, 2, 4, 11},
    {BlockPPU, 15, 2, 4, 11},
    {BlockPPU, 17, 2, 4, 11},
    {BlockPPU, 20, 2, 4, 11},
    {BlockPPU, 22, 2, 4, 11},
    {BlockPPU, 58, 2, 256, 2},
    {BlockPPU, 571, 2, 128, 11},
    {BlockPPU, 573, 2, 128, 11},
    {BlockPPU, 575, 2, 128, 11},
    {BlockPPU, 1980, 2, 1, 0},
    {BlockPPU, 1983, 2, 5, 2},
    {BlockPPU, 1996, 2, 6, 2},
    {BlockPPU, 2015, 2, 2, 2},
    {BlockPPU, 2019, 4, 1, 0},
    {BlockPPU, 2024, 2, 1, 0},
    {BlockPPU, 2027, 2, 1, 0},
    {BlockPPU, 2032, 2, 1, 0},
    {BlockDMA, 5, 2, 8, 19},
    {BlockDMA, 7, 2, 8, 19},
    {BlockDMA, 10, 2, 8, 19},
    {BlockDMA, 13, 2, 8, 19},
    {BlockAPU, 0, 4, 1, 0},
    {BlockAPU, 203, 2, 6, 2},
    {BlockARE, 1, 2, 1, 0},
    {BlockARE, 5, 2, 1, 0},
    {BlockSOU, 0, 2, 4, 2},
    {BlockSOU, 8, 4, 10, 4},
    // Sound voice records of 117 bytes from 48.
    {BlockSOU, 48, 4, 8, 117},
    {BlockSOU, 52, 4, 8, 117},
    {BlockSOU, 56, 2, 8, 117},
    {BlockSOU, 58, 2, 8, 117},
    {BlockSOU, 60, 4, 8, 117},
    {BlockSOU, 64, 4, 8, 117},
    {BlockSOU, 69, 4, 8, 117},
    {BlockSOU, 73, 2, 8, 117},
    {BlockSOU, 75, 2, 8, 117},
    {BlockSOU, 77, 2, 8, 117},
    {BlockSOU, 79, 4, 8, 117},
    {BlockSOU, 83, 4, 8, 117},
    {BlockSOU, 87, 4, 8, 117},
    {BlockSOU, 91, 4, 8, 117},
    {BlockSOU, 95, 4, 8, 117},
    {BlockSOU, 99, 4, 8, 117},
    {BlockSOU, 103, 4, 8, 117},
    {BlockSOU, 107, 4, 8, 117},
    {BlockSOU, 111, 2, 8, 117},
    {BlockSOU, 113, 2, 8, 117},
    {BlockSOU, 115, 2, 8, 117},
    {BlockSOU, 117, 2, 8, 117},
    {BlockSOU, 119, 2, 8, 117},
    {BlockSOU, 121, 2, 8, 117},
    {BlockSOU, 123, 2, 8, 117},
    {BlockSOU, 125, 2, 8, 117},
    {BlockSOU, 127, 2, 8, 117},
    {BlockSOU, 129, 2, 8, 117},
    {BlockSOU, 131, 2, 8, 117},
    {BlockSOU, 133, 2, 8, 117},
    {BlockSOU, 135, 2, 8, 117},
    {BlockSOU, 137, 2, 8, 117},
    {BlockSOU, 139, 2, 8, 117},
    {BlockSOU, 141, 2, 8, 117},
    {BlockSOU, 143, 2, 8, 117},
    {BlockSOU, 145, 2, 8, 117},
    {BlockSOU, 147, 2, 8, 117},
    {BlockSOU, 149, 2, 8, 117},
    {BlockSOU, 153, 4, 8, 117},
    {BlockSOU, 157, 4, 8, 117},
    {BlockSOU, 161, 4, 8, 117},
    {BlockSA1, 0, 4, 1, 0},
    {BlockSA1, 7, 2, 2, 2},
    {BlockSA1, 11, 4, 1, 0},
    {BlockSA1, 15, 8, 1, 0},
    {BlockSAR, 2, 2, 7, 2},
};

// "CPU" block
inline constexpr size_t CPUNMIActive = 5, CPUIRQActive = 6, CPUWaitingForInterrupt = 7, CPUWhichEvent = 8,
                        CPUCycles = 9, CPUNextEvent = 13, CPUVCounter = 17;
inline constexpr size_t CPUMemSpeed = 21, CPUMemSpeedx2 = 25, CPUFastROMSpeed = 29;
// "REG" block
inline constexpr size_t REGPB = 0, REGDB = 1, REGP = 2, REGA = 4, REGD = 6, REGS = 8, REGX = 10, REGY = 12, REGPC = 14;
// "PPU" block
inline constexpr size_t PPUBGMode = 0, PPUBG3Priority = 1, PPUBrightness = 2, PPUVMAHigh = 3, PPUVMAIncrement = 4,
                        PPUVMAAddress = 5, PPUVMAMask1 = 7, PPUVMAFullGraphicCount = 9, PPUVMAShift = 11;
inline constexpr size_t PPUBG = 13, PPUBGRecord = 11; // SCBase, VOffset, HOffset, BGSize, NameBase, SCSize
inline constexpr size_t PPUCGFlip = 57, PPUCGData = 58, PPUFirstSprite = 570;
inline constexpr size_t PPUOBJ = 571, PPUOBJRecord = 11; // HPos, VPos, Name, VFlip, HFlip, Priority, Palette, Size
inline constexpr size_t PPUOAMPriorityRotation = 1979, PPUOAMAddr = 1980, PPUOAMFlip = 1982;
inline constexpr size_t PPUIRQVBeamPos = 1985, PPUIRQHBeamPos = 1987, PPUVBeamPosLatched = 1989,
                        PPUHBeamPosLatched = 1991, PPUHVBeamCounterLatched = 1995;
inline constexpr size_t PPUMatrixA = 1996, PPUCentreX = 2004, PPUCentreY = 2006, PPUCGADD = 2011;
inline constexpr size_t PPUFixedColourRed = 2012, PPUFixedColourGreen = 2013, PPUFixedColourBlue = 2014;
inline constexpr size_t PPUSavedOAMAddr = 2015, PPUScreenHeight = 2017, PPUWRAM = 2019, PPUForcedBlanking = 2023;
inline constexpr size_t PPUOBJNameSelect = 2024, PPUOBJSizeSelect = 2026, PPUOBJNameBase = 2027, PPUOAMReadFlip = 2029;
inline constexpr size_t PPUVTimerEnabled = 2030, PPUHTimerEnabled = 2031, PPUHTimerPosition = 2032;
inline constexpr size_t PPUMosaic = 2034, PPUMode7HFlip = 2035, PPUMode7VFlip = 2036, PPUMode7Repeat = 2037;
inline constexpr size_t PPUWindow1Left = 2038;
// Six window records of five bytes (BG1-BG4, OBJ, colour): logic, window 1
// enabled, window 2 enabled, window 1 inside, window 2 inside.
inline constexpr size_t PPUWindows = 2042, PPUWindowRecord = 5;
inline constexpr size_t PPUCGFlipRead = 2072, PPUNeed16x8Multiply = 2073, PPUBGMosaic = 2074, PPUOAMData = 2078;
inline constexpr size_t PPUNeed16x8Multiply2 = 2622;
// "DMA" block, one 19-byte record per channel
inline constexpr size_t DMARecord = 19;
inline constexpr size_t DMAAddress = 7, DMAIndirectBank = 15, DMARepeat = 16, DMALineCount = 17, DMAFirstLine = 18;
// A channel's record from reset until the program first writes it.
inline constexpr uint8_t DMAResetRecord[DMARecord] = {0,    1,    0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                      0xFF, 0xFF, 0, 0,    0,    0,    0,    0,    0};
// "APU" block
inline constexpr size_t APUCycles = 0, APUShowROM = 4, APUKeyedChannels = 6, APUOutPorts = 7, APUDSP = 11,
                        APUExtraRAM = 139, APUTimer = 203, APUTimerTarget = 209, APUTimerEnabled = 215;
// "ARE" block
inline constexpr size_t AREP = 0, AREYA = 1, AREX = 3, ARES = 4, AREPC = 5;
// "SOU" block
inline constexpr size_t SOUMasterVolume = 0, SOUEchoVolume = 4, SOUEchoEnable = 8, SOUEchoFeedback = 12,
                        SOUEchoPtr = 16, SOUEchoBufferSize = 20, SOUEchoWriteEnabled = 24, SOUEchoChannelEnable = 28,
                        SOUPitchMod = 32;
inline constexpr size_t SOUVoice = 48, SOUVoiceRecord = 117, SOUVoiceVolumeLeft = 8, SOUVoiceVolumeRight = 10;
// Inside a voice record: the envelope phase (0 silent, 1 attack, 2 decay,
// 3 sustain, 4 release, 5-9 gain), the level 0-127, and the BRR decoder.
inline constexpr size_t SOUVoiceState = 0, SOUVoiceLoop = 20, SOUVoiceEnvx = 21, SOUVoiceDecoded = 65,
                        SOUVoicePrevious = 97, SOUVoiceLastBlock = 103, SOUVoiceNeedsDecode = 104,
                        SOUVoiceBlockPointer = 105, SOUVoiceSamplePointer = 109, SOUVoiceMode = 113;
} // namespace S9XLayout
