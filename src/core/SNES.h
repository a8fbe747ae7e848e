#pragma once
// The machine state: every memory and register of the console as a savestate
// captures it, in one object. Readers of the savestate formats fill it, the
// renderer and the tool windows read it, the editors change it and broadcast
// "new SNES".

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Not for the bus: the slot named SNES must be declared before the global of
// that name below, or the one would shadow the other.
#include "core/Receiver.h"

// One DMA/HDMA channel as decoded from its registers $43n0-$43nA.
struct tDMAChannel {
    uint16_t TableAddress = 0;    // $43n8-9 HDMA table address
    uint8_t ABank = 0;            // $43n4 A-bus bank
    uint8_t BAddress = 0;         // $43n1 B-bus register is $2100 + this
    uint8_t Direction = 0;        // $43n0 bit 7: 0 A to B, 1 B to A
    uint16_t ByteCount = 0;       // $43n5-6 DMA byte count / HDMA indirect address
    uint8_t UnitSize = 0;         // bytes per transfer unit of the mode
    uint16_t TableAddress2 = 0;   // copy of TableAddress a consumer may advance
    uint8_t DMAEnabled = 0;       // bit n of $420B MDMAEN
    uint8_t HDMAEnabled = 0;      // bit n of $420C HDMAEN
    uint8_t LineCounter = 0;      // $43nA: bit 7 repeat, bits 0-6 line count
    uint8_t Indirect = 0;         // $43n0 bit 6 HDMA indirect addressing
    uint16_t IndirectAddress = 0; // copy of ByteCount
    uint8_t IndirectBank = 0;     // $43n7
    uint8_t RegCount = 0;         // distinct B-bus registers the mode writes
    uint16_t AAddress = 0;        // $43n2-3 A-bus address
    uint8_t Decrement = 0;        // $43n0 bit 4
    uint8_t Fixed = 0;            // $43n0 bit 3
    uint16_t AAddress2 = 0;       // copy of AAddress
    uint8_t Mode = 0;             // $43n0 bits 0-2 transfer mode

    bool operator==(const tDMAChannel&) const = default;
};

// A cartridge ROM as the bus sees it: the image without copier header and
// its mapping. The cartridge hands one out (tCart::ROMView); an empty span
// is no cartridge.
struct tROMView {
    std::span<const uint8_t> Data;
    bool HiROM = false;
};

// Plain data: copies with the compiler's copy and compares field by field.
// The bus reactions that belong to it (DMA decoding on "new SNES", the
// default palette on "startup") live in the layer above (app/SNESReceiver).
// The SPC700's 64-byte boot ROM, mapped at $FFC0 while $F1 bit 7 is set.
inline constexpr std::array<uint8_t, 64> IPLROM = {
    0xCD, 0xEF, 0xBD, 0xE8, 0x00, 0xC6, 0x1D, 0xD0, 0xFC, 0x8F, 0xAA, 0xF4, 0x8F, 0xBB, 0xF5, 0x78,
    0xCC, 0xF4, 0xD0, 0xFB, 0x2F, 0x19, 0xEB, 0xF4, 0xD0, 0xFC, 0x7E, 0xF4, 0xD0, 0x0B, 0xE4, 0xF5,
    0xCB, 0xF4, 0xD7, 0x00, 0xFC, 0xD0, 0xF3, 0xAB, 0x01, 0x10, 0xEF, 0x7E, 0xF4, 0x10, 0xEB, 0xBA,
    0xF6, 0xDA, 0x00, 0xBA, 0xF4, 0xC4, 0xF4, 0xDD, 0x5D, 0xD0, 0xDB, 0x1F, 0x00, 0x00, 0xC0, 0xFF};

// Where a voice's envelope stands. Attack, decay and sustain follow the
// voice's ADSR registers, gain its GAIN register; release is the fade after a
// key-off. KeyOn is a key-on in progress: the old sound fades for a moment
// before the new note's attack starts from the beginning of its sample.
enum tVoicePhase : uint8_t { VoiceSilent, VoiceAttack, VoiceDecay, VoiceSustain, VoiceRelease, VoiceGain, VoiceKeyOn };

// One S-DSP voice's running state in the terms the savestate formats share.
// Not here: what an emulator keeps in units of its own (envelope rates and
// steps, pitch counter, places in its buffers). A loaded file keeps it; a
// voice of another format's state is written silent, as a note without them might never end.
// Mode 7's matrix and centre, as the machine state, the PPU and each line of
// an HDMA replay hold them.
struct tMode7Matrix {
    int16_t A = 0, B = 0, C = 0, D = 0; // $211B-$211E M7A-M7D (1.7.8 fixed point)
    int32_t X = 0, Y = 0;               // $211F M7X, $2120 M7Y: the centre (13 bits, signed)
    bool operator==(const tMode7Matrix&) const = default;
};

struct tVoice {
    uint8_t Phase = VoiceSilent;
    uint8_t Level = 0;                 // envelope level 0-127, the scale of the ENVX register
    uint16_t Block = 0;                // SPC700 address of the BRR block the voice plays from
    uint8_t Position = 0;              // the block's next sample, 0-15
    uint8_t Decode = 0;                // 1: the block is still to be decoded before it plays
    uint8_t Loop = 0;                  // the block's header has the loop flag
    uint8_t End = 0;                   // the block's header has the end flag
    uint8_t KeyedOn = 0;               // 1 from a key-on until the voice falls silent
    std::array<int16_t, 16> Decoded{}; // the block's samples after BRR decoding
    std::array<int16_t, 2> Previous{}; // the BRR filter's two history samples, as both formats order them

    bool operator==(const tVoice&) const = default;
};

class tSNES
{
  public:
    // --- sound block: DSP through Voices are cleared together ---
    std::array<uint8_t, 256> DSP{};         // S-DSP registers $00-$7F; ZSNES carries 256 bytes
    std::array<uint8_t, 64> APU_ExtraRAM{}; // SPC700 RAM $FFC0-$FFFF under the IPL ROM
    std::array<uint8_t, 65536> APU_RAM{};   // SPC700 RAM; $F0-$FF are its I/O registers
    uint32_t SPC_Cycles = 0;
    uint8_t SPC_DirectPage = 0; // 1 when the direct page is $0100-$01FF (PSW bit 5)
    uint16_t SPC_PC = 0;
    uint8_t SPC_PSW = 0;
    uint8_t SPC_SP = 0;
    uint8_t SPC_X = 0;
    uint8_t SPC_Y = 0;
    uint16_t SPC_YA = 0; // A in the low byte, Y in the high byte
    std::array<tVoice, 8> Voices{};

    std::array<uint16_t, 256> CGRAM{}; // BGR555 colours

    // --- CPU block: CPU_A through CPU_Y are cleared together ---
    uint16_t CPU_A = 0;
    uint16_t CPU_VCounter = 0;            // scanline the CPU was on
    uint32_t CPU_Cycles = 0;              // position in the line, master cycles
    std::array<uint8_t, 3> CPU_ZTiming{}; // carried for ZSNES only
    uint16_t CPU_D = 0;
    uint32_t CPU_DB = 0; // data bank in bits 16-23
    uint8_t CPU_IRQActive = 0;
    uint8_t CPU_NMIActive = 0;
    uint8_t CPU_WaitingForInterrupt = 0; // 1 while a WAI instruction holds the CPU until an interrupt
    uint16_t CPU_P = 0;                  // P in bits 0-7, emulation flag E in bit 8
    uint32_t CPU_PC = 0;                 // program bank in bits 16-23, PC in bits 0-15
    uint16_t CPU_S = 0;
    uint16_t CPU_X = 0;
    uint16_t CPU_Y = 0;

    std::array<tDMAChannel, 8> DMA{};   // rebuilt from Regs by DecodeDMA
    std::array<uint8_t, 544> OAM{};     // 512-byte low table, 32-byte high table
    std::array<uint8_t, 32768> Regs{};  // I/O registers at their bus addresses $0000-$7FFF
    std::array<uint8_t, 65536> VRAM{};  // byte addressed: word w is bytes 2w, 2w+1
    std::array<uint8_t, 131072> WRAM{}; // $7E0000-$7FFFFF

    // --- PPU block: the values the register image cannot hold ---
    // The write-twice registers keep two bytes behind one address, the
    // matrix and the scrolls more bits than Regs has room for; the savestate
    // formats carry them apart and tPPU::Decode takes them from here.
    std::array<int32_t, 4> BGHScroll{};   // $210D/$210F/$2111/$2113 BG1HOFS-BG4HOFS (10 bits)
    std::array<int32_t, 4> BGVScroll{};   // $210E/$2110/$2112/$2114 BG1VOFS-BG4VOFS (10 bits)
    int32_t M7HOffset = 0;                // $210D M7HOFS: BG1's 13-bit scroll as mode 7 reads it
    int32_t M7VOffset = 0;                // $210E M7VOFS
    tMode7Matrix M7;                      // $211B-$2120
    std::array<uint8_t, 4> FixedColour{}; // $2132 COLDATA as blue, green, red (0..248), 0
    uint8_t FirstSprite = 0;              // $2102/$2103 OAMADD: first sprite of the priority rotation
    // Write-twice and read-twice latches and the other flags only the
    // savestate formats carry (0 or the format's byte).
    uint8_t CGRAMLatch = 0;            // $2122 CGDATA: the next write is the high byte
    uint8_t OPHCTLatch = 0;            // $213C OPHCT: the next read is the high byte (Snes9x: H timer enabled)
    uint8_t OPVCTLatch = 0;            // $213D OPVCT: the next read is the high byte (Snes9x: V timer enabled)
    uint8_t OAMLatch = 0;              // $2104 OAMDATA: the low byte of a word is held
    uint8_t VRAMReadLatch = 0;         // $2139/$213A RDVRAML/H prefetch (Snes9x: VMAIN increments on high)
    uint8_t HDMAActive = 0;            // $420C HDMAEN: channels still running in this frame (ZSNES)
    uint8_t HDMANext = 0;              // $420C HDMAEN: channels for the next frame (ZSNES)
    uint8_t HVLatched = 0;             // $2137 SLHV: the counters hold a latched position
    uint8_t IOPort = 0;                // $4201 WRIO as ZSNES keeps it apart
    uint8_t NoSpriteIncrement = 0;     // $2104 OAMDATA: ZSNES's "address not advanced" flag
    uint8_t VRAMReadLatch2 = 0;        // $2139/$213A second prefetch flag (ZSNES)
    std::array<int32_t, 2> BeamPos{};  // beam x, y when the state was taken
    std::array<int32_t, 2> LatchPos{}; // $213C OPHCT, $213D OPVCT: latched x, y

    bool operator==(const tSNES&) const = default;

    uint8_t* Reg8(uint16_t Address) { return &Regs[Address & 0x7FFF]; }
    const uint8_t* Reg8(uint16_t Address) const { return &Regs[Address & 0x7FFF]; }
    // The little-endian word at a bus address, read or written in place.
    uint16_t Reg16(uint16_t Address) const
    {
        return static_cast<uint16_t>(Regs[Address & 0x7FFF] | Regs[(Address + 1) & 0x7FFF] << 8);
    }
    void SetReg16(uint16_t Address, uint16_t Value)
    {
        Regs[Address & 0x7FFF] = static_cast<uint8_t>(Value);
        Regs[(Address + 1) & 0x7FFF] = static_cast<uint8_t>(Value >> 8);
    }

    // Clears everything but DMA (the machine state a reader starts from).
    void Clear();
    void ClearSound();
    void ClearCPU();
    void ClearPPUValues();

    void DecodeDMA();
    void InvertPalette();
    void LoadDefaultPalette();

    // Maps a 24-bit bus address to a readable window. Size starts at 65536;
    // the caller reads Ptr[Address] and wraps Address inside Size (see WrapAdd).
    // The window always lies wholly inside its memory: a ROM that ends inside
    // a bank's window gets a smaller, mirrored window. The cartridge's banks
    // come from ROM; without one they are not mapped.
    bool MapAddress(const tROMView& ROM, uint8_t Bank, uint16_t& Address, uint32_t& Size, const uint8_t*& Ptr) const;
};

// The one machine state of the program (created with the other model objects).
extern tSNES* SNES;
