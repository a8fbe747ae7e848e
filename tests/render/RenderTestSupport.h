#pragma once
// Small synthetic machine states for the renderer tests: registers, tiles,
// maps, sprites and colours written the way a game would leave them.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "core/Options.h"
#include "core/Picture32.h"
#include "core/Picture8.h"
#include "core/SNES.h"
#include "render/PPU.h"
#include "render/Renderer.h"
#include "render/SceneSwitches.h"

class tRenderTest : public ::testing::Test
{
  protected:
    std::unique_ptr<tSNES> S = std::make_unique<tSNES>();
    std::unique_ptr<tPPU> P = std::make_unique<tPPU>();
    std::unique_ptr<tRenderer> R = std::make_unique<tRenderer>();
    tOptions O;
    tSceneSwitches Sw;
    tPicture8 Pic8;
    tPicture32 Pic32;

    void SetUp() override
    {
        // Pictures at the console's own size: one pixel per screen pixel.
        O.CBox_Scene512 = false;
        O.CBox_SceneBlur = false;
        Reg(0x2100, 0x0F); // full brightness
    }

    void Reg(uint16_t Address, uint8_t Value) { S->Regs[Address] = Value; }
    void Colour(int Index, int R5, int G5, int B5) { S->CGRAM[Index] = static_cast<uint16_t>(R5 | G5 << 5 | B5 << 10); }
    // A 2bpp tile at VRAM byte Address whose every pixel has colour C.
    void SolidTile2(uint32_t Address, int C)
    {
        for (int r = 0; r < 8; ++r) {
            S->VRAM[Address + 2 * r] = C & 1 ? 0xFF : 0;
            S->VRAM[Address + 2 * r + 1] = C & 2 ? 0xFF : 0;
        }
    }
    // A 4bpp tile at VRAM byte Address whose every pixel has colour C.
    void SolidTile4(uint32_t Address, int C)
    {
        SolidTile2(Address, C & 3);
        SolidTile2(Address + 16, C >> 2);
    }
    // A 4bpp tile with colour C in pixel (X, Y) only.
    void PixelTile4(uint32_t Address, int X, int Y, int C)
    {
        for (int p = 0; p < 4; ++p) {
            const uint32_t Byte = Address + (p / 2) * 16 + 2 * Y + (p & 1);
            if (C >> p & 1)
                S->VRAM[Byte] |= static_cast<uint8_t>(0x80 >> X);
        }
    }
    void MapEntry(uint32_t MapBase, int Col, int Row, uint16_t Entry)
    {
        const uint32_t A = MapBase + 2 * (Row * 32 + Col);
        S->VRAM[A] = static_cast<uint8_t>(Entry);
        S->VRAM[A + 1] = static_cast<uint8_t>(Entry >> 8);
    }
    void FillMap(uint32_t MapBase, uint16_t Entry)
    {
        for (int r = 0; r < 32; ++r)
            for (int c = 0; c < 32; ++c)
                MapEntry(MapBase, c, r, Entry);
    }
    void Sprite(int I, int X, int Y, int Tile, uint8_t Attr, bool Large = false)
    {
        S->OAM[4 * I] = static_cast<uint8_t>(X);
        S->OAM[4 * I + 1] = static_cast<uint8_t>(Y);
        S->OAM[4 * I + 2] = static_cast<uint8_t>(Tile);
        S->OAM[4 * I + 3] = Attr;
        uint8_t& High = S->OAM[512 + I / 4];
        const int Shift = 2 * (I & 3);
        High = static_cast<uint8_t>((High & ~(3 << Shift)) | ((X >> 8) & 1) << Shift | (Large ? 2 : 0) << Shift);
    }
    // Moves every sprite off the screen (Y = 224, below the picture).
    void HideSprites()
    {
        for (int i = 0; i < 128; ++i)
            Sprite(i, 0, 224, 0, 0);
    }

    void Decode() { P->Decode(*S, O); }
    // Decodes, takes the layering from the registers and composes.
    void Compose()
    {
        Decode();
        Sw.Reload(*P, O);
        R->ComposeFrame(*P, Sw, O, Pic8, Pic32);
    }
    uint32_t Pixel(int X, int Y) const { return Pic32.At(X, Y); }
};

inline uint32_t RGB(int R, int G, int B)
{
    return static_cast<uint32_t>(R << 16 | G << 8 | B);
}

// DMA channel N with HDMA on or off: transfer mode, B register, table at
// Bank:Address, indirect data from IndirectBank; decoded as the loader would.
inline void HDMAChannel(tSNES& S, int N, bool On, uint8_t Mode, uint8_t BReg, uint8_t Bank, uint16_t Address,
                        bool Indirect = false, uint8_t IndirectBank = 0)
{
    const uint16_t R = static_cast<uint16_t>(0x4300 + 16 * N);
    *S.Reg8(R) = static_cast<uint8_t>(Mode | (Indirect ? 0x40 : 0));
    *S.Reg8(R + 1) = BReg;
    S.SetReg16(R + 2, Address);
    *S.Reg8(R + 4) = Bank;
    *S.Reg8(R + 7) = IndirectBank;
    uint8_t& Enable = *S.Reg8(0x420C);
    Enable = static_cast<uint8_t>(On ? Enable | 1 << N : Enable & ~(1 << N));
    S.DecodeDMA();
}
