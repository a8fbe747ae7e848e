#pragma once
// The picture unit's working state: the PPU registers, VRAM, CGRAM and OAM of
// the machine state turned into ready-to-draw data (decoded tile grids and
// sprite pictures, window masks, an RGB palette, the priority order). The
// values that the register image cannot hold (16-bit scrolls, the mode 7
// matrix, the fixed colour, the sprite rotation start, the latched counters)
// are fields of tSNES; ReadRegisters copies them here.
//
// Where things are defined:
//   PPU.cpp          life cycle, Decode, the priority templates
//   PPURegisters.cpp ReadRegisters, ConvertPalette, the direct colour table
//   PPULayers.cpp    SetupLayers, DecodeLayer
//   PPUFetch.cpp     FetchBGLine (scroll, offset-per-tile, mosaic, hires columns)
//   PPUMode7.cpp     DecodeMode7Plane
//   PPUSprites.cpp   DecodeSprites, BuildSpritePictures (SpriteOnLine is inline below)
//
//   PPUMode7.cpp     DecodeMode7Plane, FetchMode7Line
//   HDMAReplay.cpp   the register writes HDMA makes on each line
//
// The compositor can draw the saved registers as one still frame, or (by
// the scene options) replay HDMA line by line, draw the mode 7 plane and
// apply direct colour. Mid-frame changes of the BG mode or of the maps and
// tile bases are not followed: the layers are decoded once per frame.

#include <array>
#include <vector>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "core/Receiver.h"
#include "core/SNES.h"
#include "core/Tiles.h"
#include "render/HDMAReplay.h"

struct tOptions;

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

// One decoded tile map entry: its flags. Its pixels, already flipped and
// offset into CGRAM so that a pixel fetch is one table read, are the layer's
// (tBGLayer::TilePixels).
struct tTileRecord {
    uint8_t FlipX = 0;       // map entry bit 14
    uint8_t FlipY = 0;       // bit 15
    uint8_t Palette = 0;     // bits 10-12
    uint8_t Priority = 0;    // bit 13
    uint16_t TileNumber = 0; // bits 0-9
};

// One decoded sprite with its whole picture, flipped and offset into the
// sprite half of CGRAM (128 + 16 x palette + colour).
struct tSpriteRec {
    uint8_t FlipX = 0;    // attribute bit 6
    uint8_t FlipY = 0;    // attribute bit 7
    uint8_t Large = 0;    // size bit of the high table
    uint8_t Palette = 0;  // attribute bits 1-3
    int32_t X = 0;        // 0..511, bit 8 from the high table
    int32_t Y = 0;        // 0..255
    uint8_t Priority = 0; // attribute bits 4-5
    int32_t Width = 0, Height = 0;
    // Height rows of 64 bytes (at least 8 rows), Width of them used: the
    // sprite's place in tPPU::SpritePixels.
    std::span<uint8_t> Pixels;
    uint16_t TileNumber = 0; // 9 bits: tile byte + 256 x attribute bit 0
};

struct tBGLayer {
    uint8_t BitDepth = 0;                  // 0 (absent), 2, 4 or 8
    uint16_t Colours = 0;                  // 1 shl BitDepth, 0 when absent
    uint8_t ColourMath = 0;                // $2131 CGADSUB bit n
    int32_t MosaicX = 0, MosaicY = 0;      // coordinates sampled at the start of the mosaic block
    std::array<uint8_t, 256> Mask{};       // window mask of the current line, nonzero = hidden
    tWindowSel Window;                     // $2123/$2124 W12SEL/W34SEL nibble, $212A WBGLOG field
    uint8_t WindowMain = 0, WindowSub = 0; // $212E TMW / $212F TSW bit n
    uint8_t Mosaic = 0;                    // $2106 MOSAIC bit n
    uint8_t OnMain = 0, OnSub = 0;         // $212C TM / $212D TS bit n
    int32_t HScroll = 0, VScroll = 0;      // tSNES BGnHOFS / BGnVOFS
    int32_t PixelWidth = 0, PixelHeight = 0;
    uint8_t HalveY = 0;                       // wide hires tiles without screen interlace: one map row per two lines
    uint32_t CharBase = 0;                    // $210B/$210C BG12NBA/BG34NBA, VRAM byte address
    std::array<tTileRecord, 64 * 64> Tiles{}; // row-major grid, 64 records a row
    uint32_t MapBase = 0;                     // $2107-$210A BGnSC, VRAM byte address
    uint32_t MapWidth = 32, MapHeight = 32;   // in tiles
    uint32_t TileWidth = 8, TileHeight = 8;
    // The decoded pixels of the records the map uses, TileWidth x TileHeight
    // bytes each (row stride TileWidth) in record order, and TileSlack bytes
    // more, so that a fetch may read TileSlack bytes from any pixel. Sized by
    // the decoder to the map: a 32 x 32 map of 8 x 8 tiles takes 126 KiB, not
    // the 2 MiB that room for the largest map and tiles would.
    std::vector<uint8_t> Pixels;
    static constexpr size_t TileSlack = 16;
    // The records a map of this size uses: the last is (MapHeight - 1, MapWidth - 1).
    size_t RecordsInUse() const { return (MapHeight - 1) * 64 + MapWidth; }
    const uint8_t* TilePixels(size_t Record) const { return Pixels.data() + Record * TileWidth * TileHeight; }
    uint8_t* TilePixels(size_t Record) { return Pixels.data() + Record * TileWidth * TileHeight; }
};

// What a fetch delivers: the palette number, the CGRAM index and the layer
// code (0-3 BG1-BG4, 4 sprites, 5 backdrop).
struct tPixelResult {
    uint8_t Palette = 0;
    uint8_t Index = 0;
    uint8_t Layer = 5;
};

// One background layer's pixels on one output line, as one screen sees them.
struct tBGLine {
    std::array<uint8_t, 256> Index{};   // CGRAM index
    std::array<uint8_t, 256> Palette{}; // the tile's palette number
    // 0: transparent or hidden by the layer's window; else 1 + the tile's
    // priority bit, so that one compare finds a pixel of a wanted priority.
    std::array<uint8_t, 256> Visible{};
};

// Layer codes of the renderer.
enum : uint8_t { LayerBG1 = 0, LayerOBJ = 4, LayerBackdrop = 5 };

// The direct colours of the 8-bit modes: one table of 256 RGB entries per
// palette number 0..7.
extern const std::array<std::array<uint32_t, 256>, 8>& DirectColourTable();

class tPPU : public tReceiver
{
  public:
    std::array<uint8_t, 256> ZeroMask{};
    int32_t MosaicCountY = 0; // rows left in the current mosaic block, 0 at its first
    uint8_t BackdropMath = 0; // $2131 bit 5
    std::array<tBGLayer, 4> Layers{};
    uint8_t BG3OnTop = 0;                 // effective mode 1 BG3 priority (the scene viewer may override)
    uint8_t BG3Priority = 0;              // $2105 BGMODE bit 3
    uint8_t BGMode = 0;                   // $2105 bits 0-2
    uint8_t Brightness = 0;               // $2100 INIDISP bits 0-3
    std::array<uint8_t, 4> FixedColour{}; // $2132 COLDATA as blue, green, red (0..248), 0
    uint8_t DirectColour = 0;             // $2130 CGWSEL bit 0
    uint8_t HalfMath = 0;                 // $2131 bit 6
    uint8_t AddSubscreen = 0;             // $2130 bit 1
    uint8_t SubtractMath = 0;             // $2131 bit 7
    std::array<uint8_t, 256> ClipMask{};
    std::array<uint8_t, 256> NoMathMask{};
    uint8_t ClipRegion = 0;   // $2130 bits 6-7: never, outside, inside, always
    uint8_t NoMathRegion = 0; // $2130 bits 4-5
    std::array<uint8_t, 256> ColourWindowMask{};
    tWindowSel ColourWindow;           // $2125 WOBJSEL bits 4-7, $212B WOBJLOG bits 2-3
    std::array<int32_t, 2> BeamPos{};  // x, y; copied from tSNES
    std::array<int32_t, 2> LatchPos{}; // x, y; copied from tSNES
    std::string PriorityOrder;
    uint8_t ExtBG = 0;                       // $2133 SETINI bit 6
    uint8_t ExternalLatch = 0;               // $213F STAT78 bit 6
    uint8_t ExternalSync = 0;                // $2133 bit 7
    uint8_t OddField = 0;                    // $213F bit 7
    uint8_t ForcedBlank = 0;                 // $2100 bit 7
    uint8_t PseudoHires = 0;                 // $2133 bit 3
    uint8_t Hires = 0;                       // modes 5 and 6
    uint8_t Interlace = 0;                   // copy of ObjInterlace: doubles the picture height
    uint8_t ScreenInterlace = 0;             // $2133 bit 0
    tMode7Matrix M7;                         // copied from tSNES
    uint8_t M7FlipX = 0, M7FlipY = 0;        // $211A M7SEL bits 0, 1
    uint8_t M7Wrap = 0;                      // M7SEL bit 7 clear: the plane repeats
    int32_t M7HOffset = 0, M7VOffset = 0;    // copied from tSNES
    uint8_t M7Fill = 0;                      // M7SEL bit 6
    std::array<uint8_t, 128 * 128> M7Map{};  // row-major
    std::array<uint8_t, 256 * 64> M7Tiles{}; // 64 bytes per tile
    uint8_t MosaicSize = 0;                  // $2106 bits 4-7: block size minus 1
    uint8_t ObjMath = 0;                     // $2131 bit 4
    uint8_t FirstSprite = 0;                 // OAM priority rotation; copied from tSNES
    std::array<uint8_t, 256> ObjMask{};
    tWindowSel ObjWindow;                        // $2125 bits 0-3, $212B bits 0-1
    uint8_t ObjWindowMain = 0, ObjWindowSub = 0; // TMW / TSW bit 4
    uint8_t ObjInterlace = 0;                    // $2133 bit 1
    uint8_t ObjOnMain = 0, ObjOnSub = 0;         // TM / TS bit 4
    std::array<tSpriteRec, 128> Sprites{};
    // The pictures of all sprites one after another, each as tall as its
    // sprite: 128 small sprites take 64 KiB, not the 512 KiB that room for
    // 128 of the largest would, which every load would clear.
    std::vector<uint8_t> SpritePixels;
    std::array<uint32_t, 2> ObjNameBase{};            // $2101 OBSEL, VRAM byte addresses
    std::array<std::array<uint32_t, 2>, 2> ObjSize{}; // small, large: width, height
    // Byte address of BG3's tile map, the offset-per-tile table of modes 2
    // and 6 (first) and of mode 4 (second); read from OptVRAM.
    std::array<uint32_t, 2> OptTable{};
    uint8_t PALMode = 0;                 // $213F bit 4
    std::array<uint32_t, 256> Palette{}; // CGRAM as 0x00RRGGBB
    uint8_t RangeOver = 0;               // $213E STAT77 bit 6
    int32_t ScreenWidth = 256;
    int32_t ScreenHeight = 224;
    uint8_t MasterSlave = 0;            // $213E bit 5
    uint8_t PPU1Version = 0;            // $213E bits 0-3
    uint8_t PPU2Version = 0;            // $213F bits 0-3
    tTileDecoder TileDecoder = nullptr; // the planar decoder of the layer being decoded
    uint8_t TimeOver = 0;               // $213E bit 7
    std::string PriorityString;         // the order used for the frame being composed
    uint8_t Overscan = 0;               // $2133 bit 2
    std::array<tWindowRange, 2> Windows{};
    // VRAM as decoded: the offset-per-tile fetch reads BG3's map from it while
    // composing, long after the machine state may have changed.
    std::array<uint8_t, 65536> OptVRAM{};
    // The frame's HDMA writes and the registers they start from, so that the
    // compositor can replay them without the machine state.
    tHDMAReplay HDMA;
    tLineRegisters FrameRegisters;
    // The cartridge ROM that HDMA tables may lie in (set by the program; none
    // when unset).
    std::function<tROMView()> ROMSource;

    tPPU();

    // "startup": palette and decode; "new SNES": decode; "new Cart.ROM": the
    // HDMA replay again. All from the global machine state and options.
    void Notify(const void* Sender, tNote Msg) override;

    // Everything from the machine state: BGMode, ReadRegisters, SetupLayers,
    // DecodeMode7Plane, DecodeSprites, ConvertPalette.
    void Decode(const tSNES& S, const tOptions& O);
    void ReadRegisters(const tSNES& S);
    // The flags of the PPU registers $2100-$213F, R[i] being $2100 + i.
    void ReadRegisterBytes(const uint8_t* R);
    // The registers of one line of the frame (HDMA replay); the decoded
    // layers, sprites and palette stay as they are. Without AllRegisters only the
    // scrolls, the mode 7 values and the fixed colour are taken.
    void ApplyLineRegisters(const tLineRegisters& L, bool AllRegisters = true);
    // HDMA replay and the registers it starts from.
    void ReplayFrame(const tSNES& S);
    // All layer data for the current BGMode (the scene viewer forces modes).
    void SetupLayers(const tSNES& S);
    void DecodeLayer(const tSNES& S, int N);
    void DecodeMode7Plane(const tSNES& S);
    void DecodeSprites(const tSNES& S, const tOptions& O);
    // Again after the sprite tile base option changes.
    void BuildSpritePictures(const tSNES& S, const tOptions& O);
    // Cleared room in SpritePixels for every sprite's picture at its height.
    void LayOutSpritePictures();
    void ConvertPalette(const tSNES& S);
    void ConvertPalette(const std::array<uint16_t, 256>& CGRAM);

    // Layer N's pixels in columns 0..255 of the output line, for screen
    // Screen (0 main, 1 sub: they differ in hires only). Mosaic rows follow
    // MosaicCountY unless IgnoreMosaic.
    void FetchBGLine(int N, int Screen, int Line, bool IgnoreMosaic, tBGLine& Out);
    // The mode 7 plane as BG1 (N 0: 8-bit pixels, priority 0) or as EXTBG's
    // BG2 (N 1: 7-bit pixels, bit 7 the priority) on one output line.
    void FetchMode7Line(int N, int Line, bool IgnoreMosaic, tBGLine& Out);
    // Whether sprite I covers the output line; HalfLines when the output
    // picture has two rows per line (240 rows or more).
    bool SpriteOnLine(int I, int Line, bool HalfLines) const;
    // The sprite row (Y coordinate) that the output line shows.
    static int SpriteY(int Line, bool HalfLines);
};

// Inline: the compositor asks for every sprite on every line.
inline int tPPU::SpriteY(int Line, bool HalfLines)
{
    // The PPU finds a line's sprites while drawing the line before: a sprite
    // at Y shows from output line Y + 1 on, the first line (1) shows Y = 0.
    return (HalfLines ? Line / 2 : Line) - 1;
}

inline bool tPPU::SpriteOnLine(int I, int Line, bool HalfLines) const
{
    const tSpriteRec& R = Sprites[I & 127];
    const int y = SpriteY(Line, HalfLines);
    // Wholly right of the screen: neither end reaches columns 0..255.
    if (R.X > 256 && R.X + R.Width < 512)
        return false;
    int d = y - R.Y;
    if (d < 0)
        d += 256;
    const int h = Interlace ? R.Height / 2 : R.Height;
    return d < h;
}

extern tPPU* PPU;
