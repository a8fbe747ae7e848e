#pragma once
// Where ZSNES 0.60-1.51 keep things in the fixed state image. ZSNES writes its
// variables byte-packed in declaration order, so many fields sit at odd
// offsets; all numbers are little-endian. The same offsets hold in "V0.6"
// (up to 1.42) and "V143" (1.50/1.51) files.

#include <array>
#include <cstddef>
#include <cstdint>

namespace ZSTLayout
{
// Image sizes: the whole image, and the image of a state saved with SPC700
// emulation off, which stops where the sound part would begin.
inline constexpr size_t ImageSize = 266879;
inline constexpr size_t ImageSizeNoSound = 199699;
// The 64 x 56 RGB565 preview picture at the end of most savestate files.
inline constexpr size_t PreviewWidth = 64, PreviewHeight = 56;
inline constexpr size_t PreviewSize = PreviewWidth * PreviewHeight * 2;

inline constexpr char Signature[] = "ZSNES Save State File V"; // bytes 0-22
inline constexpr size_t SignatureLength = 23;
inline constexpr size_t VersionText = 23; // "0.6" or "143"
inline constexpr size_t Eof = 26;         // 0x1A
inline constexpr size_t VersionByte = 27; // 0x3C (V0.6) or 0x8F (V143)
inline constexpr uint8_t VersionByteV06 = 0x3C;
inline constexpr uint8_t VersionByteV143 = 0x8F;

// 65816 and timing block
inline constexpr size_t CurCyc = 28;   // cycles left in the line
inline constexpr size_t CurYPos = 29;  // u16 scan line
inline constexpr size_t CacheUD = 31;  // tile-cache interval, 1
inline constexpr size_t IntrSet = 33;  // WAI state
inline constexpr size_t CycPL = 34;    // cycles per line
inline constexpr size_t CycPHB = 35;   // cycles per H-blank
inline constexpr size_t SPCOn = 36;    // 1: the sound part follows the VRAM
inline constexpr size_t StackAnd = 37; // u16
inline constexpr size_t StackOr = 39;  // u16
inline constexpr size_t A = 41;        // u16
inline constexpr size_t DB = 43;
inline constexpr size_t PB = 44;
inline constexpr size_t S = 45; // u16
inline constexpr size_t D = 47; // u16
inline constexpr size_t X = 49; // u16
inline constexpr size_t Y = 51; // u16
inline constexpr size_t P = 53;
inline constexpr size_t E = 54;
inline constexpr size_t PC = 55;      // u16
inline constexpr size_t IRQBank = 57; // 0x80 with FastROM ($420D bit 0)
inline constexpr size_t Debugger = 58;
inline constexpr size_t CurTableAddr = 59; // u32 opcode table offset
inline constexpr size_t CurNMI = 63;
inline constexpr size_t CycPBL = 64;  // u32 SPC700 scheduling counter
inline constexpr size_t CycPBLT = 68; // u32 SPC700 budget per opcode

// PPU and I/O block
inline constexpr size_t IntEnab = 74;   // $4200
inline constexpr size_t NMIEnab = 75;   // $4210 as read
inline constexpr size_t VIRQLoc = 76;   // u16 $4209/$420A
inline constexpr size_t VidBright = 78; // $2100 bits 0-3
inline constexpr size_t ForceBlnk = 80; // $2100 bit 7 in place
inline constexpr size_t ObjPtr = 81;    // u32 sprite name base, VRAM byte address
inline constexpr size_t ObjPtrN = 85;   // u32 second sprite name table
inline constexpr size_t ObjSize1 = 89;  // sprite size table, columns A-F
inline constexpr size_t ObjSize2 = 90;
inline constexpr size_t ObjMovs1 = 91;
inline constexpr size_t ObjAdds1 = 92; // u16
inline constexpr size_t ObjMovs2 = 94;
inline constexpr size_t ObjAdds2 = 95; // u16
inline constexpr size_t OAMAddrT = 97; // u16 OAM byte address
inline constexpr size_t OAMAddrS = 99; // u16 OAM reload address
inline constexpr size_t ObjHiPr = 101; // first sprite of the priority rotation
inline constexpr size_t BGMode = 102;
inline constexpr size_t BG3HighSt = 103;
inline constexpr size_t BGTileSz = 104;
inline constexpr size_t MosaicOn = 105;
inline constexpr size_t MosaicSz = 106;
inline constexpr size_t BGPtr = 107;    // 4 x u16 tile map, first screen
inline constexpr size_t BGPtrB = 115;   // 4 x u16 second screen
inline constexpr size_t BGPtrC = 123;   // 4 x u16 third screen
inline constexpr size_t BGPtrD = 131;   // 4 x u16 fourth screen
inline constexpr size_t BGSCSize = 139; // 4 x u8
inline constexpr size_t BGObjPtr = 143; // 4 x u16 character bases
inline constexpr size_t BGScrolX = 151; // 4 x u16
inline constexpr size_t BGScrolY = 161; // 4 x u16 (bg1sx sits between)
inline constexpr size_t AddrIncr = 169; // u16 VRAM step in bytes
inline constexpr size_t VRAMIncr = 171; // inverse of $2115 bit 7
inline constexpr size_t VRAMRead = 172; // VRAM read latch, low byte
inline constexpr size_t VRAMAddr = 173; // u32 VRAM byte address
inline constexpr size_t CGAddr = 177;   // u16 CGRAM byte address
inline constexpr size_t CGMod = 179;
inline constexpr size_t ScrnOn = 180;   // u16 $212C/$212D
inline constexpr size_t Resolutn = 183; // u16 last display line
inline constexpr size_t MultA = 185;    // $4202
inline constexpr size_t DivA = 186;     // u16 $4204
inline constexpr size_t DivRes = 188;   // u16 $4214
inline constexpr size_t MultRes = 190;  // u16 $4216
inline constexpr size_t LatchX = 192;   // u16
inline constexpr size_t LatchY = 194;   // u16
inline constexpr size_t LatchXR = 196;
inline constexpr size_t LatchYR = 197;
inline constexpr size_t WinL1 = 199;     // $2126-$2129
inline constexpr size_t WinEnable = 203; // 6 nibbles of $2123-$2125
inline constexpr size_t WinLogicA = 209; // $212A
inline constexpr size_t WinLogicB = 210; // $212B
inline constexpr size_t WinEnabM = 211;  // $212E
inline constexpr size_t WinEnabS = 212;  // $212F
inline constexpr size_t Mode7Set = 213;  // $211A
inline constexpr size_t Mode7A = 214;    // 4 x u16 A-D
inline constexpr size_t Mode7X0 = 222;   // u16
inline constexpr size_t Mode7Y0 = 224;   // u16
inline constexpr size_t JoyAPos = 226;
inline constexpr size_t JoyBPos = 227;
inline constexpr size_t CompMult = 228;  // u32 $2134-$2136
inline constexpr size_t WRAMRWAdr = 233; // u32 $2181-$2183
inline constexpr size_t DMAData = 237;   // $4300-$4380, 129 bytes
inline constexpr size_t DMADataSize = 129;
inline constexpr size_t IRQOn = 366; // $4211
inline constexpr size_t NextHDMA = 367;
inline constexpr size_t CurHDMA = 368;  // $420C
inline constexpr size_t HDMAData = 369; // 8 x 19-byte work records
inline constexpr size_t HDMARecordSize = 19;
inline constexpr size_t ColAddR = 522; // fixed colour, 0-31 each
inline constexpr size_t ColAddG = 523;
inline constexpr size_t ColAddB = 524;
inline constexpr size_t ColNull = 525;
inline constexpr size_t ScAddSet = 526;      // $2130
inline constexpr size_t ScAddType = 527;     // $2131
inline constexpr size_t VoiceDisable2 = 528; // 8 bytes
inline constexpr size_t OAM = 536;           // 544 of 1024 bytes
inline constexpr size_t CGRAM = 1560;        // 512 bytes
inline constexpr size_t VRAMIncType = 2584;  // $2115
inline constexpr size_t VRAMIncBy8On = 2585;
inline constexpr size_t VRAMIncBy8Left = 2586;
inline constexpr size_t VRAMIncBy8Totl = 2587;
inline constexpr size_t VRAMIncBy8Rowl = 2588;
inline constexpr size_t VRAMIncBy8Ptri = 2589; // u16
inline constexpr size_t NextHPrior = 2591;     // $2103 bit 7
inline constexpr size_t VRAMIncBy8Var = 2593;  // u16
inline constexpr size_t ExtLatch = 2596;
inline constexpr size_t CField = 2597;
inline constexpr size_t InterlVal = 2598; // $2133 AND 0x41
inline constexpr size_t HIRQLoc = 2599;   // u16 $4207/$4208
inline constexpr size_t SDD1Banks = 2603; // 4 bytes, 0 1 2 3
inline constexpr size_t VRAMRead2 = 2607; // VRAM read latch, high byte
inline constexpr size_t NoSprIncr = 2608;
inline constexpr size_t POAMAddrS = 2609; // u16
inline constexpr size_t IOPortVal = 2611; // $4201
inline constexpr size_t IOHVLatch = 2612;
inline constexpr size_t PPUStatus = 2613; // $213F bit 7 in place
inline constexpr size_t WRAM = 3091;      // 131072 bytes
inline constexpr size_t VRAM = 134163;    // 65536 bytes

// Sound part, present when SPCOn is not 0
inline constexpr size_t SPCRAM = 199699;      // 65536 bytes
inline constexpr size_t SPCFiller = 265235;   // 16 constant bytes after the IPL ROM copy
inline constexpr size_t SPCPC = 265251;       // u32
inline constexpr size_t SPCA = 265255;        // u32
inline constexpr size_t SPCX = 265259;        // u32
inline constexpr size_t SPCY = 265263;        // u32
inline constexpr size_t SPCP = 265267;        // u32, PSW without N and Z
inline constexpr size_t SPCNZ = 265271;       // u32, N and Z
inline constexpr size_t SPCS = 265275;        // u32, 0x100 + SP
inline constexpr size_t SPCRamDP = 265279;    // u32, 0 or 0x100
inline constexpr size_t RegRead = 265287;     // 4 bytes: what the CPU reads at $2140-$2143
inline constexpr size_t TimerOn = 265291;     // $F1 AND 0x0F
inline constexpr size_t TimIncr = 265292;     // 3 timer targets
inline constexpr size_t TimInL = 265295;      // 3 tick countdowns
inline constexpr size_t SPCExtraRAM = 265299; // 64 bytes
inline constexpr size_t DSPMem = 266623;      // 256 bytes

// The DSP emulator's work area, 265587-266622: per-voice arrays of eight,
// element v of a 4-byte array at its offset + 4v. Besides the fields named
// here it holds the envelope's step counters for ADSR and exponential decay
// and, during a key-on, the new note's envelope parked (all in ZSNES's own
// units), copies ZSNES recomputes on loading (pitch steps, places in its own
// sample buffer) and fields it keeps without using them, zero in its files.
// A key-on as its files show it: State KeyOnRamp, Time the steps left (127),
// IncNumber 0xFFFF0001 (one level down per step), EnvInc the old sound's
// level, Ptr the sample's first block with BRRPlace UsedUpPlace. A voice
// that has fallen silent holds State 200 and Time 255.
inline constexpr size_t VoiceWork = 265587, VoiceWorkSize = 1036;
inline constexpr size_t VoiceBRRPlace = 265587;     // u32 at 8v: byte 3 the sample in the decoded block, 16 used up
inline constexpr size_t VoicePitch = 265683;        // u16: last pitch seen, 0xFFFE until it is taken again
inline constexpr size_t VoiceStatus = 265699;       // u8: 1 while the voice plays
inline constexpr size_t VoicePtr = 265707;          // u32: SPC700 address of the BRR block decoded next
inline constexpr size_t VoiceLoopPtr = 265739;      // u32: SPC700 address the sample loops to
inline constexpr size_t VoicePrev = 265811;         // 2 x 8 x u32: BRR filter history, samples 1 and 2
inline constexpr size_t VoiceLoop = 265875;         // u8: loop flag of the block
inline constexpr size_t VoiceEnd = 265883;          // u8: end flag of the block
inline constexpr size_t VoiceState = 265939;        // u8: envelope phase: 1 attack, 2 decay, 3 sustain, 0 or 4 gain
inline constexpr size_t VoiceTime = 265947;         // u32: envelope step counter
inline constexpr size_t VoiceIncNumber = 266123;    // u32: envelope step
inline constexpr size_t VoiceEnvInc = 266283;       // u32: envelope level, bits 16-22 the 7-bit level
inline constexpr size_t SBRateb = 266367;           // u32: output sample rate of the ZSNES that saved
inline constexpr uint32_t UsedUpPlace = 0x10000000; // BRRPlace of a block whose samples are used up
inline constexpr uint8_t KeyOnRamp = 210;           // State while a key-on fades the old sound out

// The 220 bytes V143 files carry after the image (and after any chip data),
// followed by the cartridge's SRAM. ZSNES recomputes most of them when it
// resumes; ExtraOBSEL, the raw $2101, is the only place a file keeps sprite
// size codes 6 and 7.
inline constexpr size_t ExtraSize = 220;
inline constexpr size_t ExtraExecState = 4, ExtraNMIPrevLine = 20, ExtraCPURegs = 77; // u32 each
inline constexpr size_t ExtraBGPtrX = 167, ExtraBGPtrY = 183;                         // 4 x u32
inline constexpr size_t ExtraVoiceDisable = 199;                                      // 8 bytes
inline constexpr size_t ExtraOBSEL = 219;

inline constexpr std::array<uint8_t, 16> SPCFillerBytes = {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF, 0x00, 0x11,
                                                           0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99};

// ZSNES's sprite size parameters by OBSEL bits 5-7: small and large size in
// 8x8 tiles, then the row copy counts and row skips of its sprite drawer.
// Codes 6 and 7 are stored like code 0.
struct tSpriteSizeRow {
    uint8_t Small, Large, Movs1;
    uint16_t Adds1;
    uint8_t Movs2;
    uint16_t Adds2;
};
inline constexpr std::array<tSpriteSizeRow, 8> SpriteSizes = {{
    {1, 4, 2, 14, 2, 14},
    {1, 16, 2, 14, 4, 12},
    {1, 64, 2, 14, 8, 8},
    {4, 16, 2, 14, 4, 12},
    {4, 64, 2, 14, 8, 8},
    {16, 64, 4, 12, 8, 8},
    {1, 4, 2, 14, 2, 14},
    {1, 4, 2, 14, 2, 14},
}};
} // namespace ZSTLayout
