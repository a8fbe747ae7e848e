// Background layer set-up and the tile grids: every map entry decoded once
// per load into a record with its pixels flipped and offset into CGRAM.

#include "render/PPU.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "core/SNES.h"

namespace
{
// Bits per pixel by BG mode (columns) and layer (rows). Mode 7's plane is
// decoded apart and drawn only by the viewers.
constexpr uint8_t LayerDepth[4][8] = {
    {2, 4, 4, 8, 8, 4, 4, 0},
    {2, 4, 4, 4, 2, 2, 0, 0},
    {2, 2, 0, 0, 0, 0, 0, 0},
    {2, 0, 0, 0, 0, 0, 0, 0},
};

// Priority order of each BG mode, highest first: digits are sprites of that
// priority, capitals BG1-BG4 tiles with the priority bit, small letters
// without it.
constexpr const char* PriorityTemplates[8] = {
    "3AB2ab1CD0cd", "3AB2ab1C0c", "3A2B1a0b", "3A2B1a0b", "3A2B1a0b", "3A2B1a0b", "3A21a0", "32B1a0b",
};

// Copies Count bytes of VRAM from Address, wrapping at the end of VRAM, so
// that a tile read near the top never leaves the 64 KB.
void ReadVRAM(const tSNES& S, uint32_t Address, uint8_t* Dst, uint32_t Count)
{
    Address &= 0xFFFF;
    const uint32_t First = std::min<uint32_t>(Count, 65536 - Address);
    std::memcpy(Dst, S.VRAM.data() + Address, First);
    if (First < Count)
        std::memcpy(Dst + First, S.VRAM.data(), Count - First);
}
} // namespace

void tPPU::SetupLayers(const tSNES& S)
{
    const auto& R = S.Regs;
    BGMode &= 7;
    PriorityOrder = PriorityTemplates[BGMode];
    Hires = BGMode == 5 || BGMode == 6;
    // Sprite interlace (bit 1) doubles the picture; screen interlace (bit 0)
    // only decides whether wide hires tiles take one map row per two lines.
    Interlace = ObjInterlace;
    ScreenHeight = Overscan ? 239 : 224;
    ScreenWidth = Hires ? 512 : 256;
    if (Interlace)
        ScreenHeight *= 2;

    const uint32_t NBA = static_cast<uint32_t>(R[0x210C]) << 8 | R[0x210B];
    for (int n = 0; n < 4; ++n) {
        tBGLayer& L = Layers[n];
        L.BitDepth = LayerDepth[n][BGMode];
        L.Colours = static_cast<uint16_t>(L.BitDepth ? 1u << L.BitDepth : 0u);
        L.Mosaic = (R[0x2106] >> n) & 1;
        L.OnMain = (R[0x212C] >> n) & 1;
        L.OnSub = (R[0x212D] >> n) & 1;
        L.CharBase = (((NBA >> (4 * n)) & 15) << 13) & 0xFFFF;
        const uint8_t SC = R[0x2107 + n];
        L.MapBase = (static_cast<uint32_t>(SC >> 2) * 2048) & 0xFFFF;
        L.MapWidth = SC & 1 ? 64 : 32;
        L.MapHeight = SC & 2 ? 64 : 32;
        const uint32_t Size = (R[0x2105] >> (4 + n)) & 1 ? 16 : 8;
        L.TileWidth = Hires ? 16 : Size;
        L.TileHeight = Size;
        L.HalveY = L.TileWidth > L.TileHeight && !ScreenInterlace;
        L.PixelWidth = static_cast<int32_t>(L.MapWidth * L.TileWidth);
        L.PixelHeight = static_cast<int32_t>(L.MapHeight * L.TileHeight);
        if (L.BitDepth)
            DecodeLayer(S, n);
    }
    OptTable[0] = OptTable[1] = Layers[2].MapBase;
    OptVRAM = S.VRAM;
}

void tPPU::DecodeLayer(const tSNES& S, int N)
{
    tBGLayer& L = Layers[N];
    uint32_t Bytes = 0, Shift = 0;
    // One case a line: the switch reads as a table.
    // clang-format off
    switch (L.BitDepth) {
    case 2: TileDecoder = Decode2bpp, Bytes = 16, Shift = 4; break;
    case 4: TileDecoder = Decode4bpp, Bytes = 32, Shift = 5; break;
    case 8: TileDecoder = Decode8bpp, Bytes = 64, Shift = 6; break;
    default: return;
    }
    // clang-format on
    const uint32_t PaletteStep = L.Colours;
    const uint8_t ModeOffset = BGMode == 0 ? static_cast<uint8_t>(32 * N) : 0;
    const uint32_t SubRows = L.TileHeight / 8, SubCols = L.TileWidth / 8, W = L.TileWidth;
    uint32_t Address = L.MapBase;
    L.Pixels.assign(L.RecordsInUse() * L.TileWidth * L.TileHeight + tBGLayer::TileSlack, 0);

    // A map names the same few characters over and over (a 64 x 64 map has
    // 4096 entries, VRAM holds at most 65536 / Bytes characters): each
    // character is decoded once, the first time an entry names it.
    const uint32_t Characters = 65536 / Bytes;
    const std::unique_ptr<uint8_t[]> Decoded(new uint8_t[Characters * 64]);
    std::vector<uint8_t> Done(Characters, 0);
    auto Character = [&](uint32_t At) -> const uint8_t* {
        At &= 0xFFFF;
        uint8_t* Block = &Decoded[(At / Bytes) * 64];
        if (!Done[At / Bytes]) {
            uint8_t Src[64];
            ReadVRAM(S, At, Src, Bytes);
            std::memset(Block, 0, 64);
            TileDecoder(Src, Block);
            Done[At / Bytes] = 1;
        }
        return Block;
    };

    // The map is stored as 32 x 32 blocks: left to right, then top to bottom.
    for (uint32_t BlockRow = 0; BlockRow < L.MapHeight; BlockRow += 32)
        for (uint32_t BlockCol = 0; BlockCol < L.MapWidth; BlockCol += 32)
            for (uint32_t r = 0; r < 32; ++r)
                for (uint32_t c = 0; c < 32; ++c) {
                    const uint16_t Entry =
                        static_cast<uint16_t>(S.VRAM[Address & 0xFFFF] | S.VRAM[(Address + 1) & 0xFFFF] << 8);
                    Address = (Address + 2) & 0xFFFF;
                    const size_t Record = (BlockRow + r) * 64 + BlockCol + c;
                    tTileRecord& T = L.Tiles[Record];
                    uint8_t* Px = L.TilePixels(Record);
                    T.TileNumber = Entry & 0x3FF;
                    T.Palette = (Entry >> 10) & 7;
                    T.Priority = (Entry >> 13) & 1;
                    T.FlipX = (Entry >> 14) & 1;
                    T.FlipY = static_cast<uint8_t>(Entry >> 15);

                    for (uint32_t sr = 0; sr < SubRows; ++sr)
                        for (uint32_t sc = 0; sc < SubCols; ++sc) {
                            const uint8_t* Block = Character((static_cast<uint32_t>(T.TileNumber) << Shift) +
                                                             L.CharBase + (16 * sr + sc) * Bytes);
                            for (int y = 0; y < 8; ++y)
                                std::memcpy(&Px[(8 * sr + y) * W + 8 * sc], Block + 8 * y, 8);
                        }
                    if (T.FlipX)
                        for (uint32_t y = 0; y < L.TileHeight; ++y)
                            std::reverse(&Px[y * W], &Px[y * W + W]);
                    if (T.FlipY)
                        for (uint32_t y = 0; y < L.TileHeight / 2; ++y)
                            std::swap_ranges(&Px[y * W], &Px[y * W + W], &Px[(L.TileHeight - 1 - y) * W]);
                    // 256-colour layers have no palette number to add.
                    const uint32_t Offset = T.Palette * PaletteStep;
                    const uint8_t Add = static_cast<uint8_t>((Offset <= 255 ? Offset : 0) + ModeOffset);
                    if (Add)
                        for (uint32_t y = 0; y < L.TileHeight; ++y)
                            for (uint32_t x = 0; x < L.TileWidth; ++x)
                                Px[y * W + x] = static_cast<uint8_t>(Px[y * W + x] + Add);
                }
}
