#pragma once
// The machine state: every memory and register of the console as a savestate
// captures it, in one object. Readers of the savestate formats fill it, the
// renderer and the tool windows read it, the editors change it and broadcast
// "new SNES".

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Broadcast.h"

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
};

class tSNES : public tReceiver {
public:
    // --- sound block: DSP through SPC_YA are cleared together ---
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

    std::array<uint16_t, 256> CGRAM{}; // BGR555 colours

    // --- CPU block: CPU_A through CPU_Y are cleared together ---
    uint16_t CPU_A = 0;
    uint16_t CPU_VCounter = 0; // scanline the CPU was on
    uint32_t CPU_Cycles = 0;   // position in the line, master cycles
    std::array<uint8_t, 3> CPU_ZTiming{}; // carried for ZSNES only
    uint16_t CPU_D = 0;
    uint32_t CPU_DB = 0; // data bank in bits 16-23
    uint8_t CPU_IRQActive = 0;
    uint8_t CPU_NMIActive = 0;
    uint16_t CPU_P = 0;  // P in bits 0-7, emulation flag E in bit 8
    uint32_t CPU_PC = 0; // program bank in bits 16-23, PC in bits 0-15
    uint16_t CPU_S = 0;
    uint16_t CPU_X = 0;
    uint16_t CPU_Y = 0;

    std::array<tDMAChannel, 8> DMA{};   // rebuilt from Regs by DecodeDMA
    std::array<uint8_t, 544> OAM{};     // 512-byte low table, 32-byte high table
    uint8_t* OAM_Ptr = OAM.data();
    std::array<uint8_t, 32768> Regs{};  // I/O registers at their bus addresses $0000-$7FFF
    std::array<uint8_t, 65536> VRAM{};  // byte addressed: word w is bytes 2w, 2w+1
    std::array<uint8_t, 131072> WRAM{}; // $7E0000-$7FFFFF

    tSNES() = default;
    tSNES(const tSNES& Other) { *this = Other; }
    tSNES& operator=(const tSNES& Other);

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

    // Clears what LoadSavestate clears before a reader runs (everything but DMA).
    void Clear();
    void ClearSound();
    void ClearCPU();

    void DecodeDMA();
    void InvertPalette();
    void LoadDefaultPalette();

    // Maps a 24-bit bus address to a readable window. Size starts at 65536;
    // the caller reads Ptr[Address] and wraps Address inside Size (see WrapAdd).
    // The window always lies wholly inside its memory: a ROM that ends inside
    // a bank's window gets a smaller, mirrored window.
    // ROM, its size and HiROM come from the cartridge.
    bool MapAddress(uint8_t Bank, uint16_t& Address, uint32_t& Size, const uint8_t*& Ptr) const;

    void Notify(const void* Sender, tNote Msg) override;
};

// The names shown for StateFormat and StateKind.
inline constexpr std::array<const char*, 5> FormatNames = {"undefined", "ZST", "S9X", "SGT", "SSL"};
inline constexpr std::array<const char*, 3> KindNames = {"undefined", "savestate", "movie"};

enum : uint8_t { FormatNone = 0, FormatZST = 1, FormatS9X = 2, FormatSGT = 3, FormatSSL = 4 };
enum : uint8_t { KindNone = 0, KindSavestate = 1, KindMovie = 2 };

// What LoadSavestate remembers of the last file.
extern std::string StateFileName;  // full name
extern std::string StateFileBase;  // without extension, folder kept
extern std::string StateFileDir;   // folder with trailing separator
extern std::string StateFileTitle; // name without folder and extension
extern std::string StateFileExt;   // extension without the dot, lower case
extern std::string StateSlot;
extern uint8_t StateFormat;
extern uint8_t StateKind;

// A savestate format plugs into detection and loading through this interface.
class tSavestateFormat {
public:
    virtual ~tSavestateFormat() = default;
    // The format's own signature test on the file.
    virtual bool IsFormatFile(const std::string& FileName) = 0;
    // Reads the file into the machine state. Reports its own errors through
    // Messages() and returns false on failure.
    virtual bool LoadFromFile(const std::string& FileName) = 0;
};
// Format is one of FormatZST..FormatSSL; nullptr removes the format.
void RegisterSavestateFormat(uint8_t Format, tSavestateFormat* Handler);
tSavestateFormat* SavestateFormat(uint8_t Format);

uint8_t DetectFormat(const std::string& FileName);
// Why DetectFormat found no format, for a message after the file's name:
// "cannot read the file: ..." (missing, a folder, not a regular file) or
// "not a savestate this program reads: ..." (empty, too large, an extension
// no format uses, content other than its extension names).
std::string UndetectedReason(const std::string& FileName);
// Loads a savestate or movie into the machine state and broadcasts "new
// savestate" and "new SNES" from the reading object. Returns false when the
// format was not recognised or its reader failed (the reader has reported why).
bool LoadSavestate(const std::string& FileName);

// The one machine state of the program (created with the other model objects).
extern tSNES* SNES;
