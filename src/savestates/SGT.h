#pragma once
// SNESGT savestates (read only): "GTSF", a u32, then chunks of a 4-character
// ID, a u32 length and the data. The sound state comes as a whole SPC file
// inside the "SPCF" chunk.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Broadcast.h"
#include "core/SNES.h"

class tCart;

namespace SGTSize {
inline constexpr size_t WRAM = 131072;
inline constexpr size_t VRAM = 65536;
inline constexpr size_t OAM = 544;
inline constexpr size_t PAL = 512;
inline constexpr size_t SREG = 236;
inline constexpr size_t INST = 196;
inline constexpr size_t HDST = 160;
inline constexpr size_t SPCP = 8;
inline constexpr size_t CPUR = 23;
inline constexpr size_t PPUR = 64;
} // namespace SGTSize

class tSGT : public tReceiver, public tSavestateFormat {
public:
    std::array<uint8_t, SGTSize::WRAM> WRAM{};
    std::array<uint8_t, SGTSize::VRAM> VRAM{};
    std::array<uint8_t, SGTSize::OAM> OAM{};
    std::array<uint8_t, SGTSize::PAL> PAL{};
    std::array<uint8_t, SGTSize::SREG> SREG{};
    std::array<uint8_t, SGTSize::INST> INST{};
    std::array<uint8_t, SGTSize::HDST> HDST{};
    std::array<uint8_t, SGTSize::SPCP> SPCP{};
    std::array<uint8_t, SGTSize::CPUR> CPUR{};
    std::array<uint8_t, SGTSize::PPUR> PPUR{};
    std::vector<uint8_t> SRAMStream;

    static bool IsSGTFile(const std::string& FileName);
    static bool IsSGTData(std::span<const uint8_t> Data);
    bool IsFormatFile(const std::string& FileName) override { return IsSGTFile(FileName); }

    // Reads the chunks and fills the machine state; the "SPCF" chunk goes
    // to the SPC reader. Errors are reported naming the file.
    bool LoadFromFile(const std::string& FileName) override;
    // The same from bytes in memory; Error holds the reason on failure. A
    // chunk running past the end stops the reading; what came before it is
    // kept and applied.
    bool LoadFromMemory(std::span<const uint8_t> Data, std::string& Error);

    void ChunksToMachine(tSNES& S, tCart* C) const;
    void MachineToChunks(const tSNES& S);
    void ClearChunks();

    void Notify(const void* Sender, tNote Msg) override;

private:
    // Set while a file is read: the SPC reader's "new SNES" must not rebuild
    // the chunks from a machine state that is only half filled.
    bool Loading_ = false;
};

extern tSGT* SGT;
