// Sprites: all 128 decoded from OAM with their whole pictures, once per load.

#include "render/PPU.h"

#include <algorithm>
#include <cstring>

#include "core/Options.h"
#include "core/SNES.h"

namespace
{
// The sprite tile base option: which name table a sprite's tiles come from.
enum : int { BaseByTileBit8 = 0, BaseAlways0 = 1, BaseAlways1 = 2 };
} // namespace

void tPPU::DecodeSprites(const tSNES& S, const tOptions& O)
{
    for (int i = 0; i < 128; ++i) {
        tSpriteRec& R = Sprites[i];
        const uint8_t* Low = &S.OAM[4 * i];
        const uint8_t High = static_cast<uint8_t>(S.OAM[512 + (i >> 2)] >> (2 * (i & 3)));
        const uint8_t Attr = Low[3];
        R.X = Low[0] + 256 * (High & 1);
        R.Y = Low[1];
        R.TileNumber = static_cast<uint16_t>(Low[2] + 256 * (Attr & 1));
        R.Palette = (Attr >> 1) & 7;
        R.Priority = (Attr >> 4) & 3;
        R.FlipX = (Attr >> 6) & 1;
        R.FlipY = Attr >> 7;
        R.Large = (High >> 1) & 1;
        R.Width = static_cast<int32_t>(ObjSize[R.Large][0]);
        R.Height = static_cast<int32_t>(ObjSize[R.Large][1]);
    }
    BuildSpritePictures(S, O);
}

void tPPU::LayOutSpritePictures()
{
    const auto Rows = [](const tSpriteRec& R) { return static_cast<size_t>(std::clamp(R.Height, 8, 64)); };
    size_t Size = 0;
    for (const tSpriteRec& R : Sprites)
        Size += Rows(R) * 64;
    SpritePixels.assign(Size, 0);
    size_t At = 0;
    for (tSpriteRec& R : Sprites) {
        R.Pixels = std::span(SpritePixels).subspan(At, Rows(R) * 64);
        At += R.Pixels.size();
    }
}

void tPPU::BuildSpritePictures(const tSNES& S, const tOptions& O)
{
    LayOutSpritePictures();
    for (tSpriteRec& R : Sprites) {
        const int t = O.SceneBase == BaseAlways0 ? 0 : O.SceneBase == BaseAlways1 ? 1 : (R.TileNumber >> 8) & 1;
        uint32_t a = (static_cast<uint32_t>(R.TileNumber) << 5) + ObjNameBase[t];
        const int Cols = R.Width / 8, Rows = R.Height / 8;
        // Tiles of a sprite are laid out in rows of 16 in VRAM; a sprite's
        // tile numbers run on past the end of a row without wrapping to its start.
        for (int r = 0; r < Rows; ++r) {
            for (int c = 0; c < Cols; ++c) {
                uint8_t Src[32], Block[64] = {};
                for (int k = 0; k < 32; ++k)
                    Src[k] = S.VRAM[(a + k) & 0xFFFF];
                Decode4bpp(Src, Block);
                for (int y = 0; y < 8; ++y)
                    std::memcpy(&R.Pixels[(8 * r + y) * 64 + 8 * c], Block + 8 * y, 8);
                a += 32;
            }
            a += static_cast<uint32_t>(16 - Cols) * 32;
        }
        if (R.FlipX)
            for (int y = 0; y < R.Height; ++y)
                std::reverse(&R.Pixels[y * 64], &R.Pixels[y * 64 + R.Width]);
        if (R.FlipY) {
            // Rectangular sprites (16x32, 32x64) flip as two squares, each in place.
            const bool Square = R.Width == R.Height;
            const int Half = Square ? R.Height : (R.Height == 64 ? 32 : 16);
            for (int Start = 0; Start < R.Height; Start += Half)
                for (int y = 0; y < Half / 2; ++y)
                    std::swap_ranges(&R.Pixels[(Start + y) * 64], &R.Pixels[(Start + y) * 64 + R.Width],
                                     &R.Pixels[(Start + Half - 1 - y) * 64]);
        }
        const uint8_t Add = static_cast<uint8_t>(128 + 16 * R.Palette);
        for (int y = 0; y < R.Height; ++y)
            for (int x = 0; x < R.Width; ++x)
                R.Pixels[y * 64 + x] = static_cast<uint8_t>(R.Pixels[y * 64 + x] + Add);
    }
}
