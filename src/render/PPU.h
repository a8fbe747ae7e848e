#pragma once
// The picture unit's working state: the PPU registers, VRAM, CGRAM and OAM of
// the machine state turned into ready-to-draw data. The savestate readers
// write the values that the register image cannot hold (16-bit scrolls, the
// mode 7 matrix, the fixed colour, the sprite rotation start, latch flags)
// straight into it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Broadcast.h"

// Window selection of one layer, the sprites or the colour window.
struct tWindowSel {
    std::array<uint8_t, 2> Enable{}; // window 1, window 2
    std::array<uint8_t, 2> Invert{};
    uint8_t Logic = 0; // 0 OR, 1 AND, 2 XOR, 3 XNOR
};

// One window's range on the current line.
struct tWindowRange {
    std::array<uint8_t, 256> Inside{}; // 1 for Left <= x <= Right
    uint8_t Valid = 0;                 // Right >= Left
    uint8_t Left = 0;
    uint8_t Right = 0;
};

// One decoded tile of a background grid.
struct tTileRecord {
};

// One decoded sprite.
struct tSpriteRec {
};

struct tBGLayer {
    uint8_t BitDepth = 0; // 0 (absent), 2, 4 or 8
    uint16_t Colours = 0;
    uint8_t ColourMath = 0; // CGADSUB bit n
    int32_t MosaicX = 0, MosaicY = 0;
    std::array<uint8_t, 256> Mask{};
    tWindowSel Window;
    uint8_t WindowMain = 0, WindowSub = 0; // TMW / TSW bit n
    uint8_t Mosaic = 0;                    // MOSAIC bit n
    uint8_t OnMain = 0, OnSub = 0;         // TM / TS bit n
    int32_t HScroll = 0, VScroll = 0;      // written by the savestate readers
    int32_t PixelWidth = 0, PixelHeight = 0;
    uint8_t HalveY = 0;
    uint32_t CharBase = 0;
    std::array<tTileRecord, 64 * 64> Tiles{};
    uint32_t MapBase = 0;
    uint32_t MapWidth = 32, MapHeight = 32;
    uint32_t TileWidth = 8, TileHeight = 8;
};

class tPPU : public tReceiver {
public:
    std::array<uint8_t, 256> ZeroMask{};
    int32_t MosaicCountX = 0, MosaicCountY = 0;
    std::array<uint8_t, 11> StateFlags{}; // latch flags only the savestate formats carry
    uint8_t BackdropMath = 0;
    std::array<tBGLayer, 4> Layers{};
    uint8_t BG3OnTop = 0;
    uint8_t BG3Priority = 0;
    uint8_t BGMode = 0;
    uint8_t Brightness = 0;
    std::array<uint8_t, 4> FixedColour{}; // blue, green, red (0..248), 0
    uint8_t DirectColour = 0;
    uint8_t HalfMath = 0;
    uint8_t AddSubscreen = 0;
    uint8_t SubtractMath = 0;
    std::array<uint8_t, 256> ClipMask{};
    std::array<uint8_t, 256> NoMathMask{};
    uint8_t ClipRegion = 0;
    uint8_t NoMathRegion = 0;
    std::array<uint8_t, 256> ColourWindowMask{};
    tWindowSel ColourWindow;
    std::array<int32_t, 2> BeamPos{};  // x, y; carried for the savestate formats
    std::array<int32_t, 2> LatchPos{}; // x, y
    std::string PriorityOrder;
    uint8_t ExtBG = 0;
    uint8_t ExternalLatch = 0;
    uint8_t ExternalSync = 0;
    uint8_t OddField = 0;
    uint8_t ForcedBlank = 0;
    uint8_t PseudoHires = 0;
    uint8_t Hires = 0;
    uint8_t Interlace = 0;
    uint8_t ScreenInterlace = 0;
    int16_t M7A = 0, M7B = 0, M7C = 0, M7D = 0; // written by the savestate readers
    int32_t M7X = 0, M7Y = 0;                   // written by the savestate readers
    uint8_t M7FlipX = 0, M7FlipY = 0;
    uint8_t M7Wrap = 0;
    int32_t M7HOffset = 0, M7VOffset = 0; // BG1's scroll, copied by the readers
    uint8_t M7Fill = 0;
    std::array<uint8_t, 128 * 128> M7Map{};
    std::array<uint8_t, 256 * 64> M7Tiles{};
    uint8_t MosaicSize = 0;
    uint8_t ObjMath = 0;
    uint8_t FirstSprite = 0; // written by the savestate readers
    std::array<uint8_t, 256> ObjMask{};
    tWindowSel ObjWindow;
    uint8_t ObjWindowMain = 0, ObjWindowSub = 0;
    uint8_t ObjInterlace = 0;
    uint8_t ObjOnMain = 0, ObjOnSub = 0;
    std::array<tSpriteRec, 128> Sprites{};
    std::array<uint32_t, 2> ObjNameBase{};
    std::array<std::array<uint32_t, 2>, 2> ObjSize{}; // small, large: width, height
    uint8_t PALMode = 0;
    std::array<uint32_t, 256> Palette{}; // CGRAM as 0x00RRGGBB
    uint8_t RangeOver = 0;
    int32_t ScreenWidth = 256;
    int32_t ScreenHeight = 224;
    uint8_t MasterSlave = 0;
    uint8_t PPU1Version = 0;
    uint8_t PPU2Version = 0;
    uint8_t TimeOver = 0;
    std::string PriorityString;
    uint8_t Overscan = 0;
    std::array<tWindowRange, 2> Windows{};

    void Notify(const void* Sender, std::string_view Msg) override;
};

extern tPPU* PPU;
