#pragma once
// The blocks the hex editor offers: seven pages of tabs, each naming a
// memory of the program, the part of it shown and the notification that
// announces a write into it. A block names its memory by kind only; the
// bytes are looked up again at every load and commit (app/HexBlockData.h),
// because a new file replaces the objects' buffers.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/Notifications.h"

enum class tHexMemory {
    CartROM,
    CartSRAM,
    CopierHeader,
    WRAM,
    VRAM,
    OAM,
    CGRAM,
    APURAM,
    APUExtraRAM,
    DSP,
    ZSTFile, // the ZSNES file as it is now, rebuilt from its parts
    ZSTImage,
    ZSTRest,
    ZSTPreview,
    S9XFillRAM,
    S9XSP7,
    S9XSnpPart, // a newer Snes9x's stream (Part 0) or one of its blocks
    SSLHeader,  // "BPS2"
    SSLAPU,     // "SAPU"
    SSLVRAM,    // "VRAM"
    SSLSA1,     // "SAS1"
    SGTSREG,
    SGTINST,
    SGTHDST,
    SGTSPCP,
    SGTCPUR,
    SGTPPUR,
};

struct tHexBlock {
    int Page;
    const char* Caption;
    tHexMemory Memory;
    size_t Offset; // inside the memory
    size_t Size;   // 0: to the memory's end
    tNote CommitNote;
    // Other messages after which the block may hold other bytes (besides
    // CommitNote from another sender, "new SNES" and "new savestate").
    std::array<tNote, 2> AlsoChangedBy;
    // Which part of a memory made of parts (S9XSnpPart).
    uint8_t Part = 0;
};

inline constexpr int HexPageCount = 7;
extern const std::array<const char*, HexPageCount> HexPageCaptions;
extern const std::array<const char*, HexPageCount> HexPageNames; // TC_Cart ...
std::span<const tHexBlock> HexBlocks();
// The tabs of one page, in order.
std::span<const tHexBlock> HexPageBlocks(int Page);
// The part Block shows of a memory: clamped into it, never beyond its end.
std::span<uint8_t> HexBlockPart(const tHexBlock& Block, std::span<uint8_t> Memory);
// The message may change the block's bytes (so a pending edit must yield to
// the new data); every other message leaves the editor's copy alone.
bool HexBlockChangedBy(const tHexBlock& Block, tNote Msg);
